#pragma once
#include <QByteArray>
#include <QString>

#include <unzip.h>

// What the files need of the operating system beyond Qt, each system in files of its own.

// Puts `source` in the place of `target` in one step: a reader sees the old file or the new one,
// never half of one. Empty on success, otherwise the system's text.
QString ReplaceFileAtomically(const QString& source, const QString& target);

// A name by which a library that takes 8-bit file names (libxlsxwriter) reaches the existing file or
// folder `path`; empty when there is none. On Windows the name in the system's code page when every
// letter has a code there, otherwise its short (8.3) form.
QByteArray LibraryFileName(const QString& path);

// Where libxlsxwriter keeps its temporary files (its `tmpdir`); empty for the C library's own place.
QByteArray LibraryTempFolder();

// Opens a zip archive for reading by its full name, whatever letters the name has.
unzFile OpenZipForReading(const QString& fileName);
