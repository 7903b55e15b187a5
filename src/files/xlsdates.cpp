#include "files/xlsdates.h"

#include "files/numbertext.h"

#include <QDate>
#include <cmath>

NumberShape ShapeOfBuiltInFormat(uint16_t index)
{
    if (index >= 14 && index <= 17)
        return NumberShape::Date;
    if ((index >= 18 && index <= 21) || (index >= 45 && index <= 47))
        return NumberShape::Time;
    if (index == 22)
        return NumberShape::DateTime;
    return NumberShape::Number;
}

NumberShape ShapeOfFormatCode(const QString& code)
{
    // Quoted text, escaped and padding characters and bracketed colours or conditions show no date
    // part; of the brackets only elapsed time ("[h]", "[mm]", "[ss]") counts.
    bool date = false;
    bool time = false;
    bool month = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = code[i].toLower().unicode();
        if (c == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                break;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0)
                break;
            const QString inside = code.mid(i + 1, end - i - 1).toLower();
            if (!inside.isEmpty() && (inside[0] == u'h' || inside[0] == u'm' || inside[0] == u's'))
                time = true;
            i = end;
        } else if (c == u'y' || c == u'd') {
            date = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u'm') {
            month = true;
        }
    }
    // "m" is the month unless the code shows hours or seconds, where it is the minute.
    date = date || (month && !time);
    if (date && time)
        return NumberShape::DateTime;
    if (date)
        return NumberShape::Date;
    return time ? NumberShape::Time : NumberShape::Number;
}

QString NumberCellText(double value, NumberShape shape, bool epoch1904)
{
    if (shape == NumberShape::Number || !std::isfinite(value) || std::fabs(value) > 3e6)
        return NumberToText(value);
    const double whole = std::floor(value);
    QString date;
    if (shape != NumberShape::Time) {
        // Day 0 and earlier show as the epoch's first day.
        const int days = epoch1904 ? std::max(0, static_cast<int>(whole)) + 1462 : std::max(1, static_cast<int>(whole));
        if (days == 60)  // the 1900 epoch's 29 February, which never was
            date = QStringLiteral("1900-02-29");
        else
            date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
        if (shape == NumberShape::Date)
            return date;
    }
    const int seconds = static_cast<int>(std::lround((value - whole) * 86400.0));
    const QString time = QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return date.isEmpty() ? time : date + u' ' + time;
}
