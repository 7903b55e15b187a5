#pragma once
#include "whole/kktregister.h"
#include "app/session.h"
#include "files/config.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QFrame;
class QMenu;
class TFrameGsmSetting;
class TFrameSetVaro;
class TfrmDebugKKM;
class TfrmRegistratiobReason;
class TfrmDebugScan;
class TScanController;
class TGoodsFileActions;
class TWholeRunActions;

// The program's main window: the menu, the client panel that hosts one work frame at a time, and the
// session (link settings and the register link) every window of the run works with.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    KktSession& Session() { return m_session; }

    // The exchange log window of the run: shown by Ctrl+A, stays on top, receives every frame.
    void AttachDebugWindow(TfrmDebugKKM* window);
    TfrmDebugKKM* DebugWindow() const { return m_debug; }

    // The start-up sequence; runs once, queued from the first show. Public so that it can be driven
    // directly, with the messages and the link dialog answered.
    void RunStartup();

    void GetCOM_Loop(QStringList& arr) const;
    // Where the port names come from (the machine's ports by default).
    std::function<QStringList()> PortLister;

    void EnableMainMenu(bool enable);
    void ShowFrame(QWidget* frame);
    void CreateFrames();

    QFrame* Panel1 = nullptr;
    QAction* N7 = nullptr;  // "Сохранить конфигурацию"
    QAction* N8 = nullptr;  // "Загрузить конфигурацию"
    QAction* SaveBook = nullptr;  // "Сохранить всё в книгу…"
    QAction* LoadBook = nullptr;  // "Загрузить всё из книги…"
    QAction* N2 = nullptr;  // "Выход"
    QAction* N4 = nullptr;  // "Связь с ККТ"
    QAction* Scanner = nullptr;  // "Сканер штрих-кода"
    QMenu* MenuProgramming = nullptr;  // "Программирование"
    QAction* GSM1 = nullptr;   // "Параметры GSM"
    QAction* NVaro1 = nullptr; // "Параметры"
    QAction* ReadAllItem = nullptr;   // "Прочитать всё из ККТ"
    QAction* WriteAllItem = nullptr;  // "Записать всё в ККТ"
    QAction* FleetItem = nullptr;     // "Записать на несколько ККТ…"
    TWholeRunActions* WholeRun = nullptr;  // made with the frames
    QAction* MainMenuFiscalization = nullptr;  // "Фискализация"
    QAction* N6 = nullptr;     // "Версия"
    QAction* ActionDebug = nullptr;  // Ctrl+A, no menu item

    // The re-registration reason dialog lives for the whole run and keeps its ticks between uses.
    TfrmRegistratiobReason* RegistrationReason = nullptr;

    // The register as the window holds it: the frames show and edit it, files and runs go through it.
    TKktRegister Register;
    // The snapshot the configuration file stores; fields without a grid cell survive between files.
    TConfig Config;
    TfrmDebugScan* frmDebugScan = nullptr;  // "Отладка сканера"
    TScanController* Scan = nullptr;         // the scanner reader and its settings

    QStringList ArrCom;
    QWidget* CurrentVisibleFrame = nullptr;
    TFrameGsmSetting* GsmFrame = nullptr;
    TFrameSetVaro* SetVaroFrame = nullptr;
    QString Version;
    bool flagScan = false;  // the scanner reader exists

public Q_SLOTS:
    void N7Click();
    void N8Click();
    void SaveBookClick();
    void LoadBookClick();
    void N2Click();
    void N4Click();
    void ScannerClick();
    void GSM1Click();
    void NVaro1Click();
    void MainMenuFiscalizationClick();
    void N6Click();
    void FleetClick();
    void ActionDebugExecute();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectScanner();
    // The status bar's text, whole in its tooltip: a long one is cut at the window's edge.
    void ShowStatusText(const QString& text);
    // The link dialog, modal; true after "Применить", whose settings are then in "ProgSett.ini" too.
    bool ExecLinkDialog();

    KktSession m_session;
    TfrmDebugKKM* m_debug = nullptr;
    bool m_startupQueued = false;
    bool m_startupDone = false;
    bool m_settingsLoaded = false;  // only settings that were read are written back
};
