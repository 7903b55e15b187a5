#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <sys/mount.h>

// Peak resident memory of this process: reset it, do the work, read it.
inline void ResetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// A line of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 when it cannot be read.
inline long StatusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(int(qstrlen(key)) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

// A small tmpfs of its own: a disk that fills up, or a folder nobody can write to, even root.
// mounted() is false where the process may not mount (not root, or no CAP_SYS_ADMIN).
class SmallDisk {
public:
    SmallDisk(const QString& folder, const char* options) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    // Remounts read-only: what is there stays readable, nothing can be changed.
    bool makeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_folder;
    bool m_mounted = false;
};
