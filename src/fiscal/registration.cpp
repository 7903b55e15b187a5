#include "fiscal/registration.h"

RegistrationReport RegistrationFun(KktLink& link, const KktLinkArgs& args, uint8_t reregistration,
                                   const ReasonFlags& reasons, const TFiscalForm& form, RegistrationData& data)
{
    RegistrationReport report;
    if (!FormToRegistration(form, data, report.message))
        return report;
    report.result = link.KktRegister(args, reregistration, reasons, data);
    if (report.result != KKT_OK) {
        report.outcome = RegistrationReport::LinkFailed;
        report.message = QStringLiteral("Внимание!\r\nОшибка (%1) при регистрации кассы!").arg(report.result);
        return report;
    }
    report.outcome = RegistrationReport::Done;
    report.message = reregistration ? QStringLiteral("Перерегистрация выполнена успешно!")
                                    : QStringLiteral("Регистрация выполнена успешно!");
    return report;
}

DataRequestReport FiscalDataRequestFun(KktLink& link, const KktLinkArgs& args, RegistrationData& data)
{
    // The link fills the record from any answer with a good checksum; a failed status must not
    // overwrite what the window holds.
    RegistrationData answer;
    DataRequestReport report;
    report.result = link.KktRegData(args, answer);
    if (report.result != KKT_OK) {
        report.message =
            QStringLiteral("Внимание!\r\nОшибка (%1) при запросе регистрационных данных!").arg(report.result);
        return report;
    }
    data = answer;
    return report;
}

RegState RegStateOf(const DataRequestReport& report, const RegistrationData& data)
{
    if (!report.ok())
        return RegState::Unknown;
    return data.Registered == 1 ? RegState::Registered : RegState::NotRegistered;
}

QString RegStateText(RegState state)
{
    switch (state) {
    case RegState::Registered: return QStringLiteral("Касса зарегистрирована");
    case RegState::NotRegistered: return QStringLiteral("Касса не зарегистрирована");
    case RegState::Unknown: break;
    }
    return QStringLiteral("Не удалось получить состояние кассы");
}

Rgb RegStateColour(RegState state)
{
    switch (state) {
    case RegState::Registered: return {0, 230, 115};
    case RegState::NotRegistered: return {248, 126, 5};
    case RegState::Unknown: break;
    }
    return {255, 0, 0};
}
