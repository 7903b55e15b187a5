#pragma once
#include "sim/publishedpty.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>

// kkt-sim's scanner mode: a barcode scanner on a published pseudo-terminal, sending codes ended by CR.

// The scanner's end of the line. The slave side is published as a symbolic link in SimPublishDir(),
// where the port lists find it.
class ScannerFeedLine {
public:
    // False with a message when the name is no simulator name, is held by a running simulator, or no
    // pseudo-terminal can be had.
    bool open(const QString& name, QString* error) { return m_pty.open(name, error); }
    // Removes the published link and closes the line; the reader then sees a hang-up.
    void close() { m_pty.close(); }
    bool isOpen() const { return m_pty.isOpen(); }
    QString publishedName() const { return m_pty.name(); }
    QString devicePath() const { return m_pty.devicePath(); }

    // Writes the bytes, `bytePauseMs` apart (all at once for 0). False when `stop` was raised or the
    // line failed.
    bool send(const QByteArray& bytes, int bytePauseMs, const std::atomic<bool>& stop);

private:
    PublishedPty m_pty;
};

// What the scanner sends for one code: the text with the escapes \r \n \t \\ and \xHH turned into
// their bytes, then CR. Empty for a text with a character beyond Latin-1 or a broken escape.
QByteArray ScannerCodeBytes(const QString& code, QString* error = nullptr);

// `kkt-sim --scanner [options] [code...]`; the process exit code.
int RunScannerMode(int argc, char** argv);
