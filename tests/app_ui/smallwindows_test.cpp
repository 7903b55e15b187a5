// The wait window and the version window.
#include "appuitest.h"

#include "app/ui/uwait.h"
#include "app/ui/versionform.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

using WaitWindowTest = AppUiTest;
using VersionWindowTest = AppUiTest;

Qt::CursorShape overrideShape()
{
    const QCursor* c = QApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

TEST_F(WaitWindowTest, ShowsTheMessageWithTheHourglassUntilHidden)
{
    TfrmWait wait;
    ASSERT_EQ(WaitWindow(), &wait);
    const QString text = QStringLiteral("Идет запись таблицы \"Операторы\" в ККТ... Подождите, это может занять время");
    ShowWait(text);
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.lbl1->text(), text);
    EXPECT_FALSE(wait.btnAbort->isVisible());
    EXPECT_TRUE(wait.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(wait.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    // A long message wraps, and the window grows so that no line is cut.
    EXPECT_EQ(wait.width(), 387);
    EXPECT_LE(wait.lbl1->heightForWidth(wait.lbl1->width()), wait.lbl1->height());
    EXPECT_TRUE(wait.rect().contains(wait.lbl1->geometry()));
    SaveShot(wait, QStringLiteral("wait_window_long"));

    ShowWait(QStringLiteral("Идет очистка базы в ККМ... Подождите"));
    EXPECT_EQ(wait.size(), QSize(387, 77));
    SaveShot(wait, QStringLiteral("wait_window"));
    HideWait();
    EXPECT_FALSE(wait.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WaitWindowTest, ANewMessageWhileShownNeedsOnlyOneHide)
{
    TfrmWait wait;
    ShowWait(QStringLiteral("Первый шаг"));
    ShowWait(QStringLiteral("Второй шаг"));
    EXPECT_EQ(wait.lbl1->text(), QStringLiteral("Второй шаг"));
    HideWait();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(wait.isVisible());
}

TEST_F(WaitWindowTest, AbortButtonAndEscRaiseTheFlagUntilTheNextShow)
{
    TfrmWait wait;
    ShowWait(QStringLiteral("Идет чтение базы товаров из ККТ... Подождите, чтение можно прервать в любой момент"),
             true);
    ASSERT_TRUE(wait.btnAbort->isVisible());
    EXPECT_GT(wait.height(), 77);
    EXPECT_TRUE(wait.rect().contains(wait.btnAbort->geometry()));
    EXPECT_FALSE(wait.lbl1->geometry().intersects(wait.btnAbort->geometry()));
    EXPECT_FALSE(WaitAborted());
    SaveShot(wait, QStringLiteral("wait_window_abortable"));

    QTest::mouseClick(wait.btnAbort, Qt::LeftButton);
    EXPECT_TRUE(WaitAborted());

    ShowWait(QStringLiteral("Чтение товаров из ККТ..."), true);
    EXPECT_FALSE(WaitAborted());
    QTest::keyClick(&wait, Qt::Key_Escape);
    EXPECT_TRUE(WaitAborted());

    // Without the button Esc does not stop anything, and the window is back to its size.
    ShowWait(QStringLiteral("Запись..."));
    QTest::keyClick(&wait, Qt::Key_Escape);
    EXPECT_FALSE(WaitAborted());
    EXPECT_EQ(wait.size(), QSize(387, 77));
    HideWait();
}

TEST_F(VersionWindowTest, ShowsTheVersionAndClosesOnOk)
{
    TFormVersion v(QStringLiteral("1.4.2"));
    v.show();
    EXPECT_EQ(v.Label2->text(), QStringLiteral("1.4.2"));
    EXPECT_EQ(v.lblNameKKM->text(), QStringLiteral("Тавир"));
    EXPECT_EQ(v.size(), QSize(304, 158));
    EXPECT_TRUE(v.windowFlags() & Qt::FramelessWindowHint);
    // Every item lies inside the white panel, the panel inside the navy frame.
    for (QWidget* w : {static_cast<QWidget*>(v.Image1), static_cast<QWidget*>(v.lblNameKKM),
                       static_cast<QWidget*>(v.Label1), static_cast<QWidget*>(v.Label2),
                       static_cast<QWidget*>(v.Panel3)})
        EXPECT_TRUE(v.Panel2->rect().contains(w->geometry())) << w->metaObject()->className();
    EXPECT_EQ(v.Panel2->geometry(), QRect(3, 3, 298, 152));
    const QImage shot = v.grab().toImage();
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 0, 128));
    SaveShot(v, QStringLiteral("version_window"));

    QTest::mouseClick(v.Panel3, Qt::LeftButton);
    EXPECT_EQ(v.result(), QDialog::Accepted);
    EXPECT_FALSE(v.isVisible());
}

TEST_F(VersionWindowTest, AnEmptyVersionLeavesTheLineEmpty)
{
    TFormVersion v{QString()};
    v.show();
    EXPECT_EQ(v.Label2->text(), QString());
    EXPECT_EQ(v.Label1->text(), QStringLiteral("Версия продукта:"));
}

TEST_F(VersionWindowTest, PictureIsDrawnAtItsSize)
{
    const QImage pic = DrawKktPicture().toImage();
    ASSERT_EQ(pic.size(), QSize(161, 89));
    int coloured = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            coloured += pic.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_GT(coloured, pic.width() * pic.height() / 3);
}

}  // namespace
