#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <sys/mount.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

// Resident memory of this process in MB, from /proc/self/statm.
inline long ResidentMb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const long pages = f.readAll().split(' ').value(1).toLong();
    return pages * (::sysconf(_SC_PAGESIZE) / 1024) / 1024;
}

// The highest resident memory above the starting point while it lives, sampled every millisecond.
// Sampling rather than the kernel's high-water mark: that one cannot be reset everywhere, and would
// then count what the test built before the work it measures.
class PeakMemory {
public:
    PeakMemory() : m_start(ResidentMb()), m_peak(m_start), m_thread([this] { sample(); }) {}
    ~PeakMemory() { stop(); }
    long stopMb()
    {
        stop();
        return std::max(m_peak.load(), ResidentMb()) - m_start;
    }

private:
    void sample()
    {
        while (!m_done) {
            m_peak = std::max(m_peak.load(), ResidentMb());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void stop()
    {
        m_done = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    long m_start;
    std::atomic<long> m_peak;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// A memory bound as it applies to this build: AddressSanitizer keeps up to 256 MB of freed blocks in
// quarantine before reusing them and pads every block, so the same work shows a higher resident peak.
constexpr long MemoryBoundMb(long bound)
{
#if defined(__SANITIZE_ADDRESS__)
    return bound * 3 / 2 + 256;
#else
    return bound;
#endif
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
