#include "files/goodstable.h"

TGoodsRow ResetGoodsRow()
{
    return {QString(), QString(), QString(), QStringLiteral("0.00"), QStringLiteral("0")};
}

TGoodsTable ResetGoodsTable()
{
    return TGoodsTable(kGoodsCount, ResetGoodsRow());
}
