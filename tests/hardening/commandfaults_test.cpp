// Each of the seven commands against a simulated register on a pseudo-terminal that misbehaves in
// every way the line allows: the result code, the number of requests, the time taken and the port
// being free again afterwards.
#include "faultmatrix.h"
#include "simserver.h"

#include "link/kktlink.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

struct CommandCase {
    const char* name;
    char letter;
    std::function<KktResult(KktLink&, const KktLinkArgs&)> run;
};

void PrintTo(const CommandCase& c, std::ostream* os)
{
    *os << c.name;
}

const QList<CommandCase>& Commands()
{
    static const QList<CommandCase> commands = {
        {"status", 'u', [](KktLink& l, const KktLinkArgs& a) { KktStatusInfo i; return l.KktStatus(a, i); }},
        {"param_read", 'p',
         [](KktLink& l, const KktLinkArgs& a) {
             QString v;
             return l.KktParam(a, KKT_READ, 0, 1, 1, v);
         }},
        {"goods_write", 'T',
         [](KktLink& l, const KktLinkArgs& a) {
             uint16_t code = 2;
             KktGoodsItem item{"Товар", "4600000000002", "м", "100", "1", "1000"};
             return l.KktGoods(a, KKT_WRITE, code, item);
         }},
        {"agent_read", 'a',
         [](KktLink& l, const KktLinkArgs& a) {
             KktAgentRecord r;
             r.number = 2;
             return l.KktAgent(a, KKT_READ, r);
         }},
        {"clear_base", 'c',
         [](KktLink& l, const KktLinkArgs& a) {
             uint8_t status = 0;
             return l.KktClearBase(a, status);
         }},
        {"reg_data", 'g', [](KktLink& l, const KktLinkArgs& a) { RegistrationData d; return l.KktRegData(a, d); }},
        {"register", 'x',
         [](KktLink& l, const KktLinkArgs& a) {
             RegistrationData d;
             d.RegNum = 1234567;
             d.InnUser = 7700000000;
             d.NameCassir = "Иванов";
             return l.KktRegister(a, 0, {0, 0, 0, 0}, d);
         }},
    };
    return commands;
}

struct Expected {
    KktResult result;
    int requests;
};

Expected ExpectedFor(const LineFault& fault)
{
    const QString name = QLatin1String(fault.name);
    if (name == "silence")
        return {KKT_NO_ANSWER, 1};
    if (name == "checksum" || name.endsWith("_byte") || name.endsWith("_bytes") || name == "garbage_first")
        return {KKT_BAD_CHECKSUM, 1};
    if (name == "status_only" || name == "busy_9_then_0")
        return {KKT_OK, name == "busy_9_then_0" ? 10 : 1};
    if (name == "busy_10")
        return {21, 10};
    if (name == "error_status")
        return {7, 1};
    return {KKT_NO_ANSWER, 1};  // line closed after a busy answer: the second attempt hears nothing
}

// Nobody else can open a port the link still holds.
bool PortIsFree(const QString& port)
{
    const auto other = CreateSerialPort();
    const bool free = other->open(port, 115200);
    other->close();
    return free;
}

class CommandFaults : public ::testing::TestWithParam<std::tuple<CommandCase, LineFault>> {};

}  // namespace

TEST_P(CommandFaults, EndsWithTheResultAndLeavesThePortFree)
{
    const auto& [command, fault] = GetParam();
    TestSim sim;
    ASSERT_TRUE(sim.started());
    KktLink link;
    const KktLinkArgs args = sim.linkArgs(kMatrixTimeOutMs);
    for (const QString& spec : fault.specs)
        ASSERT_TRUE(sim.sim().applyFault(ForCommand(spec, command.letter))) << spec.toStdString();

    QElapsedTimer timer;
    timer.start();
    const KktResult result = command.run(link, args);
    const qint64 elapsed = timer.elapsed();

    const Expected expected = ExpectedFor(fault);
    EXPECT_EQ(int(result), int(expected.result));
    // Only the repetition rule may send a request again.
    EXPECT_EQ(sim.sim().requestCount(), expected.requests);
    // Every attempt ends by its time-out at the latest.
    EXPECT_LT(elapsed, qint64(expected.requests) * kMatrixTimeOutMs + kSlackMs);

    if (QLatin1String(fault.name) == QLatin1String("line_closed")) {
        // The register's line is gone: the next command cannot open it, and says so at once.
        timer.restart();
        EXPECT_EQ(int(command.run(link, args)), int(KKT_PORT_FAILED));
        EXPECT_LT(timer.elapsed(), kSlackMs);
        return;
    }
    EXPECT_TRUE(PortIsFree(args.port));
    // Whatever the fault left on the line, the next command is answered cleanly.
    ASSERT_TRUE(sim.sim().applyFault("clear"));
    EXPECT_EQ(int(command.run(link, args)), int(KKT_OK));
}

INSTANTIATE_TEST_SUITE_P(Matrix, CommandFaults, ::testing::Combine(::testing::ValuesIn(Commands()), ::testing::ValuesIn(LineFaults())),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });
