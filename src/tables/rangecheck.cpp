#include "tables/rangecheck.h"

#include "text/conversion.h"

namespace {

TRangeCheck Fail(const QString& message, RangeBox focus)
{
    TRangeCheck r;
    r.message = message;
    r.focus = focus;
    return r;
}

}  // namespace

TRangeCheck CheckRange(const QString& firstText, const QString& lastText, int maximum)
{
    if (firstText.isEmpty())
        return Fail(kRangeStartMessage, RangeBox::First);
    if (lastText.isEmpty())
        return Fail(kRangeEndMessage, RangeBox::Last);
    int32_t first = 0;
    int32_t last = 0;
    // The boxes take digits only; anything else cannot be typed and is refused without a message.
    if (!TryStrToInt32(firstText, first) || !TryStrToInt32(lastText, last))
        return Fail(QString(), RangeBox::None);
    if (first == 0)
        return Fail(kRangeZeroMessage, RangeBox::First);
    if (first < 0 || first > maximum)
        return Fail(kRangeStartMessage, RangeBox::First);
    if (last < 0 || last > maximum)
        return Fail(kRangeEndMessage, RangeBox::Last);
    if (first > last)
        return Fail(kRangeStartMessage, RangeBox::First);
    TRangeCheck ok;
    ok.ok = true;
    ok.first = first;
    ok.last = last;
    return ok;
}
