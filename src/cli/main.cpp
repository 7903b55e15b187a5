#include "cli/cli.h"
#include "cli/console.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TConsole console = OpenConsole();
    QTextStream out(console.out.get());
    QTextStream err(console.err.get());
    const int status = RunCli(app.arguments().mid(1), out, err, console.errIsTerminal);
    out.flush();
    err.flush();
    return status;
}
