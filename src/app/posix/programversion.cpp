#include "app/programversion.h"

// No version resources here: the build's own version stands in for the program file's.
QString ProgramVersion()
{
    return QStringLiteral(KKT_VERSION);
}
