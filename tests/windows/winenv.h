#pragma once
#include <QString>
#include <QtGlobal>

// What scripts/run-windows-tests.sh hands the tests: the COM port of each simulator it linked into
// the Wine prefix (KKT_COM_<ROLE>), the source folder as a Windows path, and the scanner's input file.
inline QString WinEnv(const char* name)
{
    return qEnvironmentVariable(name);
}

inline QString ComPort(const char* role)
{
    return WinEnv((QByteArray("KKT_COM_") + role).constData());
}

#define REQUIRE_ENV(value)                                                                      \
    do {                                                                                        \
        if ((value).isEmpty())                                                                  \
            GTEST_FAIL() << "not set by scripts/run-windows-tests.sh: " #value;               \
    } while (false)
