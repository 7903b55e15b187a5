#include "fiscal/fiscalform.h"

#include "fiscal/memolines.h"
#include "text/conversion.h"

#include <optional>

namespace {

// One number edit converted in the order of the registration: the first failure is the one shown.
std::optional<uint64_t> ConvertNumber(const QString& text, const QString& caption, int wireBytes, QString& error)
{
    int64_t value = 0;
    try {
        value = StrToInt64(text);
    } catch (const ConversionError& e) {
        error = e.message();
        return std::nullopt;
    }
    // A pasted number that does not fit its bytes would travel as a different number.
    const uint64_t max = (uint64_t{1} << (8 * wireBytes)) - 1;
    if (value < 0 || static_cast<uint64_t>(value) > max) {
        error = QStringLiteral("ВНИМАНИЕ!\r\nЧисло '%1' в поле \"%2\" вне допустимого диапазона (0 - %3)!")
                    .arg(text, caption)
                    .arg(max);
        return std::nullopt;
    }
    return static_cast<uint64_t>(value);
}

template <size_t N>
void TakeLines(std::array<QString, N>& field, const QString& memo)
{
    const QStringList lines = MemoLines<N>(memo);
    for (size_t i = 0; i < N; ++i)
        field[i] = lines[static_cast<qsizetype>(i)];
}

template <size_t N>
QString JoinLines(const std::array<QString, N>& field)
{
    QStringList lines(field.begin(), field.end());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

const FlagGroup& TaxGroup()
{
    static const FlagGroup g{QStringLiteral("Системы налогообложения"),
                             {QStringLiteral("Общая"), QStringLiteral("Упрощенная Доход"),
                              QStringLiteral("Упрощенная Доход минус Расход"),
                              QStringLiteral("Единый налог на вмененный налог"),
                              QStringLiteral("Единый сельскохозяйственный налог"),
                              QStringLiteral("Патентная система налогообложения")}};
    return g;
}

const FlagGroup& ModeGroup()
{
    static const FlagGroup g{QStringLiteral("Режим работы"),
                             {QStringLiteral("Шифрование"), QStringLiteral("Автономный режим"),
                              QStringLiteral("Автоматический режим"), QStringLiteral("Применение в сфере услуг"),
                              QStringLiteral("Режим БСО"), QStringLiteral("Применение в интернете")}};
    return g;
}

const FlagGroup& AgentGroup()
{
    static const FlagGroup g{QStringLiteral("Признаки агента"),
                             {QStringLiteral("Банковский платежный агент"),
                              QStringLiteral("Банковский платежный субагент"), QStringLiteral("Платежный агент"),
                              QStringLiteral("Платежный субагент"), QStringLiteral("Поверенный"),
                              QStringLiteral("Комиссионер"), QStringLiteral("Агент")}};
    return g;
}

const QStringList& ReasonCaptions()
{
    static const QStringList reasons{QStringLiteral("Замена ФН"), QStringLiteral("Смена ОФД"),
                                     QStringLiteral("Смена реквизитов пользователя"),
                                     QStringLiteral("Смена настроек ККТ")};
    return reasons;
}

bool FormToRegistration(const TFiscalForm& form, RegistrationData& data, QString& error)
{
    const auto regNum = ConvertNumber(form.RegNum, QStringLiteral("Регистрационные номер"), 7, error);
    if (!regNum)
        return false;
    const auto innUser = ConvertNumber(form.InnUser, QStringLiteral("ИНН пользователя"), 5, error);
    if (!innUser)
        return false;
    const auto innOfd = ConvertNumber(form.InnOFD, QStringLiteral("ИНН ОФД"), 5, error);
    if (!innOfd)
        return false;
    const auto innCassir = ConvertNumber(form.InnCassir, QStringLiteral("ИНН кассира Г"), 5, error);
    if (!innCassir)
        return false;

    RegistrationData d = data;
    d.RegNum = *regNum;
    d.InnUser = *innUser;
    d.InnOFD = *innOfd;
    d.ModeFlags = PackFlags(form.Mode);
    d.AgentFlags = PackFlags(form.Agent);
    d.TaxFlags = PackFlags(form.Tax);
    d.SetPrinter = form.SetPrinter ? 1 : 0;
    d.AkcizGood = form.AkcizGood ? 1 : 0;
    // Texts as they stand, without trimming: spaces are the user's.
    d.NameCassir = form.NameCassir;
    d.PosCassir = form.PosCassir;
    TakeLines(d.NameUser, form.NameUser);
    TakeLines(d.Adress, form.Adress);
    TakeLines(d.Place, form.Place);
    TakeLines(d.WebsiteFNS, form.WebsiteFNS);
    TakeLines(d.EmailSender, form.EmailSender);
    TakeLines(d.NameOFD, form.NameOFD);
    d.NumAuto = form.NumAuto;
    d.InnCassir = *innCassir;
    data = d;
    return true;
}

TFiscalForm FormFromRegistration(const RegistrationData& d)
{
    TFiscalForm f;
    f.SerialNumber = QString::number(d.SerialNumber);
    f.RegNum = QString::number(d.RegNum);
    f.InnUser = QString::number(d.InnUser);
    f.InnOFD = QString::number(d.InnOFD);
    f.Mode = UnpackFlags<6>(d.ModeFlags);
    f.Agent = UnpackFlags<7>(d.AgentFlags);
    f.Tax = UnpackFlags<6>(d.TaxFlags);
    f.SetPrinter = d.SetPrinter == 1;
    f.AkcizGood = d.AkcizGood == 1;
    f.NameCassir = d.NameCassir;
    f.PosCassir = d.PosCassir;
    f.NameUser = JoinLines(d.NameUser);
    f.Adress = JoinLines(d.Adress);
    f.Place = JoinLines(d.Place);
    f.WebsiteFNS = JoinLines(d.WebsiteFNS);
    f.EmailSender = JoinLines(d.EmailSender);
    f.NameOFD = JoinLines(d.NameOFD);
    f.NumAuto = d.NumAuto;
    f.InnCassir = QString::number(d.InnCassir);
    return f;
}
