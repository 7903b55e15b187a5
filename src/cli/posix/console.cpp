#include "cli/console.h"

#include <QFile>
#include <unistd.h>

namespace {

std::unique_ptr<QIODevice> OpenStream(int fd)
{
    auto file = std::make_unique<QFile>();
    file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return file;
}

}  // namespace

TConsole OpenConsole()
{
    TConsole console;
    console.out = OpenStream(STDOUT_FILENO);
    console.err = OpenStream(STDERR_FILENO);
    console.errIsTerminal = isatty(STDERR_FILENO) == 1;
    return console;
}
