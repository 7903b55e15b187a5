#pragma once
#include <QString>

// Which range box a failed check sends the focus to.
enum class RangeBox { None, First, Last };

struct TRangeCheck {
    bool ok = false;
    QString message;  // empty when ok, or when a box holds no number at all (nothing is shown then)
    RangeBox focus = RangeBox::None;
    int first = 0;
    int last = 0;
};

inline const QString kRangeStartMessage = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение начала диапазона!");
inline const QString kRangeEndMessage = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение конца диапазона!");
inline const QString kRangeZeroMessage =
    QStringLiteral("ВНИМАНИЕ!\r\nЗначение начала диапазона не может начинаться с 0!");

// Validates the texts of a range pair against the table size; emptiness is tested before any value.
TRangeCheck CheckRange(const QString& first, const QString& last, int maximum);
