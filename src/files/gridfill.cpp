#include "files/gridfill.h"

#include "module/gsmgrid.h"
#include "tables/cellcheck.h"

namespace {

QString LineProblem(int line, const QString& problem)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(problem);
}

// The module's rows of the work grid: each value typed key by key into the empty cell.
QString ModuleRowsProblem(const TCsvApply& apply, const TGridData& work)
{
    for (qsizetype k = 0; k < apply.rows.size(); ++k) {
        const int row = apply.rows[k];
        const QString& text = work.Cell(1, row);
        if (row == gsm::DeviceRow) {
            // What a read shows for a type the register does not know (an empty register's, too)
            // is taken as well: it writes back the empty code, as from the grid.
            if (!text.isEmpty() && DeviceCodeFromText(text).isEmpty() && text != DeviceTextFromCode(QString()))
                return LineProblem(apply.lines[k], QStringLiteral("тип устройства - \"GSM\" или \"WI-FI\", а не \"%1\"").arg(text));
            continue;
        }
        QString typed;
        for (QChar key : text) {
            if (key.unicode() < 0x20 || !GsmKeyAllowed(row, typed, false, key))
                return LineProblem(apply.lines[k], QStringLiteral("\"%1\" не набрать в строке \"%2\"").arg(text, GsmRowCaption(row)));
            typed += key;
        }
    }
    return {};
}

// A table's rows of the work grid by the grid's input rules; agents get their signs chosen.
QString TableRowsProblem(TableId id, const TCsvApply& apply, TGridData& work, TAgentLocks& locks)
{
    for (qsizetype k = 0; k < apply.rows.size(); ++k)
        if (const QString problem = TakeFileRow(id, work, locks, apply.rows[k]); !problem.isEmpty())
            return LineProblem(apply.lines[k], problem);
    return {};
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
    const QString problem = id == TableId::Module ? ModuleRowsProblem(apply, work) : TableRowsProblem(id, apply, work, workLocks);
    if (!problem.isEmpty())
        return problem;
    grid = work;
    locks = workLocks;
    return {};
}
