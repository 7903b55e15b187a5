#include "samplegoods.h"

#include "tables/encoding.h"
#include "tables/tabledefs.h"

TGridData SampleGoods()
{
    TGridData goods = InitGrid(TableId::Goods);
    for (int r = 1; r <= 6000; ++r) {
        goods.SetCell(1, r, QStringLiteral("Товар номер %1 для проверки").arg(r));
        goods.SetCell(2, r, QString::number(4600000000000LL + r));
        goods.SetCell(4, r, DecodePrice(uint64_t(r) * 137));
        goods.SetCell(5, r, QString::number(r % 8 + 1));
        goods.SetCell(6, r, DecodeQuantity(uint64_t(r) * 11));
    }
    return goods;
}
