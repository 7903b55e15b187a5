#include "tables/tablerun.h"

#include "text/conversion.h"
#include "tables/encoding.h"
#include "tables/rangecheck.h"

#include <QThread>
#include <cmath>
#include <optional>

namespace {

constexpr uint8_t kTableOperators = 0;
constexpr uint8_t kTableSections = 2;
constexpr uint8_t kTableCliche = 4;
constexpr uint8_t kTableEnterprises = 6;
constexpr uint8_t kTableStations = 7;

QString Failure(KktResult code, const QString& what, int n)
{
    return QStringLiteral("Внимание!\r\nОшибка (%1) %2%3 !").arg(code).arg(what).arg(n);
}

// What failed, in the words of the messages: "при записи оператора с номером " and so on.
QString WriteWhat(TableId id)
{
    switch (id) {
    case TableId::Operators: return QStringLiteral("при записи оператора с номером ");
    case TableId::Goods: return QStringLiteral("при записи базы. Товар номер ");
    case TableId::Sections: return QStringLiteral("при записи признака предмета расчета с номером ");
    case TableId::Cliche: return QStringLiteral("при записи строки клише с номером ");
    case TableId::Agents: return QStringLiteral("при записи строки параметра агента с номером ");
    case TableId::Enterprises: return QStringLiteral("при записи строки предприятия с номером ");
    case TableId::Stations: return QStringLiteral("при записи строки станции с номером ");
    case TableId::Module: break;  // the module's runs say what failed in words of their own
    }
    return {};
}

QString ReadWhat(TableId id)
{
    switch (id) {
    case TableId::Operators: return QStringLiteral("при чтении операторов. Оператор номер ");
    case TableId::Goods: return QStringLiteral("при чтении базы. Товар номер ");
    case TableId::Sections: return QStringLiteral("при чтении признака предмета расчета с номером ");
    case TableId::Cliche: return QStringLiteral("при чтении строки клише с номером ");
    case TableId::Agents: return QStringLiteral("при чтении строки параметра агента с номером ");
    case TableId::Enterprises: return QStringLiteral("при чтении строки предприятия с номером ");
    case TableId::Stations: return QStringLiteral("при чтении строки станции с номером ");
    case TableId::Module: break;
    }
    return {};
}

// The KktParam address of field `field` of entry `n`; the cliché lines share rows of table 4.
struct TParamTarget {
    uint8_t table;
    uint8_t row;
    uint8_t field;
};

TParamTarget ParamTarget(TableId id, int n, int field)
{
    switch (id) {
    case TableId::Operators: return {kTableOperators, uint8_t(n), uint8_t(field)};
    case TableId::Sections: return {kTableSections, uint8_t(n), uint8_t(field)};
    case TableId::Cliche: {
        const TParamAddress a = ClicheAddress(n);
        return {kTableCliche, a.row, a.field};
    }
    case TableId::Enterprises: return {kTableEnterprises, uint8_t(n), uint8_t(field)};
    default: return {kTableStations, uint8_t(n), uint8_t(field)};
    }
}

// Keeps the counts of a run and gives the hooks their turn after each exchange.
class TRun {
public:
    TRun(TableId id, int entries, const TRunHooks& hooks, bool writing)
        : m_id(id), m_hooks(hooks), m_writing(writing)
    {
        m_result.entries = entries;
        m_total = m_result.entries * ExchangesPerEntry(id);
    }

    // After a successful exchange; false when the user asked to stop.
    bool Exchanged()
    {
        ++m_done;
        if (m_hooks.progress)
            m_hooks.progress(m_done, m_total);
        return !(m_hooks.aborted && m_hooks.aborted());
    }
    void EntryDone(int row)
    {
        ++m_result.entriesDone;
        if (m_hooks.entryDone)
            m_hooks.entryDone(row);
    }
    void Pause() const
    {
        if (m_hooks.pause)
            m_hooks.pause(kAgentPauseMs);
        else
            QThread::msleep(kAgentPauseMs);
    }
    void RowWritten(int row) const
    {
        if (m_hooks.rowWritten)
            m_hooks.rowWritten(row);
    }

    TRunResult Fail(const QString& message, RunSeverity severity = RunSeverity::Error)
    {
        m_result.message = message;
        m_result.severity = severity;
        return m_result;
    }
    TRunResult Failed(KktResult code, int n)
    {
        return Fail(Failure(code, m_writing ? WriteWhat(m_id) : ReadWhat(m_id), n));
    }
    TRunResult Aborted()
    {
        m_result.aborted = true;
        const QString text = m_writing ? QStringLiteral("Внимание!\r\nЗапись прервана.\r\nЗаписано записей: %1 из %2.")
                                       : QStringLiteral("Внимание!\r\nЧтение прервано.\r\nПрочитано записей: %1 из %2.");
        return Fail(text.arg(m_result.entriesDone).arg(m_result.entries), RunSeverity::Information);
    }
    TRunResult Done() { return m_result; }

private:
    TableId m_id;
    const TRunHooks& m_hooks;
    bool m_writing;
    int m_total = 0;
    int m_done = 0;
    TRunResult m_result;
};

std::optional<TRunResult> CheckRunRange(TableId id, int first, int last)
{
    const TRangeCheck range = CheckRange(QString::number(first), QString::number(last), TableDef(id).size);
    if (range.ok)
        return std::nullopt;
    TRunResult r;
    r.message = range.message;
    r.severity = RunSeverity::Information;
    return r;
}

// The texts of the fields of entry n that travel through KktParam.
QStringList ParamFields(TableId id, const TGridData& grid, int n, QString* badSection)
{
    switch (id) {
    case TableId::Operators:
        return {grid.Cell(1, n), grid.Cell(2, n), grid.Cell(3, n), grid.Cell(4, n)};
    case TableId::Sections: {
        const std::optional<QString> attributes = SectionAttributes(grid, n);
        if (!attributes)
            *badSection = grid.Cell(2, n);
        return {grid.Cell(1, n), attributes.value_or(QString())};
    }
    case TableId::Enterprises:
        return {grid.Cell(1, n), grid.Cell(2, n)};
    default:
        return {grid.Cell(1, n)};
    }
}

QString ConversionFailure(const QString& what, int n, const ConversionError& e)
{
    return QStringLiteral("Внимание!\r\nОшибка %1%2 !\r\n%3").arg(what).arg(n).arg(e.message());
}

}  // namespace

int ExchangesPerEntry(TableId id)
{
    switch (id) {
    case TableId::Operators: return 4;
    case TableId::Sections:
    case TableId::Enterprises: return 2;
    default: return 1;
    }
}

int ProgressPercent(int done, int total)
{
    return total <= 0 ? 0 : int(std::lround(done * 100.0 / total));
}

TRunResult WriteTable(TableId id, const TGridData& grid, int first, int last, KktLink& link,
                      const KktLinkArgs& args, const TRunHooks& hooks)
{
    if (auto bad = CheckRunRange(id, first, last))
        return *bad;
    QList<int> rows;
    rows.reserve(last - first + 1);
    for (int n = first; n <= last; ++n)
        rows.push_back(n);
    return WriteTableRows(id, grid, rows, link, args, hooks);
}

TRunResult WriteTableRows(TableId id, const TGridData& grid, const QList<int>& rows, KktLink& link,
                          const KktLinkArgs& args, const TRunHooks& hooks)
{
    for (int n : rows)
        if (auto bad = CheckRunRange(id, n, n))
            return *bad;
    TRun run(id, int(rows.size()), hooks, true);
    for (int n : rows) {
        if (id == TableId::Goods) {
            KktGoodsItem item;
            try {
                item = GoodsItemFromRow(grid, n);
            } catch (const ConversionError& e) {
                return run.Fail(ConversionFailure(WriteWhat(id), n, e));
            }
            uint16_t code = uint16_t(n);
            const KktResult r = link.KktGoods(args, KKT_WRITE, code, item);
            if (r != KKT_OK)
                return run.Failed(r, n);
            run.EntryDone(n);
            if (!run.Exchanged())
                return run.Aborted();
            continue;
        }
        if (id == TableId::Agents) {
            if (!CheckAgentRow(grid, n))
                return run.Fail(
                    QStringLiteral("Внимание!\r\nПеред записью произошла ошибка. Данные агента под номером %1 не корректны!")
                        .arg(n),
                    RunSeverity::Warning);
            KktAgentRecord agent = AgentRecordFromRow(grid, n);
            const KktResult r = link.KktAgent(args, KKT_WRITE, agent);
            if (r != KKT_OK)
                return run.Failed(r, n);
            run.EntryDone(n);
            if (!run.Exchanged())
                return run.Aborted();
            run.Pause();
            continue;
        }
        QString badSection;
        const QStringList fields = ParamFields(id, grid, n, &badSection);
        if (!badSection.isNull())
            return run.Fail(
                QStringLiteral("Внимание!\r\nТип секции \"%1\" не найден в списке типов. Секция номер %2 не записана!")
                    .arg(badSection)
                    .arg(n));
        for (int f = 0; f < fields.size(); ++f) {
            const TParamTarget t = ParamTarget(id, n, f);
            QString value = fields[f];
            const KktResult r = link.KktParam(args, KKT_WRITE, t.table, t.row, t.field, value);
            if (r != KKT_OK)
                return run.Failed(r, n);
            if (f + 1 == fields.size())
                run.EntryDone(n);
            if (!run.Exchanged())
                return run.Aborted();
        }
    }
    return run.Done();
}

TRunResult ReadTable(TableId id, TGridData& grid, TAgentLocks& locks, int first, int last, KktLink& link,
                     const KktLinkArgs& args, const TRunHooks& hooks)
{
    if (auto bad = CheckRunRange(id, first, last))
        return *bad;
    TRun run(id, last - first + 1, hooks, false);
    const int size = TableDef(id).size;
    for (int n = first; n <= last; ++n) {
        if (id == TableId::Goods) {
            KktGoodsItem item;
            uint16_t code = uint16_t(n);
            const KktResult r = link.KktGoods(args, KKT_READ, code, item);
            if (r != KKT_OK)
                return run.Failed(r, n);
            // The answer names the row it belongs to; a number outside the grid is a failed read.
            if (code < 1 || code > size)
                return run.Fail(QStringLiteral("Внимание!\r\nОшибка при чтении базы. Товар номер %1 !\r\n"
                                               "ККТ вернула товар с номером %2, которого нет в таблице.")
                                    .arg(n)
                                    .arg(code));
            ApplyGoodsItem(grid, code, item);
            run.RowWritten(code);
            run.EntryDone(code);
            if (!run.Exchanged())
                return run.Aborted();
            continue;
        }
        if (id == TableId::Agents) {
            KktAgentRecord agent;
            agent.number = uint8_t(n);
            const KktResult r = link.KktAgent(args, KKT_READ, agent);
            if (r != KKT_OK)
                return run.Failed(r, n);
            if (agent.number < 1 || agent.number > size)
                return run.Fail(
                    QStringLiteral("Внимание!\r\nОшибка при чтении строки параметра агента с номером %1 !\r\n"
                                   "ККТ вернула агента с номером %2, которого нет в таблице.")
                        .arg(n)
                        .arg(agent.number));
            ApplyAgentRecord(grid, locks, agent);
            run.RowWritten(agent.number);
            run.EntryDone(agent.number);
            if (!run.Exchanged())
                return run.Aborted();
            run.Pause();
            continue;
        }
        const int fields = ExchangesPerEntry(id);
        for (int f = 0; f < fields; ++f) {
            const TParamTarget t = ParamTarget(id, n, f);
            QString value;
            const KktResult r = link.KktParam(args, KKT_READ, t.table, t.row, t.field, value);
            if (r != KKT_OK)
                return run.Failed(r, n);
            if (id == TableId::Sections && f == 1) {
                const QStringList cells = DecodeSectionAttributes(value);
                for (int c = 0; c < cells.size(); ++c)
                    grid.SetCell(2 + c, n, cells[c]);
            } else {
                grid.SetCell(f + 1, n, value);
            }
            run.RowWritten(n);
            if (f + 1 == fields)
                run.EntryDone(n);
            if (!run.Exchanged())
                return run.Aborted();
        }
    }
    return run.Done();
}
