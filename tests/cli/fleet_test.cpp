// Several registers at once: one price change and one copy go to every register of a shop, a
// register that fails is named in the table and leaves the others alone.
#include "clirun.h"

#include "files/workbook.h"

#include <QFileInfo>

namespace {

void SetSerial(TestSim& sim, uint32_t serial)
{
    SimMemory memory = sim.sim().memory();
    memory.serialNumber = serial;
    sim.sim().setMemory(memory);
}

class FleetTest : public CliSimTest {
protected:
    void SetUp() override
    {
        for (TestSim* sim : {&m_sim, &m_second, &m_third})
            ASSERT_TRUE(sim->started()) << sim->error().toStdString();
        SetSerial(m_second, 20240002);
        SetSerial(m_third, 20240003);
    }
    // The command on the given simulators at once, by their device paths (the published names of
    // all but the last simulator are out of sight).
    CliRun RunOnAll(const QList<TestSim*>& sims, const QStringList& words)
    {
        QStringList ports;
        for (TestSim* sim : sims)
            ports << sim->devicePath();
        QStringList args = Link(words);
        args[args.indexOf(QStringLiteral("--port")) + 1] = ports.join(u',');
        return RunTool(args);
    }
    // The table's line for a port.
    static QString LineOf(const CliRun& run, const TestSim& sim)
    {
        for (const QString& line : run.out.split(u'\n'))
            if (line.startsWith(sim.devicePath()))
                return line;
        return {};
    }

    TestSim m_second;
    TestSim m_third;
};

}  // namespace

TEST_F(FleetTest, APriceChangeReachesEveryRegisterButTheSilentOneAndTheTableSaysWhich)
{
    const QString old = File("old.csv", GoodsCsv({}));
    const QString fresh = File("new.csv", GoodsCsv({{3, "2.50"}, {8, "7.00"}}));
    m_third.sim().applyFault(QStringLiteral("silence always"));

    const CliRun run = RunOnAll({&m_sim, &m_second, &m_third}, {"write", "goods", "--input", fresh, "--changed-from", old});
    EXPECT_EQ(run.status, 3) << run.err.toStdString();
    for (TestSim* sim : {&m_sim, &m_second}) {
        EXPECT_EQ(sim->sim().goods(3).price, "250");
        EXPECT_EQ(sim->sim().goods(8).price, "700");
        EXPECT_EQ(sim->sim().goodsCount(), 2);  // only the changed items went
    }
    EXPECT_EQ(m_third.sim().goodsCount(), 0);

    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Порт")) << lines[0].toStdString();
    const QString first = LineOf(run, m_sim);
    EXPECT_TRUE(first.contains("20240001") && first.contains("успешно: записано")) << first.toStdString();
    EXPECT_TRUE(first.simplified().contains(" 2 ")) << first.toStdString();  // entries written
    EXPECT_TRUE(LineOf(run, m_second).contains("20240002"));
    const QString silent = LineOf(run, m_third);
    EXPECT_TRUE(silent.contains("ошибка: нет ответа")) << silent.toStdString();
    EXPECT_TRUE(silent.simplified().contains(" - ")) << silent.toStdString();  // no serial number
}

TEST_F(FleetTest, OneCopyGoesToTheWholeShopAndEachRegisterIsBackedUpIntoABookOfItsOwn)
{
    ASSERT_EQ(RunOnAll({&m_sim}, {"write", "goods", "--input", File("base.csv", GoodsCsv({{5, "12.34"}}))}).status, 0);
    const QString book = Path("shop.xlsx");
    ASSERT_EQ(RunOnAll({&m_sim}, {"backup", book}).status, 0);

    const CliRun restore = RunOnAll({&m_second, &m_third}, {"restore", book, "--tables", "goods,module"});
    EXPECT_EQ(restore.status, 0) << restore.err.toStdString() << restore.out.toStdString();
    for (TestSim* sim : {&m_second, &m_third})
        EXPECT_EQ(sim->sim().goods(5).price, "1234");
    // A clone keeps its own number; the table names the register it was copied from.
    EXPECT_TRUE(LineOf(restore, m_second).contains("20240002 (копия с 20240001)")) << restore.out.toStdString();

    const CliRun backup = RunOnAll({&m_sim, &m_second, &m_third}, {"backup", Path("shop-{serial}.xlsx")});
    EXPECT_EQ(backup.status, 0) << backup.err.toStdString() << backup.out.toStdString();
    for (const char* serial : {"20240001", "20240002", "20240003"}) {
        const QString each = Path(QStringLiteral("shop-%1.xlsx").arg(serial));
        EXPECT_TRUE(QFileInfo::exists(each)) << serial;
        EXPECT_EQ(WorkbookSerial(each), serial);
    }
}

TEST_F(FleetTest, APortNamedTwiceOrOneBookForAllIsRefusedBeforeAnythingIsSent)
{
    const int before = m_sim.sim().requestCount();
    const CliRun twice = RunOnAll({&m_sim, &m_second, &m_sim}, {"status"});
    EXPECT_EQ(twice.status, 2);
    EXPECT_TRUE(twice.err.contains("назван дважды")) << twice.err.toStdString();
    const CliRun oneBook = RunOnAll({&m_sim, &m_second}, {"backup", Path("all.xlsx")});
    EXPECT_EQ(oneBook.status, 2);
    EXPECT_TRUE(oneBook.err.contains("{serial}")) << oneBook.err.toStdString();
    const CliRun single = RunOnAll({&m_sim, &m_second}, {"read", "operators"});
    EXPECT_EQ(single.status, 2);
    EXPECT_EQ(m_sim.sim().requestCount(), before);

    const CliRun status = RunOnAll({&m_sim, &m_second}, {"status"});
    EXPECT_EQ(status.status, 0) << status.err.toStdString();
    EXPECT_TRUE(LineOf(status, m_second).contains("успешно: связь есть")) << status.out.toStdString();
}
