#pragma once
#include "app/session.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

// Exit statuses of the tool.
enum CliExit : int {
    kExitOk = 0,
    kExitKkt = 1,    // a register command failed; the message is the window's
    kExitUsage = 2,  // the command line or a file could not be used; nothing was sent
    kExitSomeFailed = 3,  // several registers: at least one failed (the table says which), the others went through
};

// What every command works with: the two streams, the session (link settings and the one register
// link, as the windows share it) and the way messages reach the user.
struct TCliContext {
    TCliContext(QTextStream& outStream, QTextStream& errStream, bool progress)
        : out(outStream), err(errStream), progressBar(progress)
    {
    }

    // The link options of the command line; empty ones come from the settings file.
    struct TLinkOptions {
        QString settings;  // the settings file; empty: the program's "ProgSett.ini"
        QString port;  // one port, or several separated by commas (--port or --ports)
        QString speed;
        QString timeOut;
        QString number;
    };

    QTextStream& out;
    QTextStream& err;
    bool progressBar;  // the error stream is a terminal
    TLinkOptions linkOptions;
    KktSession session;

    // Loads the link settings into the session and lays the command line's options over them, just
    // before a command talks to the register. False with the error stream told why (exit status 2).
    // `needPort` false: a command that chooses the port itself (find) goes on without one.
    bool LinkReady(bool needPort = true);
    // The ports the command line names, in order; several make the command run on every register at once.
    QStringList Ports() const;
    bool SeveralPorts() const { return Ports().size() > 1; }
    // The settings file the commands read and "find --save" writes.
    QString SettingsPath() const;

    // A message box of the windows as lines of text: its CR LF breaks become plain line ends.
    static QString BoxText(const QString& message);
    void Inform(const QString& message);  // on the output stream
    int Fail(const QString& message);     // on the error stream; kExitKkt

    int UsageError(const QString& text);  // "kkt-cli: text"; kExitUsage
    int FileError(const QString& fileName, const QString& text);

    // The whole file, or false with the error stream told why.
    bool ReadFile(const QString& fileName, QByteArray& bytes);
    // Through a temporary file renamed over the target: a failed write leaves the old file whole.
    bool WriteFile(const QString& fileName, const QByteArray& bytes);
    // To the file when one is named, else to the output stream (UTF-8 text).
    int Emit(const QString& fileName, const QByteArray& utf8);
};
