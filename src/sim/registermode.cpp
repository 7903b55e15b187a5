#include "sim/registermode.h"

#include "sim/serveloop.h"
#include "sim/simdemo.h"
#include "sim/simptyserver.h"
#include "sim/simstate.h"

#include <QFileInfo>
#include <cstdio>

namespace {

const QString kName = QStringLiteral("name");
const QString kNumber = QStringLiteral("number");
const QString kBaud = QStringLiteral("baud");
const QString kState = QStringLiteral("state");
const QString kFault = QStringLiteral("fault");
const QString kDemo = QStringLiteral("demo-data");

int Fail(const QString& message, int code)
{
    std::fprintf(stderr, "kkt-sim: %s\n", message.toLocal8Bit().constData());
    return code;
}

}  // namespace

QString RegisterModeDescription()
{
    return QStringLiteral(
               "Simulated cash register on a pseudo-terminal.\n"
               "Prints the device path (/dev/pts/N) and the published port name, one per line, then\n"
               "serves until SIGINT, SIGTERM or the command \"quit\".\n"
               "As a barcode scanner instead: kkt-sim --scanner --help.\n"
               "\n"
               "Answers with status 0, or:\n"
               "  %1  the request's checksum is wrong\n"
               "  %2  unknown command letter (status-only answer of 7 bytes)\n"
               "  %3  wrong request length, terminator, mode or re-registration byte\n"
               "  %4  goods code outside 1..6000\n"
               "  %5  agent number outside 1..10\n"
               "  %6  table, row or field the register does not have\n"
               "Errors come in answers of the command's full length with the data zero.\n"
               "\n"
               "Faults (--fault, or \"fault ...\" on standard input):\n")
               .arg(SIM_BAD_CHECKSUM)
               .arg(SIM_UNKNOWN_COMMAND)
               .arg(SIM_BAD_REQUEST)
               .arg(SIM_BAD_GOODS_CODE)
               .arg(SIM_BAD_AGENT)
               .arg(SIM_BAD_PARAM) +
           SimFaultHelp() +
           QStringLiteral(
               "\n"
               "Commands on standard input, one per line, each answered by \"ok\" or \"error: ...\":\n"
               "  fault FAULT          as above\n"
               "  quit                 stop serving\n");
}

void AddRegisterOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {kName, QStringLiteral("Published port name, \"kkt-sim\" or \"kkt-sim-<suffix>\" (default kkt-sim)."),
         QStringLiteral("name"), QStringLiteral("kkt-sim")},
        {kNumber, QStringLiteral("Answer only requests for this register number (default: any)."),
         QStringLiteral("N")},
        {kBaud, QStringLiteral("The register's speed: every byte takes 10 bits at this rate, and a client whose line "
                                "is set to another speed gets line noise back (default: unpaced, any speed)."),
         QStringLiteral("N")},
        {kState, QStringLiteral("Keep the register's memory in this JSON file: loaded at start, saved on every "
                                "change."),
         QStringLiteral("file")},
        {kFault, QStringLiteral("Start with this fault (repeatable), e.g. \"repeat 21 3\"."),
         QStringLiteral("fault")},
        {kDemo, QStringLiteral("Fill a few cashiers, goods and settings (not over an existing --state file).")},
    });
}

int RunRegisterMode(const QCommandLineParser& parser)
{
    SimPtyServer server;
    KktSimulator& sim = server.sim();
    SimPtyServer::Options options;
    options.name = parser.value(kName);
    bool ok = true;
    if (parser.isSet(kNumber)) {
        const uint number = parser.value(kNumber).toUInt(&ok);
        if (!ok)
            return Fail(QStringLiteral("--number wants a register number from 0 to 4294967295, not '%1'")
                            .arg(parser.value(kNumber)), 2);
        sim.setNumber(number);
    }
    if (parser.isSet(kBaud)) {
        options.baud = parser.value(kBaud).toInt(&ok);
        if (!ok || options.baud < 50 || options.baud > 4000000)
            return Fail(QStringLiteral("--baud wants a rate from 50 to 4000000, not '%1'").arg(parser.value(kBaud)), 2);
    }
    for (const QString& fault : parser.values(kFault)) {
        QString error;
        if (!sim.applyFault(fault, &error))
            return Fail(QStringLiteral("--fault \"%1\": %2").arg(fault, error), 2);
    }

    const QString statePath = parser.value(kState);
    QString error;
    if (!statePath.isEmpty() && QFileInfo::exists(statePath)) {
        if (!LoadSimState(sim, statePath, &error))
            return Fail(error, 2);
    } else if (parser.isSet(kDemo)) {
        FillDemoData(sim);
    }
    if (!statePath.isEmpty() && !QFileInfo::exists(statePath)) {
        if (!SaveSimState(sim, statePath, &error))
            return Fail(error, 2);
    }
    uint64_t saved = sim.changeCount();

    if (!server.start(options, &error))
        return Fail(error, 1);
    std::fprintf(stdout, "%s\n%s\n", server.devicePath().toLocal8Bit().constData(),
                 server.publishedName().toLocal8Bit().constData());
    std::fflush(stdout);

    bool closedReported = false;
    auto save = [&] {
        const uint64_t changes = sim.changeCount();
        if (statePath.isEmpty() || changes == saved)
            return;
        if (SaveSimState(sim, statePath, &error))
            saved = changes;
        else
            std::fprintf(stderr, "kkt-sim: %s\n", error.toLocal8Bit().constData());
    };
    ServeConsole(
        [&](const QString& line, bool& quit) -> QString {
            if (line == QLatin1String("quit")) {
                quit = true;
                return QStringLiteral("ok");
            }
            if (line.startsWith(QLatin1String("fault "))) {
                QString faultError;
                if (sim.applyFault(line.mid(6), &faultError))
                    return QStringLiteral("ok");
                return QStringLiteral("error: ") + faultError;
            }
            return QStringLiteral("error: unknown command '%1'").arg(line);
        },
        [&] {
            save();
            if (server.lineClosed() && !closedReported) {
                closedReported = true;
                std::fprintf(stderr, "kkt-sim: the line was closed as the \"close\" fault asked\n");
            }
        });
    server.stop();
    save();
    return 0;
}
