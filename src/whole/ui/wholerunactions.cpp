#include "whole/ui/wholerunactions.h"

#include "app/session.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "module/gsmgrid.h"
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

void RefreshParts(TFrameSetVaro& tables, TFrameGsmSetting& gsm, const TRegisterParts& parts)
{
    for (int i = 0; i < kTableCount; ++i)
        if (parts.Has(TableId(i)))
            tables.RefreshGrid(TableId(i));
    if (parts.Has(TableId::Module))
        gsm.Grid().Refresh();
}

TWholeRunActions::TWholeRunActions(QWidget* window, KktSession& session, TKktRegister& reg, TFrameSetVaro& tables,
                                   TFrameGsmSetting& gsm)
    : QObject(window), m_window(window), m_session(session), m_reg(reg), m_tables(tables), m_gsm(gsm)
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
    RegistrationData registration;
    const TWholeResult result = reading
                                    ? ReadAll(m_session.Link, m_session.LinkArgs(), m_reg, &registration, hooks)
                                    : WriteAll(m_session.Link, m_session.LinkArgs(), m_reg, hooks);
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
    hooks.partHooks = [this, reading](TableId id) {
        return id == TableId::Module ? m_gsm.RunHooks() : m_tables.RunHooks(id, reading);
    };
    return hooks;
}

QList<TUnsentPart> TWholeRunActions::Unsent() const
{
    return UnsentParts(m_reg);
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
    const TWholeResult result = WriteUnsent(m_session.Link, m_session.LinkArgs(), m_reg, parts, hooks);
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
