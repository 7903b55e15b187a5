#include "tables/cellcheck.h"

#include "text/conversion.h"
#include "tables/cellkeys.h"
#include "tables/encoding.h"

namespace {

bool HasControl(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

// Types the text key by key into an empty cell (a phone after its "+7"), as the editor would take it.
bool TypesAs(TableId id, int col, const QString& text, const TCellRule& rule)
{
    TCellEditState state;
    QString rest = text;
    if (rule.kind == CellRule::Phone) {
        if (!text.startsWith(kPhonePrefix))
            return false;
        state = {kPhonePrefix, int(kPhonePrefix.size()), 0};
        rest = text.mid(kPhonePrefix.size());
    }
    for (QChar key : rest) {
        const TKeyOutcome o = CellKeyPress(id, col, state, key);
        if (o.action == KeyAction::Swallow)
            return false;
        if (o.action == KeyAction::Pass)
            state = {state.text + key, state.caret + 1, 0};
        else
            state = o.state;
    }
    return state.text == text;
}

QString Quoted(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

}  // namespace

QString CellTextProblem(TableId id, int col, const QString& text)
{
    if (HasControl(text))
        return QStringLiteral("управляющий символ в тексте");
    const TCellRule rule = CellKeyRule(id, col);
    if (id == TableId::Agents && col >= kAgentFirstField && col <= kAgentLastField && text == kNotUsed)
        return {};
    switch (rule.kind) {
    case CellRule::Fixed:
        return {};
    case CellRule::ListOnly: {
        const QStringList& items = ListItems(ColumnList(id, col));
        if (text.isEmpty() || items.contains(text))
            return {};
        return QStringLiteral("%1 нет в списке (%2)").arg(Quoted(text), items.join(QStringLiteral(", ")));
    }
    case CellRule::Price:
    case CellRule::Quantity:
        try {
            rule.kind == CellRule::Price ? EncodePrice(text) : EncodeQuantity(text);
        } catch (const ConversionError& e) {
            return e.message();
        }
        if (text.size() > rule.limit)
            return QStringLiteral("%1 длиннее %2 символов").arg(Quoted(text)).arg(rule.limit);
        return {};
    case CellRule::Text:
        if (text.size() > rule.limit)
            return QStringLiteral("%1 длиннее %2 символов").arg(Quoted(text)).arg(rule.limit);
        return TypesAs(id, col, text, rule) ? QString() : QStringLiteral("%1 не набрать в ячейке").arg(Quoted(text));
    case CellRule::Digits:
        if (text.size() > rule.limit)
            return QStringLiteral("%1 длиннее %2 цифр").arg(Quoted(text)).arg(rule.limit);
        return TypesAs(id, col, text, rule) ? QString() : QStringLiteral("%1: допустимы только цифры").arg(Quoted(text));
    case CellRule::Phone:
        if (text.size() > rule.limit)
            return QStringLiteral("%1 длиннее %2 символов").arg(Quoted(text)).arg(rule.limit);
        return TypesAs(id, col, text, rule) ? QString()
                                            : QStringLiteral("%1: телефон - это \"+7\" и цифры").arg(Quoted(text));
    }
    return {};
}

QString TakeFileRow(TableId id, TGridData& grid, TAgentLocks& locks, int row)
{
    const TTableDef& def = TableDef(id);
    for (int c = 1; c < grid.ColCount(); ++c) {
        const QString problem = CellTextProblem(id, c, grid.Cell(c, row));
        if (!problem.isEmpty())
            return QStringLiteral("столбец \"%1\": %2").arg(def.columns[c].heading, problem);
    }
    if (id != TableId::Agents || grid.Cell(1, row).isEmpty())
        return {};
    const int signIndex = int(AgentSigns().indexOf(grid.Cell(1, row)));
    // The grid replaces these fields by the placeholder: a value there would be lost without a word.
    for (int c : AgentUnusedColumns(signIndex)) {
        const QString& text = grid.Cell(c, row);
        if (!text.isEmpty() && text != kNotUsed && text != kPhonePrefix)
            return QStringLiteral("столбец \"%1\": признак %2 это поле не использует, а в нём %3")
                .arg(def.columns[c].heading, Quoted(grid.Cell(1, row)), Quoted(text));
    }
    ChooseAgentSign(grid, locks, row, signIndex);
    return {};
}

QString WriteRowProblem(TableId id, const TGridData& grid, int row)
{
    switch (id) {
    case TableId::Goods:
        try {
            GoodsItemFromRow(grid, row);
        } catch (const ConversionError& e) {
            return e.message();
        }
        return {};
    case TableId::Agents:
        return CheckAgentRow(grid, row) ? QString() : QStringLiteral("данные агента не корректны");
    case TableId::Sections:
        return SectionAttributes(grid, row) ? QString()
                                            : QStringLiteral("тип секции %1 не найден в списке типов")
                                                  .arg(Quoted(grid.Cell(2, row)));
    default:
        return {};
    }
}

QString GridWriteProblem(TableId id, const TGridData& grid, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        QString problem;
        for (int c = 1; c < grid.ColCount() && problem.isEmpty(); ++c)
            if (QString p = CellTextProblem(id, c, grid.Cell(c, row)); !p.isEmpty())
                problem = QStringLiteral("столбец \"%1\": %2").arg(TableDef(id).columns[c].heading, p);
        if (problem.isEmpty())
            problem = WriteRowProblem(id, grid, row);
        if (!problem.isEmpty())
            return QStringLiteral("строка таблицы \"%1\": %2").arg(grid.Cell(0, row), problem);
    }
    return {};
}
