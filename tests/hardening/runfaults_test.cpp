// Every table run, writing and reading entries 1 to 3, meets each line fault at its second entry:
// the run stops there (or goes through when the fault is one the link rides out) with the message
// naming the result, nothing is sent for the entries after it, and a read leaves their cells alone.
#include "faultmatrix.h"
#include "samplegrid.h"
#include "simserver.h"

#include "tables/agentlocks.h"
#include "tables/tabledefs.h"
#include "tables/tablerun.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

constexpr int kFirst = 1;
constexpr int kLast = 3;

// A value for every cell of entries 1..3 that the table's rules accept.
TGridData SampleGrid(TableId id)
{
    TGridData g = InitGrid(id);
    for (int row = kFirst; row <= kLast; ++row)
        FillSampleRow(id, g, row);
    return g;
}

char CommandLetter(TableId id)
{
    return id == TableId::Goods ? 'T' : id == TableId::Agents ? 'a' : 'p';
}

struct RunCase {
    TableId id;
    bool write;
};

std::string CaseName(const RunCase& c)
{
    static const char* const names[] = {"operators", "goods", "sections", "cliche", "agents", "enterprises", "stations"};
    return std::string(c.write ? "write_" : "read_") + names[int(c.id)];
}

void PrintTo(const RunCase& c, std::ostream* os)
{
    *os << CaseName(c);
}

// The run's outcome for a fault that meets the first exchange of entry 2.
struct Outcome {
    KktResult code = KKT_OK;  // KKT_OK: the run goes through
    int entry = 0;            // the entry the failure names
    int requestsAfterEntry1 = 0;
    QString extra;            // a failure that is not a result: the text the message holds
};

Outcome ExpectedOutcome(const RunCase& c, const LineFault& fault)
{
    const int per = ExchangesPerEntry(c.id);
    const int rest = (kLast - 1) * per;  // exchanges of entries 2 and 3
    const QString name = QLatin1String(fault.name);
    if (name == "silence" || name == "checksum" || name.endsWith("_byte") || name.endsWith("_bytes")
        || name == "garbage_first")
        return {name == "silence" ? KKT_NO_ANSWER : KKT_BAD_CHECKSUM, 2, 1, {}};
    if (name == "busy_9_then_0")
        return {KKT_OK, 0, rest + 9, {}};
    if (name == "busy_10")
        return {21, 2, 10, {}};
    if (name == "error_status")
        return {7, 2, 1, {}};
    if (name == "line_closed") {
        // The busy answer is heard, the line vanishes, the repeated request gets no answer.
        return {KKT_NO_ANSWER, 2, 1, {}};
    }
    // A status-only answer with status 0 is a success. Reading, what stands where the item or agent number
    // belongs (the terminator and the checksum) names no entry of the table.
    if (!c.write && (c.id == TableId::Goods || c.id == TableId::Agents))
        return {KKT_OK, 2, 1, QStringLiteral(", которого нет в таблице.")};
    return {KKT_OK, 0, rest, {}};
}

class RunFaults : public ::testing::TestWithParam<std::tuple<RunCase, LineFault>> {};

}  // namespace

TEST_P(RunFaults, StopAtTheFaultyEntryAndLeaveTheRestAlone)
{
    const auto& [c, fault] = GetParam();
    TestSim sim;
    ASSERT_TRUE(sim.started());
    KktLink link;
    const KktLinkArgs args = sim.linkArgs(kMatrixTimeOutMs);
    const TGridData sample = SampleGrid(c.id);
    TRunHooks hooks;
    hooks.pause = [](int) {};
    TGridData reference = sample;  // what a read of entries 1..3 gives without a fault
    if (!c.write) {
        // The register holds the sample; the fault hits the read.
        ASSERT_TRUE(WriteTable(c.id, sample, kFirst, kLast, link, args, hooks).ok());
        reference = InitGrid(c.id);
        TAgentLocks referenceLocks;
        ASSERT_TRUE(ReadTable(c.id, reference, referenceLocks, kFirst, kLast, link, args, hooks).ok());
        sim.sim().clearRequests();
    }
    const int per = ExchangesPerEntry(c.id);
    int requestsAtEntry2 = -1;
    hooks.progress = [&](int done, int) {
        if (done != per)
            return;
        requestsAtEntry2 = sim.sim().requestCount();
        for (const QString& spec : fault.specs)
            ASSERT_TRUE(sim.sim().applyFault(ForCommand(spec, CommandLetter(c.id))));
    };
    TGridData grid = c.write ? sample : InitGrid(c.id);
    TAgentLocks locks;
    QElapsedTimer timer;
    timer.start();
    const TRunResult r = c.write ? WriteTable(c.id, grid, kFirst, kLast, link, args, hooks)
                                 : ReadTable(c.id, grid, locks, kFirst, kLast, link, args, hooks);
    const qint64 elapsed = timer.elapsed();

    const Outcome expected = ExpectedOutcome(c, fault);
    ASSERT_EQ(requestsAtEntry2, per);
    EXPECT_EQ(sim.sim().requestCount() - requestsAtEntry2, expected.requestsAfterEntry1);
    EXPECT_LT(elapsed, qint64(sim.sim().requestCount()) * 20 + 2 * kMatrixTimeOutMs + kSlackMs);
    if (expected.entry == 0) {
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        EXPECT_EQ(r.entriesDone, kLast);
    } else {
        EXPECT_EQ(r.entriesDone, 1);
        EXPECT_EQ(r.severity, RunSeverity::Error);
        if (expected.extra.isEmpty())
            EXPECT_TRUE(r.message.startsWith(QStringLiteral("Внимание!\r\nОшибка (%1) ").arg(expected.code))
                        && (r.message.endsWith(QStringLiteral(" номером %1 !").arg(expected.entry))
                            || r.message.endsWith(QStringLiteral(" номер %1 !").arg(expected.entry))))
                << r.message.toStdString();
        else
            EXPECT_TRUE(r.message.contains(expected.extra)) << r.message.toStdString();
    }

    if (c.write) {
        // The grid a write reads from is never touched.
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                ASSERT_EQ(grid.Cell(col, row), sample.Cell(col, row)) << col << "," << row;
    } else {
        // Entry 1 was read; entry 3 was never reached (or read in full when the run went through).
        const TGridData fresh = InitGrid(c.id);
        for (int col = 1; col < grid.ColCount(); ++col) {
            EXPECT_EQ(grid.Cell(col, 1), reference.Cell(col, 1)) << col;
            EXPECT_EQ(grid.Cell(col, 3), expected.entry ? fresh.Cell(col, 3) : reference.Cell(col, 3)) << col;
            for (int row = kLast + 1; row < grid.RowCount(); ++row)
                ASSERT_EQ(grid.Cell(col, row), fresh.Cell(col, row)) << col << "," << row;
        }
    }
    if (QLatin1String(fault.name) != QLatin1String("line_closed")) {
        const auto other = CreateSerialPort();
        EXPECT_TRUE(other->open(args.port, 115200)) << "the run left the port open";
    }
}

namespace {

std::vector<RunCase> AllRuns()
{
    std::vector<RunCase> runs;
    for (int t = 0; t < kTableCount; ++t)
        for (bool write : {true, false})
            runs.push_back({TableId(t), write});
    return runs;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Matrix, RunFaults, ::testing::Combine(::testing::ValuesIn(AllRuns()), ::testing::ValuesIn(LineFaults())),
                         [](const auto& info) { return CaseName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name; });
