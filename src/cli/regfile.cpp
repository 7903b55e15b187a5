#include "cli/regfile.h"

#include "fiscal/memolines.h"
#include "fiscal/regfields.h"

#include <QHash>
#include <QStringDecoder>
#include <functional>

namespace {

// Text widths of the registration request (the wire's field sizes).
constexpr int kNameCassirWidth = 40;
constexpr int kNumAutoWidth = 20;

struct TMultiLine {
    const char* key;
    int lines;
    QString TFiscalForm::*form;
};

const TMultiLine kMultiLines[] = {
    {"NameUser", 5, &TFiscalForm::NameUser},       {"Adress", 5, &TFiscalForm::Adress},
    {"Place", 4, &TFiscalForm::Place},             {"WebsiteFNS", 2, &TFiscalForm::WebsiteFNS},
    {"EmailSender", 2, &TFiscalForm::EmailSender}, {"NameOFD", 2, &TFiscalForm::NameOFD},
};

template <size_t N>
bool TakeFlags(const QString& text, std::array<bool, N>& ticks)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value >= (1u << N))
        return false;
    ticks = UnpackFlags<N>(uint8_t(value));
    return true;
}

}  // namespace

QByteArray FormatRegFile(const RegistrationData& d)
{
    QStringList lines;
    for (const auto& [key, value] : RegistrationFields(d))
        lines.append(key + u'=' + value);
    return (lines.join(u'\n') + u'\n').toUtf8();
}

TRegFileRead ParseRegFile(const QByteArray& bytes)
{
    TRegFileRead read;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    if (decoder.hasError()) {
        read.error = QStringLiteral("текст не в кодировке UTF-8");
        return read;
    }

    TFiscalForm& f = read.form;
    QHash<QString, std::array<QString, 5>> multi;  // key -> lines
    using Setter = std::function<QString(const QString&)>;  // the problem, or empty
    const auto limited = [](QString TFiscalForm::*field, TFiscalForm& form, int width) {
        return Setter([&form, field, width](const QString& v) {
            if (v.size() > width)
                return QStringLiteral("текст длиннее %1 символов").arg(width);
            form.*field = v;
            return QString();
        });
    };
    const auto plain = [&f](QString TFiscalForm::*field) {
        return Setter([&f, field](const QString& v) {
            f.*field = v;
            return QString();
        });
    };
    const auto flags6 = [](std::array<bool, 6>& ticks) {
        return Setter([&ticks](const QString& v) {
            return TakeFlags(v, ticks) ? QString() : QStringLiteral("ожидается число от 0 до 63");
        });
    };
    const auto yesNo = [](bool& tick) {
        return Setter([&tick](const QString& v) {
            if (v != QLatin1String("0") && v != QLatin1String("1"))
                return QStringLiteral("ожидается 0 или 1");
            tick = v == QLatin1String("1");
            return QString();
        });
    };
    const Setter ignored = [](const QString&) { return QString(); };
    QHash<QString, Setter> setters{
        {QStringLiteral("Registered"), ignored},
        {QStringLiteral("SerialNumber"), ignored},
        {QStringLiteral("RegNum"), plain(&TFiscalForm::RegNum)},
        {QStringLiteral("InnUser"), plain(&TFiscalForm::InnUser)},
        {QStringLiteral("InnOFD"), plain(&TFiscalForm::InnOFD)},
        {QStringLiteral("InnCassir"), plain(&TFiscalForm::InnCassir)},
        {QStringLiteral("ModeFlags"), flags6(f.Mode)},
        {QStringLiteral("TaxFlags"), flags6(f.Tax)},
        {QStringLiteral("AgentFlags"), Setter([&f](const QString& v) {
             return TakeFlags(v, f.Agent) ? QString() : QStringLiteral("ожидается число от 0 до 127");
         })},
        {QStringLiteral("SetPrinter"), yesNo(f.SetPrinter)},
        {QStringLiteral("AkcizGood"), yesNo(f.AkcizGood)},
        {QStringLiteral("NameCassir"), limited(&TFiscalForm::NameCassir, f, kNameCassirWidth)},
        {QStringLiteral("PosCassir"), limited(&TFiscalForm::PosCassir, f, kMemoLineWidth)},
        {QStringLiteral("NumAuto"), limited(&TFiscalForm::NumAuto, f, kNumAutoWidth)},
    };
    for (const TMultiLine& m : kMultiLines) {
        for (int i = 1; i <= m.lines; ++i) {
            const QString key = QLatin1String(m.key) + QString::number(i);
            setters.insert(key, [&multi, m, i](const QString& v) {
                if (v.size() > kMemoLineWidth)
                    return QStringLiteral("строка длиннее %1 символов").arg(kMemoLineWidth);
                multi[QLatin1String(m.key)][size_t(i - 1)] = v;
                return QString();
            });
        }
    }

    QHash<QString, int> seen;
    const QStringList lines = text.split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const int lineNo = int(n + 1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? line : line.left(eq);
        const auto setter = setters.constFind(key);
        if (eq < 0 || setter == setters.constEnd()) {
            read.error = QStringLiteral("строка %1: неизвестный ключ \"%2\"").arg(lineNo).arg(key);
            return read;
        }
        if (seen.contains(key)) {
            read.error = QStringLiteral("строка %1: ключ \"%2\" уже задан в строке %3").arg(lineNo).arg(key).arg(seen[key]);
            return read;
        }
        seen.insert(key, lineNo);
        const QString value = line.mid(eq + 1);
        for (QChar c : value) {
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                read.error = QStringLiteral("строка %1: %2: управляющий символ в тексте").arg(lineNo).arg(key);
                return read;
            }
        }
        if (const QString problem = (*setter)(value); !problem.isEmpty()) {
            read.error = QStringLiteral("строка %1: %2: %3").arg(lineNo).arg(key, problem);
            return read;
        }
    }
    for (const TMultiLine& m : kMultiLines) {
        const auto& taken = multi[QLatin1String(m.key)];
        QStringList memo;
        for (int i = 0; i < m.lines; ++i)
            memo.append(taken[size_t(i)]);
        f.*(m.form) = memo.join(u'\n');
    }
    return read;
}

bool ParseReasons(const QString& list, ReasonFlags& reasons, QString& error)
{
    reasons = {0, 0, 0, 0};
    for (const QString& part : list.split(u',')) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < 1 || n > int(reasons.size())) {
            error = QStringLiteral("причина \"%1\": ожидаются номера от 1 до 4 через запятую").arg(part);
            return false;
        }
        reasons[size_t(n - 1)] = 1;
    }
    return true;
}
