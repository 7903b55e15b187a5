// The standard dialogs and the program's own questions speak Russian whatever the system's language.
#include "appuitest.h"

#include "app/qttranslation.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace {

using RussianTest = AppUiTest;

QStringList ButtonTexts(QWidget& w)
{
    QStringList texts;
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->isVisible())
            texts << b->text();
    texts.sort();
    return texts;
}

TEST_F(RussianTest, QuestionsHaveRussianButtonsAndCancelStays)
{
    SetMessageHandler({});  // the real boxes
    QStringList seen;
    ModalAnswer<QMessageBox> cancel([&](QMessageBox& box) {
        seen = ButtonTexts(box);
        SaveShot(box, QStringLiteral("question_yes_no_cancel"));
        box.button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(AskYesNoCancel(nullptr, QStringLiteral("Внимание!\r\nЗаписать?")), MsgAnswer::Cancel);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}));

    ModalAnswer<QMessageBox> no([&](QMessageBox& box) {
        seen = ButtonTexts(box);
        box.button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(ShowMessage(nullptr, MsgKind::Question, QStringLiteral("Внимание!\r\nОчистить?")));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));

    // Esc is "Отмена", never "Да".
    ModalAnswer<QMessageBox> escape([](QMessageBox& box) { box.reject(); });
    EXPECT_EQ(AskYesNoCancel(nullptr, QStringLiteral("Записать?")), MsgAnswer::Cancel);
}

TEST_F(RussianTest, FileDialogsUseQtsRussianTexts)
{
    ASSERT_TRUE(InstallQtRussian(*qApp)) << "Qt's Russian translation (qt6-translations-l10n) is missing";
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    QStringList labels;
    for (QLabel* l : dialog.findChildren<QLabel*>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("&Имя файла:"))) << labels.join('|').toStdString();
    EXPECT_TRUE(ButtonTexts(dialog).contains(QStringLiteral("Отмена"))) << ButtonTexts(dialog).join('|').toStdString();
    SaveShot(dialog, QStringLiteral("file_dialog_russian"));
    // Later tests see Qt's own texts as they were.
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

}  // namespace
