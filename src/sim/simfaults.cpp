#include "sim/simfaults.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool ToInt(const QString& text, int min, int max, int& out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        return false;
    out = v;
    return true;
}

constexpr int kMaxCount = 1000000;

}  // namespace

QString SimFaultHelp()
{
    return QStringLiteral(
        "  silence N|always     answer nothing to the next N requests (or to all)\n"
        "  repeat S N           answer status S (20, 21, 22: busy) to the next N requests\n"
        "  checksum N           answer the next N requests with a wrong checksum\n"
        "  short N              answer the next N requests with the status alone (7 bytes)\n"
        "  tiny LEN N           answer only the first LEN (1-3) bytes to the next N requests\n"
        "  garbage BYTES N      send BYTES bytes of line noise before the next N answers\n"
        "  error C [NUM] S      answer status S to command letter C (p T a u c g x), or only to\n"
        "                       row/item/agent NUM of it; stays until cleared\n"
        "  close N              close the line after the next N requests\n"
        "  delay MS             wait MS milliseconds before every answer (0 ends it)\n"
        "  clear                end every fault\n");
}

bool ApplyFaultSpec(const QString& spec, SimFaults& faults, QString* error)
{
    const QStringList w = spec.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (w.isEmpty())
        return fail(QStringLiteral("empty fault description"));
    const QString kind = w[0].toLower();
    SimFaults f = faults;
    auto args = [&](int n) { return w.size() == n + 1; };
    const QString usage = QStringLiteral("wrong arguments for fault '%1'").arg(kind);
    int a = 0;
    int b = 0;
    if (kind == QLatin1String("clear") && args(0)) {
        f = SimFaults{};
    } else if (kind == QLatin1String("silence") && args(1)) {
        if (w[1] == QLatin1String("always"))
            f.silenceAlways = true;
        else if (ToInt(w[1], 0, kMaxCount, a))
            f.silenceCount = a;
        else
            return fail(usage);
    } else if (kind == QLatin1String("repeat") && args(2)) {
        if (!ToInt(w[1], 0, 255, a) || !ToInt(w[2], 0, kMaxCount, b))
            return fail(usage);
        f.repeatStatus = static_cast<uint8_t>(a);
        f.repeatCount = b;
    } else if (kind == QLatin1String("checksum") && args(1)) {
        if (!ToInt(w[1], 0, kMaxCount, f.badChecksumCount))
            return fail(usage);
    } else if (kind == QLatin1String("short") && args(1)) {
        if (!ToInt(w[1], 0, kMaxCount, f.shortCount))
            return fail(usage);
    } else if (kind == QLatin1String("tiny") && args(2)) {
        if (!ToInt(w[1], 1, 3, a) || !ToInt(w[2], 0, kMaxCount, b))
            return fail(usage);
        f.tinyLength = a;
        f.tinyCount = b;
    } else if (kind == QLatin1String("garbage") && args(2)) {
        if (!ToInt(w[1], 1, 600, a) || !ToInt(w[2], 0, kMaxCount, b))
            return fail(usage);
        f.garbageBytes = a;
        f.garbageCount = b;
    } else if (kind == QLatin1String("error") && (args(2) || args(3))) {
        if (w[1].size() != 1 || w[1][0].unicode() > 0x7F)
            return fail(QStringLiteral("the command of an error fault is one letter"));
        SimErrorRule rule;
        rule.command = static_cast<char>(w[1][0].unicode());
        if (args(3)) {
            if (!ToInt(w[2], 0, 65535, a))
                return fail(usage);
            rule.number = a;
        }
        if (!ToInt(w.last(), 0, 255, b))
            return fail(usage);
        rule.status = static_cast<uint8_t>(b);
        f.errors.push_back(rule);
    } else if (kind == QLatin1String("close") && args(1)) {
        if (!ToInt(w[1], 1, kMaxCount, f.closeAfter))
            return fail(usage);
    } else if (kind == QLatin1String("delay") && args(1)) {
        if (!ToInt(w[1], 0, 600000, f.delayMs))
            return fail(usage);
    } else {
        return fail(QStringLiteral("unknown fault '%1'").arg(spec.trimmed()));
    }
    faults = f;
    return true;
}
