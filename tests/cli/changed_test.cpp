// "write --changed-from" and "module write --changed-from": only what differs between two files is
// sent, both files are checked first, and --dry-run lists what would go.
#include "clirun.h"

#include "files/csvtable.h"
#include "tables/tabledefs.h"

TEST_F(CliSimTest, OnlyEntriesThatDifferFromTheOldFileAreSent)
{
    ASSERT_EQ(Run({"write", "goods", "--input", File("base.csv", GoodsCsv({})), "--range", "1-10"}).status, 0);
    const CliRun read = Run({"read", "goods", "--range", "1-10", "--output", Path("old.csv")});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    const QString fresh = File("new.csv", GoodsCsv({{3, "2.50"}, {8, "7.00"}}));

    const int before = m_sim.sim().requestCount();
    const CliRun dry = Run({"write", "goods", "--input", fresh, "--changed-from", Path("old.csv"), "--range", "1-10", "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, "3: Товар 3, , , 2.50, 1, \n8: Товар 8, , , 7.00, 1, \nБудет записано записей: 2.\n");
    EXPECT_EQ(m_sim.sim().requestCount(), before);

    const CliRun write = Run({"write", "goods", "--input", fresh, "--changed-from", Path("old.csv"), "--range", "1-10"});
    ASSERT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(m_sim.sim().requestCount() - before, 2);
    EXPECT_EQ(m_sim.sim().goods(3).price, "250");
    EXPECT_EQ(m_sim.sim().goods(8).price, "700");

    const CliRun same = Run({"write", "goods", "--input", fresh, "--changed-from", fresh, "--range", "1-10"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "Файлы не различаются в диапазоне 1-10: ничего не записано.\n");
    EXPECT_EQ(m_sim.sim().requestCount() - before, 2);
}

TEST_F(CliSimTest, AnOldFileOfAnotherTableOrWithARefusedCellSendsNothing)
{
    const QString fresh = File("new.csv", GoodsCsv({{3, "2.50"}}));
    const QString operators = File("ops.csv", "Опер. №,Должность,ФИО,Пароль,ИНН кассира\n1,Кассир,Иванов,1,\n");
    const CliRun other = Run({"write", "goods", "--input", fresh, "--changed-from", operators});
    EXPECT_EQ(other.status, 2);
    EXPECT_TRUE(other.err.startsWith("kkt-cli: " + operators + ": строка 1: заголовки столбцов")) << other.err.toStdString();

    const CliRun bad = Run({"write", "goods", "--input", fresh, "--changed-from", File("bad.csv", GoodsCsv({{5, "abc"}}))});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains("'abc' is not a valid integer value")) << bad.err.toStdString();

    const CliRun missing = Run({"write", "goods", "--input", fresh, "--changed-from", Path("none.csv")});
    EXPECT_EQ(missing.status, 2);

    const QString module = File("m.csv", "Параметр,Значение\nIP сервера,10.0.0.1\n");
    const CliRun moduleBad = Run({"module", "write", "--input", module, "--changed-from", File("mb.csv", "Параметр,Значение\nПорт сервера,80a\n")});
    EXPECT_EQ(moduleBad.status, 2);
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
}

TEST_F(CliSimTest, ModuleWritesOnlyTheParametersThatChanged)
{
    const QString old = File("old.csv", "Параметр,Значение\nIP сервера,10.0.0.1\nПорт сервера,8080\nТип устройства,GSM\n");
    const QString fresh = File("new.csv", "Параметр,Значение\nIP сервера,10.0.0.2\nПорт сервера,8080\nТип устройства,WI-FI\n");
    const CliRun dry = Run({"module", "write", "--input", fresh, "--changed-from", old, "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.out, "IP сервера: 10.0.0.2\nТип устройства: WI-FI\nБудет записано параметров: 2.\n");
    EXPECT_EQ(m_sim.sim().requestCount(), 0);
    const CliRun write = Run({"module", "write", "--input", fresh, "--changed-from", old});
    ASSERT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(m_sim.sim().requestCount(), 2);
    EXPECT_EQ(m_sim.sim().param(5, 1, 0), "10.0.0.2");
    EXPECT_EQ(m_sim.sim().param(5, 7, 0), "1");
}
