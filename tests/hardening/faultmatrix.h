#pragma once
#include <QString>
#include <QStringList>
#include <ostream>

// One misbehaviour of the line or the register, as simulator fault descriptions applied at once.
struct LineFault {
    const char* name;
    QStringList specs;
};

// Test lists and failures name the fault instead of dumping its bytes.
inline void PrintTo(const LineFault& fault, std::ostream* os)
{
    *os << fault.name;
}

// The faults every command and every table run goes through; "error" is completed with the command
// letter at hand, and the line closing is handled by its own cases.
inline const QList<LineFault>& LineFaults()
{
    static const QList<LineFault> faults = {
        {"silence", {"silence 1"}},
        {"checksum", {"checksum 1"}},
        {"status_only", {"short 1"}},
        {"one_byte", {"tiny 1 1"}},
        {"two_bytes", {"tiny 2 1"}},
        {"three_bytes", {"tiny 3 1"}},
        {"garbage_first", {"garbage 5 1"}},
        {"busy_9_then_0", {"repeat 21 9"}},
        {"busy_10", {"repeat 21 10"}},
        {"error_status", {"error %1 7"}},
        {"line_closed", {"repeat 21 1", "close 1"}},
    };
    return faults;
}

// A fault description with its command letter filled in.
inline QString ForCommand(const QString& spec, char letter)
{
    return QString(spec).replace(QStringLiteral("%1"), QString(QLatin1Char(letter)));
}

// Time-out of one attempt in the matrix: short, so silence costs little.
constexpr int kMatrixTimeOutMs = 300;
// What a command may take beyond its attempts' time-outs on a loaded machine.
constexpr int kSlackMs = 700;
