#include "module/gsmtransfer.h"

#include "module/gsmgrid.h"

namespace {

class TGsmRun {
public:
    TGsmRun(const TRunHooks& hooks, int rows, bool writing) : m_hooks(hooks), m_writing(writing)
    {
        m_result.entries = rows;
    }

    bool Aborted() const { return m_hooks.aborted && m_hooks.aborted(); }
    TRunResult Stopped()
    {
        m_result.aborted = true;
        m_result.severity = RunSeverity::Information;
        m_result.message = m_writing ? QStringLiteral("Внимание!\r\nЗапись прервана.")
                                     : QStringLiteral("Внимание!\r\nЧтение прервано.");
        return m_result;
    }
    TRunResult Failed(int row)
    {
        m_result.severity = RunSeverity::Error;
        m_result.message = (m_writing ? QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр ")
                                      : QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать параметр ")) +
                           GsmRowCaption(row) + QStringLiteral("!");
        return m_result;
    }
    void EntryDone(int row)
    {
        ++m_result.entriesDone;
        if (m_hooks.entryDone)
            m_hooks.entryDone(row);
    }
    void Progress() const
    {
        if (m_hooks.progress)
            m_hooks.progress(m_result.entriesDone, m_result.entries);
    }
    TRunResult Done() const { return m_result; }

private:
    const TRunHooks& m_hooks;
    bool m_writing;
    TRunResult m_result;
};

}  // namespace

TRunResult WriteGsmParams(KktLink& link, const KktLinkArgs& args, const TGridData& grid, const TRunHooks& hooks)
{
    return WriteGsmRows(link, args, grid, WholeRange(TableId::Module), hooks);
}

TRunResult WriteGsmRows(KktLink& link, const KktLinkArgs& args, const TGridData& grid, const QList<int>& rows,
                        const TRunHooks& hooks)
{
    TGsmRun run(hooks, int(rows.size()), true);
    for (int row : rows) {
        if (run.Aborted())
            return run.Stopped();
        QString value = row == gsm::DeviceRow ? DeviceCodeFromText(grid.Cell(1, row)) : grid.Cell(1, row);
        const KktResult r = link.KktParam(args, KKT_WRITE, gsm::kTable, static_cast<uint8_t>(row), gsm::kField, value);
        if (r != KKT_OK)
            return run.Failed(row);
        run.EntryDone(row);
        run.Progress();
    }
    return run.Done();
}

TRunResult ReadGsmParams(KktLink& link, const KktLinkArgs& args, TGridData& grid, const TRunHooks& hooks)
{
    TGsmRun run(hooks, gsm::kRows, false);
    for (int row = 1; row <= gsm::kRows; ++row) {
        if (run.Aborted())
            return run.Stopped();
        QString value;
        const KktResult r = link.KktParam(args, KKT_READ, gsm::kTable, static_cast<uint8_t>(row), gsm::kField, value);
        if (r != KKT_OK)
            return run.Failed(row);
        grid.SetCell(1, row, row == gsm::DeviceRow ? DeviceTextFromCode(value) : value);
        run.EntryDone(row);
        run.Progress();
    }
    return run.Done();
}
