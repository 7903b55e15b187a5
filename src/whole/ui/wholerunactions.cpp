#include "whole/ui/wholerunactions.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "module/ui/gsmsettingframe.h"
#include "tables/ui/setvaroframe.h"
#include "whole/wholerun.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

MsgKind MessageKind(RunSeverity severity)
{
    return severity == RunSeverity::Information ? MsgKind::Information
           : severity == RunSeverity::Warning   ? MsgKind::Warning
                                                : MsgKind::Error;
}

}  // namespace

TRegisterGrids FrameGrids(TFrameSetVaro& tables, TFrameGsmSetting& gsm)
{
    TRegisterGrids grids;
    for (int i = 0; i < kTableCount; ++i)
        grids.tables[size_t(i)] = &tables.Grid(TableId(i));
    grids.locks = &tables.AgentLocks();
    grids.gsm = &gsm.Grid();
    return grids;
}

TWholeRunActions::TWholeRunActions(QWidget* window, KktSession& session, TFrameSetVaro& tables, TFrameGsmSetting& gsm)
    : QObject(window), m_window(window), m_session(session), m_tables(tables), m_gsm(gsm)
{
}

void TWholeRunActions::ReadAllClick()
{
    Run(true);
}

void TWholeRunActions::WriteAllClick()
{
    Run(false);
}

void TWholeRunActions::Run(bool reading)
{
    if (m_running || m_tables.Running())
        return;
    m_running = true;
    if (onBusy)
        onBusy(false);
    // Sized once for the three lines that the progress then replaces.
    ShowWait(WholeProgressText(reading, {}), true);
    const TWholeHooks hooks = Hooks(reading, [reading](const TWholeProgress& p) { return WholeProgressText(reading, p); });
    const TRegisterGrids grids = FrameGrids(m_tables, m_gsm);
    RegistrationData registration;
    const TWholeResult result = reading
                                    ? ReadAll(m_session.Link, m_session.LinkArgs(), grids, &registration, hooks)
                                    : WriteAll(m_session.Link, m_session.LinkArgs(), grids, hooks);
    HideWait();
    if (reading) {
        for (int i = 0; i < kTableCount; ++i)
            m_tables.RefreshGrid(TableId(i));
        if (result.ok() || result.part != kRegistrationPartCaption)
            m_registration = registration;
    }
    if (onBusy)
        onBusy(true);
    m_running = false;
    if (result.aborted)
        m_session.Tell(StatusLine(result.message));
    if (!result.ok())
        ShowMessage(m_window, MessageKind(result.severity), result.message);
}

TWholeHooks TWholeRunActions::Hooks(bool reading, const std::function<QString(const TWholeProgress&)>& text)
{
    TWholeHooks hooks;
    hooks.progress = [text](const TWholeProgress& p) {
        WaitWindow()->lbl1->setText(text(p));
        QCoreApplication::processEvents();
    };
    hooks.aborted = [] { return WaitAborted(); };
    hooks.tableHooks = [this, reading](TableId id) { return m_tables.RunHooks(id, reading); };
    hooks.gsmRowDone = [this](int row) { m_gsm.Grid().RowKnown(row); };
    return hooks;
}

QList<TUnsentPart> TWholeRunActions::Unsent() const
{
    return UnsentParts(FrameGrids(m_tables, m_gsm), [this](TableId id) -> const TKnownRows& { return m_tables.Known(id); });
}

bool TWholeRunActions::WriteUnsentRows(const QList<TUnsentPart>& parts)
{
    if (m_running || m_tables.Running())
        return false;
    m_running = true;
    if (onBusy)
        onBusy(false);
    ShowWait(kWriteWaitText, true);
    const TWholeHooks hooks =
        Hooks(false, [](const TWholeProgress& p) { return kWriteWaitText + QStringLiteral("\n") + p.part; });
    const TWholeResult result = WriteUnsent(m_session.Link, m_session.LinkArgs(), FrameGrids(m_tables, m_gsm), parts, hooks);
    HideWait();
    if (onBusy)
        onBusy(true);
    m_running = false;
    if (result.aborted)
        m_session.Tell(StatusLine(result.message));
    if (!result.ok())
        ShowMessage(m_window, MessageKind(result.severity), result.message);
    return result.ok();
}
