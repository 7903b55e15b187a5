#include "sim/scannerfeed.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

// Sleeps up to `ms`, in short steps so that a stop request ends the pause at once.
bool pauseUnlessStopped(int ms, const std::atomic<bool>& stop)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(20)));
    }
    return false;
}

}  // namespace

bool ScannerFeedLine::send(const QByteArray& bytes, int bytePauseMs, const std::atomic<bool>& stop)
{
    const int step = bytePauseMs > 0 ? 1 : static_cast<int>(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        if (stop || m_pty.master() < 0)
            return false;
        if (at > 0 && bytePauseMs > 0 && !pauseUnlessStopped(bytePauseMs, stop))
            return false;
        const ssize_t n = ::write(m_pty.master(), bytes.constData() + at, static_cast<size_t>(std::min<qsizetype>(step, bytes.size() - at)));
        if (n > 0) {
            at += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            // nobody reads and the line's queue is full: wait for room
            pollfd p{m_pty.master(), POLLOUT, 0};
            ::poll(&p, 1, 20);
        } else {
            return false;
        }
    }
    return true;
}

QByteArray ScannerCodeBytes(const QString& code, QString* error)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return QByteArray();
    };
    QByteArray out;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c.unicode() > 0xFF)
            return fail(QStringLiteral("'%1': a scanner sends single bytes; '%2' is none").arg(code, c));
        if (c != QLatin1Char('\\')) {
            out += static_cast<char>(c.unicode());
            continue;
        }
        const QChar e = i + 1 < code.size() ? code.at(++i) : QChar();
        if (e == QLatin1Char('r')) {
            out += '\r';
        } else if (e == QLatin1Char('n')) {
            out += '\n';
        } else if (e == QLatin1Char('t')) {
            out += '\t';
        } else if (e == QLatin1Char('\\')) {
            out += '\\';
        } else if (e == QLatin1Char('x')) {
            bool ok = false;
            const int value = code.mid(i + 1, 2).toInt(&ok, 16);
            if (!ok || code.mid(i + 1, 2).size() != 2)
                return fail(QStringLiteral("'%1': \\x needs two hexadecimal digits").arg(code));
            out += static_cast<char>(value);
            i += 2;
        } else {
            return fail(QStringLiteral("'%1': unknown escape '\\%2'").arg(code, e));
        }
    }
    return out + '\r';
}

namespace {

std::atomic<bool> g_stop{false};

void onStopSignal(int)
{
    g_stop = true;
}

}  // namespace

int RunScannerMode(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Barcode scanner on a published pseudo-terminal. Sends each code followed by CR: the codes given on "
        "the command line, else the lines of --file, else the lines typed on standard input. Escapes in "
        "codes: \\r \\n \\t \\\\ \\xHH."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("scanner"), QStringLiteral("Scanner mode.")});
    parser.addOption({QStringLiteral("name"), QStringLiteral("Published port name (default kkt-sim-scanner)."),
                      QStringLiteral("name"), QStringLiteral("kkt-sim-scanner")});
    parser.addOption({QStringLiteral("file"), QStringLiteral("Codes, one per line."), QStringLiteral("path")});
    parser.addOption({QStringLiteral("byte-pause"), QStringLiteral("Milliseconds between bytes (default 0)."),
                      QStringLiteral("ms"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("code-pause"), QStringLiteral("Milliseconds between codes (default 500)."),
                      QStringLiteral("ms"), QStringLiteral("500")});
    parser.addOption({QStringLiteral("first-delay"),
                      QStringLiteral("Milliseconds before the first code, to start the reader (default 3000)."),
                      QStringLiteral("ms"), QStringLiteral("3000")});
    parser.addOption({QStringLiteral("hold"),
                      QStringLiteral("Milliseconds the line stays published after the last code (default 1000)."),
                      QStringLiteral("ms"), QStringLiteral("1000")});
    parser.addPositionalArgument(QStringLiteral("code"), QStringLiteral("Codes to send."), QStringLiteral("[code...]"));
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(args)) {
        err << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    int pauses[4] = {};
    const char* names[4] = {"byte-pause", "code-pause", "first-delay", "hold"};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        pauses[i] = parser.value(QLatin1String(names[i])).toInt(&ok);
        if (!ok || pauses[i] < 0) {
            err << "--" << names[i] << ": '" << parser.value(QLatin1String(names[i]))
                << "' is not a number of milliseconds" << Qt::endl;
            return 2;
        }
    }
    const auto [bytePause, codePause, firstDelay, hold] = pauses;

    // Codes from the command line or a file are checked before anything is published.
    QStringList codes = parser.positionalArguments();
    const bool fromStdin = codes.isEmpty() && !parser.isSet(QStringLiteral("file"));
    if (parser.isSet(QStringLiteral("file"))) {
        QFile file(parser.value(QStringLiteral("file")));
        if (!file.open(QIODevice::ReadOnly)) {
            err << "cannot read " << file.fileName() << ": " << file.errorString() << Qt::endl;
            return 1;
        }
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QString code = QString::fromLatin1(line).remove(QLatin1Char('\r'));
            if (!code.isEmpty())
                codes << code;
        }
    }
    QList<QByteArray> wire;
    for (const QString& code : codes) {
        QString problem;
        wire << ScannerCodeBytes(code, &problem);
        if (!problem.isEmpty()) {
            err << problem << Qt::endl;
            return 2;
        }
    }

    struct sigaction sa {};
    sa.sa_handler = onStopSignal;  // no SA_RESTART: a blocked read of standard input returns
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);

    ScannerFeedLine line;
    QString error;
    if (!line.open(parser.value(QStringLiteral("name")), &error)) {
        err << error << Qt::endl;
        return 1;
    }
    out << "scanner on " << line.publishedName() << " (" << line.devicePath() << ")" << Qt::endl;

    bool ok = true;
    if (fromStdin) {
        char text[4096];
        while (ok && !g_stop && std::fgets(text, sizeof text, stdin)) {
            QString code = QString::fromLocal8Bit(text);
            code.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
            if (code.isEmpty())
                continue;
            QString problem;
            const QByteArray bytes = ScannerCodeBytes(code, &problem);
            if (!problem.isEmpty()) {
                err << problem << Qt::endl;
                continue;
            }
            ok = line.send(bytes, bytePause, g_stop);
            if (ok)
                out << "sent " << code << Qt::endl;
        }
    } else {
        ok = pauseUnlessStopped(firstDelay, g_stop);
        for (qsizetype i = 0; ok && i < wire.size(); ++i) {
            if (i > 0)
                ok = pauseUnlessStopped(codePause, g_stop);
            if (ok)
                ok = line.send(wire[i], bytePause, g_stop);
            if (ok)
                out << "sent " << codes[i] << Qt::endl;
        }
        if (ok)
            pauseUnlessStopped(hold, g_stop);
    }
    line.close();
    return ok || g_stop ? 0 : 1;
}
