#include "sim/registermode.h"
#include "sim/scannerfeed.h"
#include "sim/serveloop.h"

#include <QCommandLineParser>
#include <QCoreApplication>

// kkt-sim: a stand-in for the devices the configuration tool talks to, on pseudo-terminals.
// Each mode adds its options and runs from one call below.
int main(int argc, char** argv)
{
    BlockStopSignals();  // before any thread exists, so that the console loop alone receives them
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kkt-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KKT_VERSION));

    if (argc > 1 && qstrcmp(argv[1], "--scanner") == 0)
        return RunScannerMode(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(RegisterModeDescription());
    parser.addHelpOption();
    AddRegisterOptions(parser);
    parser.process(app);
    return RunRegisterMode(parser);
}
