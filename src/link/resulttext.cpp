#include "link/resulttext.h"

QString KktCommandName(char command)
{
    switch (command) {
    case 'u': return QStringLiteral("Запрос состояния ККТ");
    case 'p': return QStringLiteral("Параметр ККТ");
    case 'T': return QStringLiteral("Товар");
    case 'a': return QStringLiteral("Агент");
    case 'c': return QStringLiteral("Очистка базы товаров");
    case 'g': return QStringLiteral("Запрос регистрационных данных");
    case 'x': return QStringLiteral("Регистрация ККТ");
    default: return QStringLiteral("Команда \"%1\"").arg(QLatin1Char(command));
    }
}

QString KktResultText(const KktCommandReport& r)
{
    const QString where = QStringLiteral("%1, %2 бод").arg(r.link.port).arg(r.link.speed);
    QString what;
    if (r.linkFailed) {
        switch (r.result) {
        case KKT_PORT_FAILED:
            what = QStringLiteral("код 1 - порт не открылся (%1): %2.")
                       .arg(where, PortOpenFailureText(r.openFailure, r.openError));
            break;
        case KKT_NO_ANSWER:
            what = QStringLiteral("код 2 - нет ответа (%1): ККТ выключена или у неё другой порт, скорость или номер.")
                       .arg(where);
            break;
        default:
            what = QStringLiteral("код 3 - неверная контрольная сумма ответа (%1): другая скорость ККТ или помехи.")
                       .arg(where);
            break;
        }
        return KktCommandName(r.command) + QStringLiteral(": ") + what +
               QStringLiteral(" Поможет \"Найти ККТ\" в настройках связи.");
    }
    if (r.result == KKT_OK)
        what = QStringLiteral("выполнено (%1).").arg(where);
    else if (KktLink::IsRepeatStatus(r.result))
        what = QStringLiteral("код %1 - ККТ осталась занята после %2 попыток (%3); повторите позже.")
                   .arg(r.result)
                   .arg(KktLink::kAttempts)
                   .arg(where);
    else
        what = QStringLiteral("код %1 - ошибка, которую вернула сама ККТ (%2).").arg(r.result).arg(where);
    return KktCommandName(r.command) + QStringLiteral(": ") + what;
}
