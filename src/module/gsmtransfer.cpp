#include "module/gsmtransfer.h"

#include "module/gsmgrid.h"

#include <cmath>

namespace {

GsmTransferResult Stopped(bool writing)
{
    GsmTransferResult r;
    r.aborted = true;
    r.message = writing ? QStringLiteral("Внимание!\r\nЗапись прервана.") : QStringLiteral("Внимание!\r\nЧтение прервано.");
    return r;
}

}  // namespace

int GsmProgressPercent(int row, int rows)
{
    return static_cast<int>(std::lround(row * 100.0 / rows));
}

GsmTransferResult WriteGsmParams(KktLink& link, const KktLinkArgs& args, const GsmGridModel& grid,
                                 const GsmProgress& progress, const GsmRowDone& rowDone, const GsmAborted& aborted)
{
    QList<int> rows;
    for (int row = 1; row <= gsm::kRows; ++row)
        rows.push_back(row);
    return WriteGsmRows(link, args, grid, rows, progress, rowDone, aborted);
}

GsmTransferResult WriteGsmRows(KktLink& link, const KktLinkArgs& args, const GsmGridModel& grid,
                               const QList<int>& rows, const GsmProgress& progress, const GsmRowDone& rowDone,
                               const GsmAborted& aborted)
{
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (aborted && aborted())
            return Stopped(true);
        const int row = rows[k];
        QString value = row == gsm::DeviceRow ? DeviceCodeFromText(grid.Value(row)) : grid.Value(row);
        const KktResult r =
            link.KktParam(args, KKT_WRITE, gsm::kTable, static_cast<uint8_t>(row), gsm::kField, value);
        if (r != KKT_OK)
            return {row, r,
                    QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр ") + GsmRowCaption(row) +
                        QStringLiteral("!")};
        if (rowDone)
            rowDone(row);
        if (progress)
            progress(GsmProgressPercent(int(k) + 1, int(rows.size())));
    }
    return {};
}

GsmTransferResult ReadGsmParams(KktLink& link, const KktLinkArgs& args, GsmGridModel& grid,
                                const GsmProgress& progress, const GsmRowDone& rowDone, const GsmAborted& aborted)
{
    for (int row = 1; row <= gsm::kRows; ++row) {
        if (aborted && aborted())
            return Stopped(false);
        QString value;
        const KktResult r =
            link.KktParam(args, KKT_READ, gsm::kTable, static_cast<uint8_t>(row), gsm::kField, value);
        if (r != KKT_OK)
            return {row, r,
                    QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать параметр ") + GsmRowCaption(row) +
                        QStringLiteral("!")};
        if (progress)
            progress(GsmProgressPercent(row));
        grid.SetValue(row, row == gsm::DeviceRow ? DeviceTextFromCode(value) : value);
        if (rowDone)
            rowDone(row);
    }
    return {};
}
