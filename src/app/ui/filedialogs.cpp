#include "app/ui/filedialogs.h"

#include <QFileDialog>

namespace {

FileNameHandler& handler()
{
    static FileNameHandler h;
    return h;
}

}  // namespace

void SetFileNameHandler(FileNameHandler h)
{
    handler() = std::move(h);
}

QString ChooseFileName(QWidget* parent, FileDialogMode mode, const QString& filter, const QString& defaultSuffix)
{
    if (handler())
        return handler()(mode, filter, defaultSuffix);
    QFileDialog dialog(parent);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
