#include "files/ui/fileactions.h"

#include "app/ui/filedialogs.h"
#include "app/ui/messages.h"
#include "app/ui/uwait.h"
#include "files/configfile.h"
#include "files/configgrids.h"
#include "files/exchange1c.h"
#include "files/filetexts.h"
#include "files/goodsdb.h"
#include "files/goodsgrid.h"
#include "files/workbook.h"
#include "files/xlstool.h"
#include "app/session.h"
#include "whole/ui/wholerunactions.h"
#include "module/ui/gsmsettingframe.h"
#include "tables/ui/setvaroframe.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

using namespace filetexts;

namespace {

// The wait window stays on screen, repainting, for the pause before a configuration transfer.
void PauseWithWaitWindow(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Hides the wait window on every way out.
struct WaitGuard {
    explicit WaitGuard(const QString& text) { ShowWait(text); }
    ~WaitGuard() { HideWait(); }
};

}  // namespace

void SaveConfigInteractive(QWidget* parent, TConfig& config, const TKktRegister& reg)
{
    const QString name = ChooseFileName(parent, FileDialogMode::Save, kConfigFilter, kConfigSuffix);
    if (name.isEmpty())
        return;
    GridsToConfig(reg, config);
    QString error;
    bool saved = false;
    {
        WaitGuard wait(kConfigSaveWait);
        PauseWithWaitWindow(kConfigPauseMs);
        saved = SaveConfigFile(name, config, &error);
    }
    if (!saved)
        ShowMessage(parent, MsgKind::Error, error);
}

void LoadConfigInteractive(QWidget* parent, TConfig& config, TKktRegister& reg, TFrameSetVaro& tables,
                           TFrameGsmSetting& gsm)
{
    const QString name = ChooseFileName(parent, FileDialogMode::Open, kConfigFilter, kConfigSuffix);
    if (name.isEmpty())
        return;
    // Read into a copy: a file that fails half-way leaves the snapshot and the grids as they were.
    TConfig loaded = config;
    QString error;
    bool ok = false;
    {
        WaitGuard wait(kConfigLoadWait);
        PauseWithWaitWindow(kConfigPauseMs);
        ok = LoadConfigFile(name, loaded, &error);
    }
    if (!ok) {
        ShowMessage(parent, MsgKind::Error, error);
        return;
    }
    config = loaded;
    ConfigToGrids(config, reg);
    RefreshParts(tables, gsm, TRegisterParts::All());
}

void SaveWorkbookInteractive(QWidget* parent, const KktSession& session, const TKktRegister& reg,
                             const RegistrationData* registration)
{
    const QString name = ChooseFileName(parent, FileDialogMode::Save, kWorkbookFilter, kWorkbookSuffix);
    if (name.isEmpty())
        return;
    QString error;
    {
        WaitGuard wait(kWorkbookSaveWait);
        error = SaveWorkbook(name, reg, TRegisterParts::All(), registration,
                             DescribeCopy(session.LinkArgs(), registration));
    }
    if (!error.isEmpty())
        ShowMessage(parent, MsgKind::Error, error);
    else
        session.Tell(QStringLiteral("Всё сохранено в книгу \"%1\".").arg(QDir::toNativeSeparators(name)));
}

void LoadWorkbookInteractive(QWidget* parent, const KktSession& session, TKktRegister& reg, TFrameSetVaro& tables,
                             TFrameGsmSetting& gsm)
{
    const QString name = ChooseFileName(parent, FileDialogMode::Open, kWorkbookFilter, kWorkbookSuffix);
    if (name.isEmpty())
        return;
    TWorkbookLoad load;
    {
        WaitGuard wait(kWorkbookLoadWait);
        load = LoadWorkbook(name, reg);
    }
    if (!load.ok()) {
        ShowMessage(parent, MsgKind::Error, load.error);
        return;
    }
    RefreshParts(tables, gsm, load.parts);
    QStringList sheets;
    for (int i = 0; i < kPartCount; ++i)
        if (load.parts.Has(TableId(i)))
            sheets << TableDef(TableId(i)).caption;
    session.Tell(QStringLiteral("Из книги \"%1\" загружено: %2.")
                     .arg(QDir::toNativeSeparators(name), sheets.join(QStringLiteral(", "))));
}

TGoodsFileActions::TGoodsFileActions(TFrameSetVaro& tables) : QObject(&tables), m_tables(tables)
{
    connect(tables.btnSaveBase, &QPushButton::clicked, this, &TGoodsFileActions::Button1Click);
    connect(tables.btnLoadBase, &QPushButton::clicked, this, &TGoodsFileActions::Button2Click);
    connect(tables.actLoad1cdb, &QAction::triggered, this, &TGoodsFileActions::Load1cdbClick);
    connect(tables.actSave1cdb, &QAction::triggered, this, &TGoodsFileActions::Save1cdbClick);
    connect(tables.actLoadXls, &QAction::triggered, this, &TGoodsFileActions::LoadXlsClick);
}

void TGoodsFileActions::Button1Click()
{
    const QString name = ChooseFileName(&m_tables, FileDialogMode::Save, kGoodsDbSaveFilter, kGoodsDbSuffix);
    if (name.isEmpty())
        return;
    QString error;
    bool saved = false;
    {
        WaitGuard wait(kGoodsDbSaveWait);
        saved = SaveGoodsDbFile(name, GoodsFromGrid(m_tables.Grid(TableId::Goods)), &error);
    }
    if (!saved)
        ShowMessage(&m_tables, MsgKind::Error, error);
}

void TGoodsFileActions::Button2Click()
{
    const QString name = ChooseFileName(&m_tables, FileDialogMode::Open, kGoodsDbOpenFilter, kGoodsDbSuffix);
    if (name.isEmpty())
        return;
    TGoodsTable goods;
    QString error;
    bool loaded = false;
    {
        WaitGuard wait(kGoodsDbLoadWait);
        loaded = LoadGoodsDbFile(name, goods, &error);
    }
    if (!loaded) {
        ShowMessage(&m_tables, MsgKind::Error, error);
        return;
    }
    GoodsToGrid(goods, m_tables.Grid(TableId::Goods));
    m_tables.RefreshGrid(TableId::Goods);
}

void TGoodsFileActions::Load1cdbClick()
{
    const QString name = ChooseFileName(&m_tables, FileDialogMode::Open, k1cdbFilter, k1cdbSuffix);
    if (name.isEmpty())
        return;
    const T1cdbLoad load = Load1cdbFile(name);
    if (!load.import) {
        ShowMessage(&m_tables, MsgKind::Error, load.error);
        return;
    }
    if (!load.import->accepted) {
        ShowMessage(&m_tables, MsgKind::Warning, k1cdbRejected);
        return;
    }
    GoodsToGrid(load.import->goods, m_tables.Grid(TableId::Goods));
    m_tables.RefreshGrid(TableId::Goods);
    ShowMessage(&m_tables, MsgKind::Information, Loaded1cdbText(load.import->count));
}

void TGoodsFileActions::Save1cdbClick()
{
    const QString name = ChooseFileName(&m_tables, FileDialogMode::Save, k1cdbFilter, k1cdbSuffix);
    if (name.isEmpty())
        return;
    const T1cdbSave save = Save1cdbFile(name, GoodsFromGrid(m_tables.Grid(TableId::Goods)));
    if (save.ok)
        ShowMessage(&m_tables, MsgKind::Information, k1cdbSaved);
    else
        ShowMessage(&m_tables, MsgKind::Error, save.error);
}

void TGoodsFileActions::LoadXlsClick()
{
    const QString name = ChooseFileName(&m_tables, FileDialogMode::Open, kXlsFilter, kXlsSuffix);
    if (name.isEmpty())
        return;
    const TXlsImport import = XlsToGoods(name);
    if (import.status == 1)
        return;  // no reader knows this kind of file: nothing happens, as with a missing application
    if (!import.goods) {
        ShowMessage(&m_tables, MsgKind::Error, import.error);
        return;
    }
    GoodsToGrid(*import.goods, m_tables.Grid(TableId::Goods));
    m_tables.RefreshGrid(TableId::Goods);
}
