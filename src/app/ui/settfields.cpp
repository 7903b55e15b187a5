#include "app/ui/settfields.h"

#include "text/conversion.h"
#include "link/kktsearch.h"

const QStringList& SettSpeeds()
{
    static const QStringList speeds = [] {
        QStringList texts;
        for (int32_t speed : KktLineSpeeds())
            texts << QString::number(speed);
        return texts;
    }();
    return speeds;
}

bool SettKeyAllowed(QChar key)
{
    return key.unicode() == 8 || (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
}

bool SettTimeOutAllowsApply(const QString& text)
{
    int32_t value = 0;
    return TryStrToInt32(text, value) && value != 0;
}

void ApplySettFields(const TSettFields& fields, TStructSetting& sett)
{
    const int32_t speed = StrToInt(fields.speed);
    const int32_t timeOut = StrToInt(fields.timeOut);
    const int32_t number = StrToInt(fields.number);
    sett.PortSett.Name = fields.port;
    sett.PortSett.Speed = speed;
    sett.PortSett.TimeOut = timeOut;
    sett.NumKKT = number;
}

KktLinkArgs SettFieldsLinkArgs(const TSettFields& fields)
{
    KktLinkArgs args;
    args.port = fields.port;
    args.speed = StrToInt(fields.speed);
    args.timeOut = StrToInt(fields.timeOut);
    args.numKkt = StrToInt(fields.number);
    args.openDelay = 0;
    return args;
}
