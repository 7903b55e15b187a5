#pragma once
#include "link/kktlink.h"
#include "sim/simptyserver.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Points XDG_RUNTIME_DIR at a fresh folder for its lifetime, so the simulators one test publishes
// neither collide with nor show up in another's port list. Restores the previous value after.
class TestRuntimeDir {
public:
    TestRuntimeDir();
    ~TestRuntimeDir();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// A simulated register on a real pseudo-terminal inside the test process, published under a name
// of its own. Faults and memory are set and inspected through sim() while the link talks to it.
class TestSim {
public:
    explicit TestSim(int baud = 0);
    ~TestSim();

    bool started() const { return m_started; }  // a failed start is also reported as a test failure
    QString error() const { return m_error; }
    QString portName() const { return m_server.publishedName(); }  // for KktLinkArgs::port
    QString devicePath() const { return m_server.devicePath(); }
    KktSimulator& sim() { return m_server.sim(); }
    SimPtyServer& server() { return m_server; }
    // Link arguments for this simulator: its port, 115200 baud, register number 1.
    KktLinkArgs linkArgs(int timeOutMs = 1000) const;

private:
    TestRuntimeDir m_runtime;
    SimPtyServer m_server;
    bool m_started = false;
    QString m_error;
};

// The kkt-sim program as a child process: started with `arguments` (a fresh runtime folder unless
// the caller's own is wanted), its first two output lines read, stopped by SIGTERM on destruction.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments = {}, bool ownRuntimeDir = true, int startTimeoutMs = 10000);
    ~SimProcess();

    bool started() const { return m_started; }  // a failed start is also reported as a test failure
    QString error() const { return m_error; }
    QString devicePath() const { return m_devicePath; }  // first output line
    QString portName() const { return m_portName; }      // second output line
    KktLinkArgs linkArgs(int timeOutMs = 1000) const;

    // Sends one control line ("fault silence 1", ...) and returns the program's reply line ("ok" or
    // "error: ..."), or an empty text when none came in time.
    QString command(const QString& line, int timeoutMs = 5000);
    // One output line, or an empty text after the time-out.
    QString readLine(int timeoutMs = 5000);
    // SIGTERM and wait; the exit code, or -1 when it had to be killed.
    int stop(int timeoutMs = 5000);
    QProcess& process() { return m_process; }

private:
    std::unique_ptr<TestRuntimeDir> m_runtime;
    QProcess m_process;
    bool m_started = false;
    QString m_error;
    QString m_devicePath;
    QString m_portName;
};
