#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

// In-memory ini document bound to one file. Loaded once on construction, written by UpdateFile().
// Section and key names are matched without regard to letter case, through hash tables, so documents
// of thousands of sections load and save in time proportional to their size. Values of a
// Windows-1251 file are decoded when read. One document serves one thread at a time, reads included.
class TmyIniFile {
public:
    enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

    explicit TmyIniFile(const QString& fileName);
    ~TmyIniFile();
    TmyIniFile(const TmyIniFile&) = delete;
    TmyIniFile& operator=(const TmyIniFile&) = delete;

    // False when the file exists but could not be read.
    bool loaded() const;
    QString fileName() const;
    Encoding encoding() const;

    // Values wrapped in two U+007F characters keep their outer blanks.
    QString mReadString(const QString& section, const QString& ident, const QString& def) const;
    void mWriteString(const QString& section, const QString& ident, const QString& value);

    QString ReadString(const QString& section, const QString& ident, const QString& def) const;
    void WriteString(const QString& section, const QString& ident, const QString& value);
    // Decimal with optional sign, "0x"/"$" hexadecimal; anything else (or a missing key) gives def.
    int32_t ReadInteger(const QString& section, const QString& ident, int32_t def) const;
    void WriteInteger(const QString& section, const QString& ident, int32_t value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& ident) const;
    QStringList Sections() const;
    int SectionCount() const;
    int KeyCount() const;

    // Writes the whole document through a temporary file renamed over the target, so a failure never
    // leaves a truncated file. False when it could not be written; the old file is then untouched.
    bool UpdateFile();
    QString errorString() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
