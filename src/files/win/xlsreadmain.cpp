// kkt-xlsread FILE MAXROW MAXCOLUMN: the isolated ".xls" read of the Windows programs. It writes the
// read's answer on standard output; a crash or a hang here costs only the import that started it.
#include "files/xlsreader.h"

#include <QCoreApplication>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool rowsOk = false;
    bool columnsOk = false;
    const int maxRow = args.value(2).toInt(&rowsOk);
    const int maxColumn = args.value(3).toInt(&columnsOk);
    if (args.size() != 4 || !rowsOk || !columnsOk) {
        std::fputs("usage: kkt-xlsread FILE MAXROW MAXCOLUMN\n", stderr);
        return 2;
    }
    const QByteArray answer = ReadXlsFirstSheetAnswer(args[1], maxRow, maxColumn);
    _setmode(_fileno(stdout), _O_BINARY);
    const bool written = std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout) == size_t(answer.size());
    return written && std::fflush(stdout) == 0 ? 0 : 3;
}
