#include "link/serialport.h"

QString PortOpenFailureText(PortOpenFailure failure, const QString& systemText)
{
    QString what;
    switch (failure) {
    case PortOpenFailure::Missing: what = QStringLiteral("такого порта нет (устройство отключено?)"); break;
    case PortOpenFailure::Busy: what = QStringLiteral("порт занят другой программой"); break;
    case PortOpenFailure::Denied: what = QStringLiteral("нет доступа к порту"); break;
    case PortOpenFailure::Settings: what = QStringLiteral("порт не принял скорость или параметры линии"); break;
    case PortOpenFailure::None: what = QStringLiteral("порт не открылся"); break;
    }
    const QString system = systemText.trimmed();
    return system.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, system);
}
