#include "sim/simstate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cctype>

namespace {

const QString kFormat = QStringLiteral("kkt-sim state 1");

// Trailing zeros are left out: a slot is padded back to its width on loading.
QString Hex(const QByteArray& bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == 0)
        --end;
    return QString::fromLatin1(bytes.left(end).toHex());
}

bool Unhex(const QJsonValue& value, int width, QByteArray& out)
{
    if (!value.isString())
        return false;
    const QByteArray text = value.toString().toLatin1();
    if (text.size() % 2 != 0 || text.size() / 2 > width)
        return false;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    out = QByteArray::fromHex(text);
    out.append(QByteArray(width - out.size(), '\0'));
    return true;
}

bool IsZero(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

bool InRange(const QJsonValue& value, int min, int max, int& out)
{
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (d != static_cast<int>(d) || d < min || d > max)
        return false;
    out = static_cast<int>(d);
    return true;
}

}  // namespace

bool SaveSimState(const KktSimulator& sim, const QString& path, QString* error)
{
    const SimMemory memory = sim.memory();
    QJsonObject root;
    root[QStringLiteral("format")] = kFormat;
    root[QStringLiteral("serialNumber")] = static_cast<qint64>(memory.serialNumber);
    root[QStringLiteral("registered")] = memory.registered;
    root[QStringLiteral("registration")] = Hex(memory.registration);
    QJsonArray params;
    for (const auto& [key, slot] : memory.params) {
        if (IsZero(slot))
            continue;
        params.append(QJsonObject{{QStringLiteral("table"), std::get<0>(key)},
                                  {QStringLiteral("row"), std::get<1>(key)},
                                  {QStringLiteral("field"), std::get<2>(key)},
                                  {QStringLiteral("hex"), Hex(slot)}});
    }
    root[QStringLiteral("params")] = params;
    QJsonArray goods;
    for (int i = 0; i < SimMemory::kGoods; ++i) {
        if (!IsZero(memory.goods[i]))
            goods.append(QJsonObject{{QStringLiteral("code"), i + 1}, {QStringLiteral("hex"), Hex(memory.goods[i])}});
    }
    root[QStringLiteral("goods")] = goods;
    QJsonArray agents;
    for (int i = 0; i < SimMemory::kAgents; ++i) {
        if (!IsZero(memory.agents[i]))
            agents.append(QJsonObject{{QStringLiteral("number"), i + 1}, {QStringLiteral("hex"), Hex(memory.agents[i])}});
    }
    root[QStringLiteral("agents")] = agents;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool LoadSimState(KktSimulator& sim, const QString& path, QString* error)
{
    auto fail = [&](const QString& what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, what);
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull())
        return fail(QStringLiteral("not JSON (%1 at byte %2)").arg(parseError.errorString()).arg(parseError.offset));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat)
        return fail(QStringLiteral("not a simulator state file (\"format\" is not \"%1\")").arg(kFormat));

    SimMemory memory;
    const double serial = root.value(QStringLiteral("serialNumber")).toDouble(-1);
    if (serial < 0 || serial > 4294967295.0 || serial != static_cast<qint64>(serial))
        return fail(QStringLiteral("\"serialNumber\" is not a number from 0 to 4294967295"));
    memory.serialNumber = static_cast<uint32_t>(serial);
    int registered = 0;
    if (!InRange(root.value(QStringLiteral("registered")), 0, 255, registered))
        return fail(QStringLiteral("\"registered\" is not a byte"));
    memory.registered = static_cast<uint8_t>(registered);
    if (!Unhex(root.value(QStringLiteral("registration")), SimMemory::kRegistrationWidth, memory.registration))
        return fail(QStringLiteral("\"registration\" is not hex of at most %1 bytes").arg(SimMemory::kRegistrationWidth));

    const QJsonArray params = root.value(QStringLiteral("params")).toArray();
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QJsonObject p = params[i].toObject();
        int table = 0, row = 0, field = 0;
        QByteArray slot;
        if (!InRange(p.value(QStringLiteral("table")), 0, 255, table) ||
            !InRange(p.value(QStringLiteral("row")), 0, 255, row) ||
            !InRange(p.value(QStringLiteral("field")), 0, 255, field) ||
            !KktSimulator::ParamExists(table, row, field) ||
            !Unhex(p.value(QStringLiteral("hex")), SimMemory::kParamWidth, slot))
            return fail(QStringLiteral("parameter entry %1 is not a table, row and field of the register with "
                                       "hex of at most %2 bytes")
                            .arg(i + 1)
                            .arg(SimMemory::kParamWidth));
        memory.params[{static_cast<uint8_t>(table), static_cast<uint8_t>(row), static_cast<uint8_t>(field)}] = slot;
    }
    const QJsonArray goods = root.value(QStringLiteral("goods")).toArray();
    for (qsizetype i = 0; i < goods.size(); ++i) {
        const QJsonObject g = goods[i].toObject();
        int code = 0;
        QByteArray item;
        if (!InRange(g.value(QStringLiteral("code")), 1, SimMemory::kGoods, code) ||
            !Unhex(g.value(QStringLiteral("hex")), SimMemory::kGoodsWidth, item))
            return fail(QStringLiteral("goods entry %1 needs a code from 1 to %2 and hex of at most %3 bytes")
                            .arg(i + 1)
                            .arg(SimMemory::kGoods)
                            .arg(SimMemory::kGoodsWidth));
        memory.goods[code - 1] = item;
    }
    const QJsonArray agents = root.value(QStringLiteral("agents")).toArray();
    for (qsizetype i = 0; i < agents.size(); ++i) {
        const QJsonObject a = agents[i].toObject();
        int number = 0;
        QByteArray agent;
        if (!InRange(a.value(QStringLiteral("number")), 1, SimMemory::kAgents, number) ||
            !Unhex(a.value(QStringLiteral("hex")), SimMemory::kAgentWidth, agent))
            return fail(QStringLiteral("agent entry %1 needs a number from 1 to %2 and hex of at most %3 bytes")
                            .arg(i + 1)
                            .arg(SimMemory::kAgents)
                            .arg(SimMemory::kAgentWidth));
        memory.agents[number - 1] = agent;
    }
    sim.setMemory(memory);
    return true;
}
