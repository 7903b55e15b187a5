#include "simserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

KktLinkArgs ArgsFor(const QString& port, int timeOutMs)
{
    KktLinkArgs args;
    args.port = port;
    args.speed = 115200;
    args.timeOut = timeOutMs;
    args.numKkt = 1;
    return args;
}

}  // namespace

TestRuntimeDir::TestRuntimeDir()
{
    m_hadPrevious = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    m_previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
}

TestRuntimeDir::~TestRuntimeDir()
{
    if (m_hadPrevious)
        qputenv("XDG_RUNTIME_DIR", m_previous);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

TestSim::TestSim(int baud)
{
    static std::atomic<int> serial{0};
    SimPtyServer::Options options;
    options.name = QStringLiteral("kkt-sim-t%1-%2").arg(::getpid()).arg(++serial);
    options.baud = baud;
    m_started = m_server.start(options, &m_error);
    if (!m_started)
        ADD_FAILURE() << "simulator did not start: " << m_error.toStdString();
}

TestSim::~TestSim()
{
    m_server.stop();
}

KktLinkArgs TestSim::linkArgs(int timeOutMs) const
{
    return ArgsFor(portName(), timeOutMs);
}

SimProcess::SimProcess(const QStringList& arguments, bool ownRuntimeDir, int startTimeoutMs)
{
    if (ownRuntimeDir)
        m_runtime = std::make_unique<TestRuntimeDir>();
    m_process.setProgram(QStringLiteral(KKT_SIM_PATH));
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(startTimeoutMs)) {
        m_error = m_process.errorString();
    } else {
        m_devicePath = readLine(startTimeoutMs);
        m_portName = readLine(startTimeoutMs);
        m_started = m_devicePath.startsWith(QStringLiteral("/dev/")) && !m_portName.isEmpty();
        if (!m_started)
            m_error = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
    }
    if (!m_started)
        ADD_FAILURE() << "kkt-sim did not start: " << m_error.toStdString();
}

SimProcess::~SimProcess()
{
    stop();
}

KktLinkArgs SimProcess::linkArgs(int timeOutMs) const
{
    return ArgsFor(m_portName, timeOutMs);
}

QString SimProcess::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired())
            return {};
        m_process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString SimProcess::command(const QString& line, int timeoutMs)
{
    m_process.write((line + QLatin1Char('\n')).toUtf8());
    m_process.waitForBytesWritten(timeoutMs);
    return readLine(timeoutMs);
}

int SimProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (m_process.waitForFinished(timeoutMs) && m_process.exitStatus() == QProcess::NormalExit)
        return m_process.exitCode();
    m_process.kill();
    m_process.waitForFinished(timeoutMs);
    return -1;
}
