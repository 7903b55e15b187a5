#include "app/mainwindow/mainform.h"

#include "app/myinifile.h"
#include "app/programversion.h"
#include "app/settings.h"
#include "app/ui/messages.h"
#include "app/ui/settform.h"
#include "app/ui/versionform.h"
#include "fiscal/ui/ufiscalization.h"
#include "fiscal/ui/ufiscalizationreason.h"
#include "files/ui/fileactions.h"
#include "scanner/ui/scancontroller.h"
#include "scanner/ui/udebugscan.h"
#include "tables/ui/shapecircle.h"
#include "link/portnames.h"
#include "link/resulttext.h"
#include "link/ui/udebugkkt.h"
#include "module/ui/gsmsettingframe.h"
#include "tables/ui/setvaroframe.h"
#include "whole/ui/fleetdialog.h"
#include "whole/ui/wholerunactions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolTip>

namespace {

const QString kSettingsNotSavedText = QStringLiteral(
    "ВНИМАНИЕ!\r\nНе удалось записать файл настроек - ProgSett.ini!\r\n"
    "Настройки связи действуют до закрытия программы.");

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent), PortLister([] { return ::GetCOM_Loop(); })
{
    setWindowTitle(QStringLiteral("Программирование параметров GSM модуля."));
    setMinimumSize(966, 657);
    RegistrationReason = new TfrmRegistratiobReason(this);
    frmDebugScan = new TfrmDebugScan(this);
    Scan = new TScanController(this, frmDebugScan, this);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    auto* host = new QGridLayout(Panel1);
    host->setContentsMargins(1, 1, 1, 1);
    setCentralWidget(Panel1);
    statusBar()->setSizeGripEnabled(true);
    // Every register command of the run passes the link: its result is explained where it happened.
    m_session.Link.setCommandObserver([this](const KktCommandReport& report) { ShowStatusText(KktResultText(report)); });
    m_session.ShowStatus = [this](const QString& text) { ShowStatusText(text); };

    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    N7 = file->addAction(QStringLiteral("Сохранить конфигурацию"), this, &TFormMain::N7Click);
    N7->setEnabled(false);  // nothing to save until a frame has been shown
    N8 = file->addAction(QStringLiteral("Загрузить конфигурацию"), this, &TFormMain::N8Click);
    SaveBook = file->addAction(QStringLiteral("Сохранить всё в книгу…"), this, &TFormMain::SaveBookClick);
    SaveBook->setEnabled(false);  // as "Сохранить конфигурацию"
    LoadBook = file->addAction(QStringLiteral("Загрузить всё из книги…"), this, &TFormMain::LoadBookClick);
    file->addSeparator();
    N2 = file->addAction(QStringLiteral("Выход"), this, &TFormMain::N2Click);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("Настройки"));
    N4 = settings->addAction(QStringLiteral("Связь с ККТ"), this, &TFormMain::N4Click);
    Scanner = settings->addAction(QStringLiteral("Сканер штрих-кода"), this, &TFormMain::ScannerClick);

    MenuProgramming = menuBar()->addMenu(QStringLiteral("Программирование"));
    GSM1 = MenuProgramming->addAction(QStringLiteral("Параметры GSM"), this, &TFormMain::GSM1Click);
    NVaro1 = MenuProgramming->addAction(QStringLiteral("Параметры"), this, &TFormMain::NVaro1Click);
    MenuProgramming->addSeparator();
    ReadAllItem = MenuProgramming->addAction(QStringLiteral("Прочитать всё из ККТ"), this, [this] {
        if (WholeRun)
            WholeRun->ReadAllClick();
    });
    WriteAllItem = MenuProgramming->addAction(QStringLiteral("Записать всё в ККТ"), this, [this] {
        if (WholeRun)
            WholeRun->WriteAllClick();
    });
    FleetItem = MenuProgramming->addAction(QStringLiteral("Записать на несколько ККТ…"), this, &TFormMain::FleetClick);

    // These two act on a click of the menu bar entry itself.
    MainMenuFiscalization = menuBar()->addAction(QStringLiteral("Фискализация"));
    connect(MainMenuFiscalization, &QAction::triggered, this, &TFormMain::MainMenuFiscalizationClick);
    N6 = menuBar()->addAction(QStringLiteral("Версия"));
    connect(N6, &QAction::triggered, this, &TFormMain::N6Click);

    ActionDebug = new QAction(this);
    ActionDebug->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    ActionDebug->setShortcutContext(Qt::WindowShortcut);
    addAction(ActionDebug);
    connect(ActionDebug, &QAction::triggered, this, &TFormMain::ActionDebugExecute);
    // An editor with the focus (a grid cell, a range box) would take Ctrl+A as "select all".
    qApp->installEventFilter(this);
}

void TFormMain::ShowStatusText(const QString& text)
{
    statusBar()->showMessage(text);
    statusBar()->setToolTip(text);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    // A click on the status bar shows its whole text at once, without waiting for the tooltip.
    if (watched == statusBar() && event->type() == QEvent::MouseButtonPress && !statusBar()->currentMessage().isEmpty()) {
        QToolTip::showText(static_cast<QMouseEvent*>(event)->globalPosition().toPoint(), statusBar()->currentMessage(),
                           statusBar());
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && key->key() == Qt::Key_A
            && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            // Handled without being accepted: the shortcut, not the editor, gets the key.
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

TFormMain::~TFormMain()
{
    // The frames show Register, a member, which is gone before the base class deletes the children.
    delete SetVaroFrame;
    SetVaroFrame = nullptr;
    delete GsmFrame;
    GsmFrame = nullptr;
    m_session.Link.setFrameLog(nullptr);
    m_session.Link.setCommandObserver({});
    m_session.ShowStatus = {};
}

void TFormMain::AttachDebugWindow(TfrmDebugKKM* window)
{
    m_debug = window;
    m_session.Link.setFrameLog(window);
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Start-up runs once the window is on screen, from the event loop, so that its modal boxes and
    // dialog appear over the main window.
    if (!m_startupQueued) {
        m_startupQueued = true;
        QMetaObject::invokeMethod(this, &TFormMain::RunStartup, Qt::QueuedConnection);
    }
}

void TFormMain::RunStartup()
{
    if (m_startupDone)
        return;
    m_startupDone = true;

    if (!LoadIniSettings(ProgSettPath(), m_session.StructSett)) {
        ShowMessage(this, MsgKind::Information,
                    QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать файл настроек - ProgSett.ini!\r\n"
                                   "Попробуйте запустить программу от имени Администратора!"));
        close();
        return;
    }
    m_settingsLoaded = true;

    GetCOM_Loop(ArrCom);
    if (ArrCom.isEmpty()) {
        EnableMainMenu(false);
        ShowMessage(this, MsgKind::Information,
                    QStringLiteral("ВНИМАНИЕ!\r\nНа ПК не обнаружено ни одного COM порта!\r\n"
                                   "Связь с ККТ не будет установлена!"));
    }

    CreateFrames();
    EnableMainMenu(false);

    Version = ProgramVersion();
    setWindowTitle(windowTitle() + QStringLiteral(" (ver.") + Version + QStringLiteral(")"));

    // "Scan.cfg" (made empty when missing): without a scanner model the goods tab shows no indicator.
    ConnectScanner();
    Scan->LoadScanSettings();
    update();
    flagScan = true;

    if (ExecLinkDialog()) {
        EnableMainMenu(true);
        ShowFrame(SetVaroFrame);
    }
}

bool TFormMain::ExecLinkDialog()
{
    TFormSett dialog(m_session, ArrCom, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // What the user applied (often the port a search found) is kept at once: a crash or a killed
    // session must not lose it. Settings never read are not written over the file.
    if (m_settingsLoaded && !SaveIniSettings(ProgSettPath(), m_session.StructSett))
        ShowMessage(this, MsgKind::Warning, kSettingsNotSavedText);
    return true;
}

void TFormMain::ConnectScanner()
{
    TFrameSetVaro* tables = SetVaroFrame;
    TScanGoodsGrid grid;
    grid.currentCell = [tables](int& col, int& row) {
        const QPoint cell = tables->CurrentCell(TableId::Goods);
        col = cell.x();
        row = cell.y();
        return row > 0;
    };
    grid.setCell = [tables](int col, int row, const QString& text) { tables->SetCell(TableId::Goods, col, row, text); };
    grid.setResultLabel = [tables](const QString& text, const QColor& colour) {
        tables->lblCorrectShtrihCode->setText(text);
        tables->lblCorrectShtrihCode->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour.name()));
    };
    grid.setIndicator = [tables](TScanIndicator state) {
        tables->SetScannerIndicatorVisible(state != TScanIndicator::Hidden);
        if (state != TScanIndicator::Hidden)
            tables->Shape1->SetColor(ScanIndicatorColour(state));
    };
    Scan->setGoodsGrid(grid);
    tables->onGoodsTabShown = [this] { return Scan->GoodsTabShown(m_session.StructSett.PortSett.Name); };
    tables->onOtherTabShown = [this] { Scan->OtherTabShown(); };
}

void TFormMain::GetCOM_Loop(QStringList& arr) const
{
    arr = PortLister ? PortLister() : QStringList();
}

void TFormMain::EnableMainMenu(bool enable)
{
    MenuProgramming->menuAction()->setEnabled(enable);
}

void TFormMain::CreateFrames()
{
    CurrentVisibleFrame = nullptr;
    auto* host = static_cast<QGridLayout*>(Panel1->layout());
    GsmFrame = new TFrameGsmSetting(Register, Panel1);
    GsmFrame->hide();
    host->addWidget(GsmFrame, 0, 0);
    GsmFrame->Init(m_session);
    SetVaroFrame = new TFrameSetVaro(Register, Panel1);
    SetVaroFrame->hide();
    host->addWidget(SetVaroFrame, 0, 0);
    SetVaroFrame->Init(m_session);
    new TGoodsFileActions(*SetVaroFrame);  // owned by the frame
    WholeRun = new TWholeRunActions(this, m_session, Register, *SetVaroFrame, *GsmFrame);
    WholeRun->onBusy = [this](bool enabled) {
        menuBar()->setEnabled(enabled);
        Panel1->setEnabled(enabled);
    };
}

void TFormMain::ShowFrame(QWidget* frame)
{
    if (frame == CurrentVisibleFrame)
        return;
    if (CurrentVisibleFrame)
        CurrentVisibleFrame->hide();
    CurrentVisibleFrame = frame;
    if (frame)
        frame->show();
    N7->setEnabled(true);
    SaveBook->setEnabled(true);
    update();
}

void TFormMain::N7Click()
{
    if (SetVaroFrame && GsmFrame)
        SaveConfigInteractive(this, Config, Register);
}

void TFormMain::N8Click()
{
    if (SetVaroFrame && GsmFrame)
        LoadConfigInteractive(this, Config, Register, *SetVaroFrame, *GsmFrame);
}

void TFormMain::SaveBookClick()
{
    if (SetVaroFrame && GsmFrame && WholeRun)
        SaveWorkbookInteractive(this, m_session, Register, WholeRun->Registration());
}

void TFormMain::LoadBookClick()
{
    if (SetVaroFrame && GsmFrame)
        LoadWorkbookInteractive(this, m_session, Register, *SetVaroFrame, *GsmFrame);
}

void TFormMain::N2Click()
{
    close();
}

void TFormMain::N4Click()
{
    // USB adapters and simulators come and go while the program runs: list the ports anew.
    GetCOM_Loop(ArrCom);
    if (ExecLinkDialog())
        EnableMainMenu(true);
}

void TFormMain::ScannerClick()
{
    Scan->ScannerClick();
}

void TFormMain::GSM1Click()
{
    ShowFrame(GsmFrame);
}

void TFormMain::NVaro1Click()
{
    ShowFrame(SetVaroFrame);
}

void TFormMain::MainMenuFiscalizationClick()
{
    // A new window every time: it starts empty and requests the register's current data at once.
    TfrmFiscalization window(m_session, *RegistrationReason, this);
    window.exec();
}

void TFormMain::N6Click()
{
    TFormVersion version(Version, this);
    version.exec();
}

void TFormMain::FleetClick()
{
    if (WholeRun && WholeRun->Running())
        return;
    TFleetDialog dialog(m_session, Register, ArrCom, this);
    dialog.logFrame = [this](const QString& text, bool isAnswer) {
        if (!m_debug)
            return;
        if (isAnswer)
            m_debug->AddAnswerLine(text);
        else
            m_debug->AddRequestLine(text);
    };
    dialog.exec();
}

void TFormMain::ActionDebugExecute()
{
    if (!m_debug)
        return;
    m_debug->show();
    m_debug->raise();
    m_debug->activateWindow();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // Edits the register has not received are not lost without a word: write them, drop them, or stay.
    if (WholeRun && !WholeRun->Running()) {
        const QList<TUnsentPart> unsent = WholeRun->Unsent();
        if (!unsent.isEmpty()) {
            const MsgAnswer answer = AskYesNoCancel(this, UnsentQuestion(unsent));
            if (answer == MsgAnswer::Cancel || (answer == MsgAnswer::Yes && !WholeRun->WriteUnsentRows(unsent))) {
                event->ignore();
                return;
            }
        }
    } else if (WholeRun) {
        event->ignore();  // a whole-register run is under way; its "Прервать" ends it first
        return;
    }
    // Settings that could not be read are not written back over the file; a failed save is not
    // reported, the file then keeps its previous content.
    if (m_settingsLoaded)
        SaveIniSettings(ProgSettPath(), m_session.StructSett);
    QMainWindow::closeEvent(event);
}
