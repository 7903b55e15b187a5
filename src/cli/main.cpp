#include "cli/cli.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = RunCli(app.arguments().mid(1), out, err, isatty(fileno(stderr)) == 1);
    out.flush();
    err.flush();
    return status;
}
