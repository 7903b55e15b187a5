#include "samplegrid.h"

#include "tables/agentlocks.h"
#include "tables/encoding.h"

void FillSampleRow(TableId id, TGridData& g, int row)
{
    const QString n = QString::number(row);
    switch (id) {
    case TableId::Operators:
        g.SetCell(1, row, "Кассир " + n);
        g.SetCell(2, row, "Петров Пётр " + n);
        g.SetCell(3, row, QString::number(1000 + row));
        g.SetCell(4, row, "7700" + n);
        break;
    case TableId::Goods:
        g.SetCell(1, row, "Товар №" + n);
        g.SetCell(2, row, QString::number(4600000000000LL + row));
        g.SetCell(3, row, row % 2 ? kMarked : QString());
        g.SetCell(4, row, DecodePrice(row * 101));
        g.SetCell(5, row, QString::number(row % 10));
        g.SetCell(6, row, DecodeQuantity(row * 7));
        break;
    case TableId::Sections:
        g.SetCell(1, row, "Секция " + n);
        g.SetCell(2, row, SectionTypes()[row % 12]);
        g.SetCell(3, row, VatRates()[row % 7]);
        g.SetCell(4, row, row % 3 ? TaxSystems()[row % 7] : QString());
        g.SetCell(5, row, row % 2 ? n : QString());
        break;
    case TableId::Agents: {
        TAgentLocks none;
        g.SetCell(5, row, "Поставщик " + n);
        g.SetCell(7, row, "12345" + n);
        ChooseAgentSign(g, none, row, row % 7);
        g.SetCell(2, row, "+7900" + n);
        break;
    }
    case TableId::Enterprises:
        g.SetCell(1, row, "ООО Ромашка " + n);
        g.SetCell(2, row, "50" + n);
        break;
    default:
        g.SetCell(1, row, "Строка " + n);
    }
}
