#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>

// kkt-sim's scanner mode: a barcode scanner on a published pseudo-terminal, sending codes ended by CR.

// The scanner's end of the line. The slave side is published as a symbolic link in SimPublishDir(),
// where the port lists find it.
class ScannerFeedLine {
public:
    ScannerFeedLine() = default;
    ~ScannerFeedLine() { close(); }
    ScannerFeedLine(const ScannerFeedLine&) = delete;
    ScannerFeedLine& operator=(const ScannerFeedLine&) = delete;

    // False with a message when the name is no simulator name, is held by a running simulator, or no
    // pseudo-terminal can be had.
    bool open(const QString& name, QString* error);
    // Removes the published link and closes the line; the reader then sees a hang-up.
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString publishedName() const { return m_name; }
    QString devicePath() const { return m_devicePath; }

    // Writes the bytes, `bytePauseMs` apart (all at once for 0). False when `stop` was raised or the
    // line failed.
    bool send(const QByteArray& bytes, int bytePauseMs, const std::atomic<bool>& stop);

private:
    QString m_name;
    QString m_devicePath;
    QString m_linkPath;
    QString m_lockPath;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the line survives the reader's open/close cycles
    int m_lock = -1;
};

// What the scanner sends for one code: the text with the escapes \r \n \t \\ and \xHH turned into
// their bytes, then CR. Empty for a text with a character beyond Latin-1 or a broken escape.
QByteArray ScannerCodeBytes(const QString& code, QString* error = nullptr);

// `kkt-sim --scanner [options] [code...]`; the process exit code.
int RunScannerMode(int argc, char** argv);
