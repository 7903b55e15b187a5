#include "files/goodsdb.h"
#include "filefixture.h"
#include "testprint.h"

#include <QDir>

namespace {

class GoodsDbFile : public FileFolderTest {};

TEST_F(GoodsDbFile, EmptyTableWritesSixThousandSectionsOfFivePlainKeys)
{
    const QString file = path("empty.dbVaro");
    ASSERT_TRUE(SaveGoodsDbFile(file, TGoodsTable(kGoodsCount)));
    const QString text = readText(file);
    const QString section = "Наименование=\r\nТип шрифта=\r\nШтрих-код=\r\nЦена=\r\nОтдел/Услуга=\r\n\r\n";
    EXPECT_TRUE(text.startsWith("[ТОВАР_#1]\r\n" + section + "[ТОВАР_#2]\r\n"));
    EXPECT_TRUE(text.endsWith("[ТОВАР_#6000]\r\n" + section));
    EXPECT_EQ(text.count("\r\n\r\n["), 5999);
    EXPECT_EQ(text.count("=\r\n"), 30000);
    EXPECT_FALSE(readBytes(file).startsWith("\xEF\xBB\xBF"));
}

TEST_F(GoodsDbFile, SaveThenLoadKeepsColumnsOneToFiveButTrimsOuterBlanks)
{
    TGoodsTable goods(kGoodsCount);
    goods[0] = {"Молоко  ", "4600000000017", "м", "12,50", "1"};
    goods[1] = {"  Хлеб  с  маслом", "", "", "", ""};
    goods[5999] = {"a=b", "1", "", "0.00", "9"};
    const QString file = path("goods.dbVaro");
    ASSERT_TRUE(SaveGoodsDbFile(file, goods));
    TGoodsTable back;
    ASSERT_TRUE(LoadGoodsDbFile(file, back));
    ASSERT_EQ(back.size(), size_t(kGoodsCount));
    EXPECT_EQ(back[0], (TGoodsRow{"Молоко", "4600000000017", "м", "12,50", "1"}));
    // A key present with an empty value loads empty, not as its default.
    EXPECT_EQ(back[1], (TGoodsRow{"Хлеб  с  маслом", "", "", "", ""}));
    EXPECT_EQ(back[5999], goods[5999]);
}

TEST_F(GoodsDbFile, MissingSectionsAndKeysTakeTheDefaults)
{
    const QString file = path("part.dbVaro");
    writeText(file, "[ТОВАР_#2]\r\nНаименование=Сыр\r\nЦена=99.90\r\n");
    for (const QString& name : {file, path("missing.dbVaro")}) {
        TGoodsTable goods(kGoodsCount, TGoodsRow{"x", "x", "x", "x", "x"});
        ASSERT_TRUE(LoadGoodsDbFile(name, goods));
        ASSERT_EQ(goods.size(), size_t(kGoodsCount));
        EXPECT_EQ(goods[0], (TGoodsRow{"", "Узкий", "", "0.00", "0"}));
        EXPECT_EQ(goods[5999], GoodsDbDefaultRow());
        if (name == file) {
            EXPECT_EQ(goods[1], (TGoodsRow{"Сыр", "Узкий", "", "99.90", "0"}));
        }
    }
    EXPECT_FALSE(QFile::exists(path("missing.dbVaro")));
}

TEST_F(GoodsDbFile, SavingOverAFileKeepsItsOtherSectionsAndKeys)
{
    const QString file = path("old.dbVaro");
    writeText(file, "[Заметки]\r\nавтор=я\r\n[ТОВАР_#1]\r\nКоличество=5\r\nЦена=1.00\r\n");
    TGoodsTable goods(kGoodsCount);
    goods[0][GoodsPrice] = "2.00";
    ASSERT_TRUE(SaveGoodsDbFile(file, goods));
    EXPECT_TRUE(readText(file).startsWith(
        "[Заметки]\r\nавтор=я\r\n\r\n[ТОВАР_#1]\r\nКоличество=5\r\nЦена=2.00\r\nНаименование=\r\n"));
}

TEST_F(GoodsDbFile, FailedLoadOrSaveChangesNothing)
{
    const QString folder = path("folder.dbVaro");
    ASSERT_TRUE(QDir().mkpath(folder));
    TGoodsTable goods(kGoodsCount, TGoodsRow{"keep", "", "", "1", "1"});
    const TGoodsTable before = goods;
    QString error;
    EXPECT_FALSE(LoadGoodsDbFile(folder, goods, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(goods, before);
    error.clear();
    EXPECT_FALSE(SaveGoodsDbFile(folder, goods, &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
