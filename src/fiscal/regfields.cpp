#include "fiscal/regfields.h"

namespace {

template <size_t N>
void PutLines(QList<std::pair<QString, QString>>& out, const char* key, const std::array<QString, N>& lines)
{
    for (size_t i = 0; i < N; ++i)
        out.append({QStringLiteral("%1%2").arg(QLatin1String(key)).arg(i + 1), lines[i]});
}

}  // namespace

QList<std::pair<QString, QString>> RegistrationFields(const RegistrationData& d)
{
    QList<std::pair<QString, QString>> fields;
    const auto put = [&fields](const char* key, const QString& value) { fields.append({QLatin1String(key), value}); };
    put("Registered", QString::number(d.Registered));
    put("SerialNumber", QString::number(d.SerialNumber));
    put("RegNum", QString::number(d.RegNum));
    put("InnUser", QString::number(d.InnUser));
    put("InnOFD", QString::number(d.InnOFD));
    put("ModeFlags", QString::number(d.ModeFlags));
    put("AgentFlags", QString::number(d.AgentFlags));
    put("TaxFlags", QString::number(d.TaxFlags));
    put("SetPrinter", QString::number(d.SetPrinter));
    put("AkcizGood", QString::number(d.AkcizGood));
    put("NameCassir", d.NameCassir);
    put("PosCassir", d.PosCassir);
    PutLines(fields, "NameUser", d.NameUser);
    PutLines(fields, "Adress", d.Adress);
    PutLines(fields, "Place", d.Place);
    PutLines(fields, "WebsiteFNS", d.WebsiteFNS);
    PutLines(fields, "EmailSender", d.EmailSender);
    PutLines(fields, "NameOFD", d.NameOFD);
    put("NumAuto", d.NumAuto);
    put("InnCassir", QString::number(d.InnCassir));
    return fields;
}
