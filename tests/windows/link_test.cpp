// The register link through the Win32 serial functions, against simulators on COM ports.
#include "samplegrid.h"
#include "sevencommands.h"
#include "winenv.h"

#include "link/win/winserialport.h"
#include "tables/tablerun.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

KktLinkArgs Args(const QString& port, int timeOutMs = 1000, int32_t speed = 115200)
{
    KktLinkArgs args;
    args.port = port;
    args.speed = speed;
    args.timeOut = timeOutMs;
    args.numKkt = 1;
    return args;
}

struct Counted {
    int requests = 0;
    int answers = 0;
};

class CountingLog final : public KktFrameLog {
public:
    void DumpKktFrame(const uint8_t*, uint32_t count, bool isAnswer) override
    {
        if (isAnswer)
            answerBytes.push_back(int(count));
        else
            ++requests;
    }
    int requests = 0;
    std::vector<int> answerBytes;
};

}  // namespace

TEST(WinLink, TheSevenCommandsCarryTheSameBytesAsOnLinux)
{
    const QString port = ComPort("FRESH");
    REQUIRE_ENV(port);
    KktLink link;
    const QString transcript = SevenCommandsTranscript(link, Args(port));
    EXPECT_EQ(transcript, ExpectedSevenCommandsTranscript(WinEnv("KKT_SOURCE_DIR")));
}

TEST(WinLink, EveryTableWritesAndReadsBack)
{
    const QString port = ComPort("TABLES");
    REQUIRE_ENV(port);
    KktLink link;
    for (int t = 0; t < kTableCount; ++t) {
        const TableId id = TableId(t);
        // Rows 2 to 5 of each (the sample leaves the others as a register would not read them back),
        // the first fifty goods.
        const int first = id == TableId::Goods ? 1 : 2;
        const int last = id == TableId::Goods ? 50 : std::min(TableDef(id).size, 5);
        TGridData written = InitGrid(id);
        for (int r = first; r <= last; ++r)
            FillSampleRow(id, written, r);
        const TRunResult w = WriteTable(id, written, first, last, link, Args(port));
        ASSERT_TRUE(w.ok()) << t << " " << w.message.toStdString();
        TGridData read = InitGrid(id);
        TAgentLocks locks;
        const TRunResult r = ReadTable(id, read, locks, first, last, link, Args(port));
        ASSERT_TRUE(r.ok()) << t << " " << r.message.toStdString();
        for (int row = first; row <= last; ++row)
            for (int c = 1; c < read.ColCount(); ++c)
                EXPECT_EQ(read.Cell(c, row), written.Cell(c, row)) << "table " << t << " col " << c << " row " << row;
    }
}

TEST(WinLink, LineFaultsGiveTheirResultsOnce)
{
    const QString silent = ComPort("SILENT"), checksum = ComPort("CHECKSUM"), busy = ComPort("BUSY");
    REQUIRE_ENV(silent);
    REQUIRE_ENV(checksum);
    REQUIRE_ENV(busy);
    KktLink link;
    CountingLog log;
    link.setFrameLog(&log);
    KktStatusInfo info;

    // Nothing comes back: 2 after the total time-out, and the request is not repeated.
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.KktStatus(Args(silent, 600), info), KKT_NO_ANSWER);
    EXPECT_GE(timer.elapsed(), 550);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(log.requests, 1);
    EXPECT_EQ(log.answerBytes, std::vector<int>{0});

    log = CountingLog();
    EXPECT_EQ(link.KktStatus(Args(checksum), info), KKT_BAD_CHECKSUM);
    EXPECT_EQ(log.requests, 1);
    EXPECT_EQ(log.answerBytes, std::vector<int>{31});

    // A register that stays busy gets the request ten times; its status is the result.
    log = CountingLog();
    EXPECT_EQ(link.KktStatus(Args(busy), info), 21);
    EXPECT_EQ(log.requests, 10);
}

TEST(WinLink, APortThatVanishesEndsTheCommandWithoutAHang)
{
    const QString port = ComPort("VANISH");
    REQUIRE_ENV(port);
    KktLink link;
    KktStatusInfo info;
    // The simulator closes its line after the first answer.
    EXPECT_EQ(link.KktStatus(Args(port, 2000), info), KKT_OK);
    QElapsedTimer timer;
    timer.start();
    const KktResult gone = link.KktStatus(Args(port, 2000), info);
    EXPECT_TRUE(gone == KKT_PORT_FAILED || gone == KKT_NO_ANSWER) << int(gone);
    EXPECT_LT(timer.elapsed(), 2500);
}
