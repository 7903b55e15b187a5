#pragma once
#include <QString>

// A simulator's end of a line: a pseudo-terminal, raw from the start, whose slave side stays open
// so the line survives its clients' open/close cycles, published as a symbolic link "kkt-sim..." in
// SimPublishDir(), where the port lists find it. A locked file next to the link marks the name as
// owned by a live simulator; the kernel drops the lock when the owner dies.
class PublishedPty {
public:
    PublishedPty() = default;
    ~PublishedPty() { close(); }
    PublishedPty(const PublishedPty&) = delete;
    PublishedPty& operator=(const PublishedPty&) = delete;

    // False with a message, and nothing left open, when the name is not a simulator name, is
    // published by a running simulator, or no pseudo-terminal can be had. The master is non-blocking.
    bool open(const QString& name, QString* error);
    // Closes both sides of the terminal and keeps the name: the client finds its line gone.
    void closeTerminal();
    // Closes the terminal and removes the link and the lock file. Safe to call twice.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int master() const { return m_master; }
    int slave() const { return m_slave; }
    QString name() const { return m_name; }
    QString devicePath() const { return m_devicePath; }  // /dev/pts/N
    QString linkPath() const { return m_linkPath; }

    // "kkt-sim" followed by ASCII letters, digits, '.', '_' and '-'.
    static bool IsValidName(const QString& name);

private:
    bool openTerminal(QString* error);
    bool publish(QString* error);
    void unpublish();

    QString m_name;
    QString m_devicePath;
    QString m_linkPath;
    QString m_lockPath;
    int m_master = -1;
    int m_slave = -1;
    int m_lock = -1;
};
