#include "app/mainwindow/mainform.h"
#include "app/qttranslation.h"
#include "app/ui/uwait.h"
#include "link/ui/udebugkkt.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kkt-config"));
    InstallQtRussian(app);  // before any window: the standard dialogs are built in Russian

    // The main window first, then the long-lived hidden windows it uses; only the main window is shown.
    TFormMain mainForm;
    mainForm.AttachDebugWindow(new TfrmDebugKKM(&mainForm));
    TfrmWait wait;

    mainForm.showMaximized();
    return app.exec();
}
