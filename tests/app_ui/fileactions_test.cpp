#include "appuitest.h"

#include "app/mainwindow/mainform.h"
#include "app/ui/filedialogs.h"
#include "app/ui/settform.h"
#include "files/filetexts.h"
#include "files/ui/fileactions.h"
#include "module/gsmgrid.h"
#include "module/ui/gsmsettingframe.h"
#include "tables/ui/setvaroframe.h"

#include <QAction>
#include <QFile>
#include <QPushButton>

namespace {

// The main window after start-up, with its file dialogs answered by `fileName`.
class FileActionsTest : public AppUiTest {
protected:
    void SetUp() override
    {
        AppUiTest::SetUp();
        SetFileNameHandler([this](FileDialogMode mode, const QString& filter, const QString& suffix) {
            dialogs.push_back({mode, filter, suffix});
            return fileName;
        });
        window.PortLister = [] { return QStringList(); };
        ModalAnswer<TFormSett> answer([](TFormSett& d) { d.Button1->click(); });
        window.RunStartup();
        messages.clear();  // the no-port warning of start-up
    }
    void TearDown() override
    {
        SetFileNameHandler({});
        AppUiTest::TearDown();
    }
    TGridData& goods() { return window.SetVaroFrame->Grid(TableId::Goods); }
    QString path(const QString& name) const { return configDir.filePath(name); }

    struct Dialog {
        FileDialogMode mode;
        QString filter;
        QString suffix;
    };
    std::vector<Dialog> dialogs;
    QString fileName;
    TFormMain window;
};

}  // namespace

TEST_F(FileActionsTest, ConfigurationSavedAndLoadedBackRestoresEveryGrid)
{
    window.SetVaroFrame->Grid(TableId::Operators).SetCell(1, 1, QStringLiteral(" Старший кассир "));
    goods().SetCell(1, 6000, QStringLiteral("Молоко"));
    goods().SetCell(6, 6000, QStringLiteral("7,000"));  // quantity: not part of the file
    window.GsmFrame->Grid().SetValue(1, QStringLiteral("10.0.0.1"));
    fileName = path(QStringLiteral("shop.conf"));
    window.N7Click();
    ASSERT_TRUE(QFile::exists(fileName));
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].mode, FileDialogMode::Save);
    EXPECT_EQ(dialogs[0].suffix, QStringLiteral("conf"));

    window.SetVaroFrame->Grid(TableId::Operators).SetCell(1, 1, QString());
    goods().SetCell(1, 6000, QString());
    window.GsmFrame->Grid().SetValue(1, QString());
    window.N8Click();
    EXPECT_EQ(window.SetVaroFrame->Grid(TableId::Operators).Cell(1, 1), QStringLiteral(" Старший кассир "));
    EXPECT_EQ(goods().Cell(1, 6000), QStringLiteral("Молоко"));
    EXPECT_EQ(goods().Cell(6, 6000), QStringLiteral("7,000"));
    EXPECT_EQ(window.GsmFrame->Grid().Value(1), QStringLiteral("10.0.0.1"));

    // A cancelled dialog does nothing.
    fileName.clear();
    window.N8Click();
    EXPECT_EQ(goods().Cell(1, 6000), QStringLiteral("Молоко"));
}

TEST_F(FileActionsTest, AConfigurationThatCannotBeReadLeavesTheGridsAsTheyWere)
{
    goods().SetCell(1, 1, QStringLiteral("Хлеб"));
    fileName = configDir.path();  // a folder is no file
    window.N8Click();
    EXPECT_EQ(goods().Cell(1, 1), QStringLiteral("Хлеб"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MsgKind::Error);
}

TEST_F(FileActionsTest, GoodsButtonsAndThe1CMenuMoveTheGoodsThroughTheirFiles)
{
    TFrameSetVaro& tables = *window.SetVaroFrame;
    goods().SetCell(1, 1, QStringLiteral("Хлеб"));
    goods().SetCell(4, 1, QStringLiteral("45,50"));

    fileName = path(QStringLiteral("base.dbVaro"));
    tables.btnSaveBase->click();
    goods().SetCell(1, 1, QString());
    tables.btnLoadBase->click();
    EXPECT_EQ(goods().Cell(1, 1), QStringLiteral("Хлеб"));
    EXPECT_EQ(dialogs[0].filter, filetexts::kGoodsDbSaveFilter);
    EXPECT_EQ(dialogs[1].filter, filetexts::kGoodsDbOpenFilter);

    fileName = path(QStringLiteral("to1c.1cdb"));
    tables.actSave1cdb->trigger();
    EXPECT_EQ(texts().last(), QStringLiteral("Файл успешно сохранен!"));
    goods().SetCell(1, 1, QString());
    tables.actLoad1cdb->trigger();
    EXPECT_EQ(texts().last(), QStringLiteral("Загружено 6000 позиций!"));
    EXPECT_EQ(goods().Cell(1, 1), QStringLiteral("Хлеб"));

    // A file that breaks the format is refused and the goods stay.
    QFile broken(path(QStringLiteral("broken.1cdb")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not an exchange file\r\n");
    broken.close();
    fileName = broken.fileName();
    tables.actLoad1cdb->trigger();
    EXPECT_EQ(texts().last(), QStringLiteral("Структура файла не соответствует стандарту!"));
    EXPECT_EQ(goods().Cell(1, 1), QStringLiteral("Хлеб"));

    // A spreadsheet no reader knows: nothing happens and nothing is said.
    const size_t shown = messages.size();
    fileName = broken.fileName();
    tables.actLoadXls->trigger();
    EXPECT_EQ(messages.size(), shown);
    EXPECT_EQ(goods().Cell(1, 1), QStringLiteral("Хлеб"));
}
