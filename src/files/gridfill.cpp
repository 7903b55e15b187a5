#include "files/gridfill.h"

#include "tables/cellcheck.h"

namespace {

QString LineProblem(int line, const QString& problem)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(problem);
}

}  // namespace

TCsvRead ParseGridCsv(const QByteArray& bytes, const TGridData& grid)
{
    return ParseCsvWithHeading(bytes, GridCsvRecords(grid, 1, 0).first());
}

QString FillTableGrid(const TCsvRead& records, TableId id, TGridData& grid, TAgentLocks& locks)
{
    TGridData work = grid;
    TAgentLocks workLocks = locks;
    const TCsvApply apply = ApplyCsvRecords(records, work);
    if (!apply.ok())
        return apply.error;
    for (qsizetype k = 0; k < apply.rows.size(); ++k) {
        const QString problem = TakeFileRow(id, work, workLocks, apply.rows[k]);
        if (!problem.isEmpty())
            return LineProblem(apply.lines[k], problem);
    }
    grid = work;
    locks = workLocks;
    return {};
}

QString FillModuleGrid(const TCsvRead& records, GsmGridModel& gsm)
{
    TGridData grid = GsmAsGrid(gsm);
    const TCsvApply apply = ApplyCsvRecords(records, grid);
    if (!apply.ok())
        return apply.error;
    for (qsizetype k = 0; k < apply.rows.size(); ++k) {
        const int row = apply.rows[k];
        const QString& text = grid.Cell(1, row);
        if (row == gsm::DeviceRow) {
            // What a read shows for a type the register does not know (an empty register's, too)
            // is taken as well: it writes back the empty code, as from the grid.
            if (!text.isEmpty() && DeviceCodeFromText(text).isEmpty() && text != DeviceTextFromCode(QString()))
                return LineProblem(apply.lines[k], QStringLiteral("тип устройства - \"GSM\" или \"WI-FI\", а не \"%1\"").arg(text));
            continue;
        }
        // Typed key by key into the empty cell, as the module grid's filter lets them through.
        QString typed;
        for (QChar key : text) {
            if (key.unicode() < 0x20 || !GsmKeyAllowed(row, typed, false, key))
                return LineProblem(apply.lines[k], QStringLiteral("\"%1\" не набрать в строке \"%2\"").arg(text, GsmRowCaption(row)));
            typed += key;
        }
    }
    for (int r = 1; r <= gsm::kRows; ++r)
        gsm.SetValue(r, grid.Cell(1, r));
    return {};
}

TGridData GsmAsGrid(const GsmGridModel& gsm)
{
    TGridData grid(2, gsm::kRows + 1);
    grid.SetCell(0, 0, gsm.headerData(0, Qt::Horizontal).toString());
    grid.SetCell(1, 0, gsm.headerData(1, Qt::Horizontal).toString());
    for (int r = 1; r <= gsm::kRows; ++r) {
        grid.SetCell(0, r, GsmRowCaption(r));
        grid.SetCell(1, r, gsm.Value(r));
    }
    return grid;
}
