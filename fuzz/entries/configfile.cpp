#include "fuzzentries.h"
#include "fuzzinput.h"

#include "files/configfile.h"

int FuzzConfigFile(const uint8_t* data, size_t size)
{
    const QString path = WriteFuzzFile("conf", data, size);
    TConfig config;
    QString error;
    if (!LoadConfigFile(path, config, &error) && error.isEmpty())
        __builtin_trap();  // a refused file always says why
    return 0;
}
