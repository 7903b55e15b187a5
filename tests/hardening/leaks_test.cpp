// A thousand failed commands leave the process with the descriptors and threads it had before.
#include "simserver.h"

#include "link/kktlink.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

int Entries(const char* folder)
{
    return int(QDir(QLatin1String(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

}  // namespace

TEST(Leaks, AThousandFailedCommandsLeaveNoDescriptorOrThread)
{
    TestSim sim;
    ASSERT_TRUE(sim.started());
    KktLinkArgs args = sim.linkArgs(300);
    KktLinkArgs missing = args;
    missing.port = QStringLiteral("/dev/kkt-no-such-port");
    KktLinkArgs hasty = args;
    hasty.timeOut = 5;

    // One round first, so that whatever is made once per process (code page tables...) is there.
    {
        KktLink link;
        KktStatusInfo info;
        ASSERT_EQ(int(link.KktStatus(args, info)), int(KKT_OK));
    }
    const int fds = Entries("/proc/self/fd");
    const int threads = Entries("/proc/self/task");

    KktLink shared;
    int failures = 0;
    for (int i = 0; i < 200; ++i) {
        // A link of its own each time half of the rounds: its destruction must release the port too.
        KktLink own;
        KktLink& link = i % 2 ? own : shared;
        KktStatusInfo info;
        QString value;
        uint8_t status = 0;
        ASSERT_TRUE(sim.sim().applyFault("checksum 1"));
        failures += link.KktStatus(args, info) == KKT_BAD_CHECKSUM;
        ASSERT_TRUE(sim.sim().applyFault("error p 9"));
        failures += link.KktParam(args, KKT_READ, 0, 1, 1, value) == 9;
        ASSERT_TRUE(sim.sim().applyFault("clear"));
        failures += link.KktClearBase(missing, status) == KKT_PORT_FAILED;
        ASSERT_TRUE(sim.sim().applyFault("garbage 4 1"));
        RegistrationData data;
        failures += link.KktRegData(args, data) == KKT_BAD_CHECKSUM;
        ASSERT_TRUE(sim.sim().applyFault("silence 1"));
        failures += link.KktStatus(hasty, info) == KKT_NO_ANSWER;
    }
    EXPECT_EQ(failures, 1000);
    EXPECT_EQ(Entries("/proc/self/fd"), fds);
    EXPECT_EQ(Entries("/proc/self/task"), threads);
    // And the port is free for the next one.
    ASSERT_TRUE(sim.sim().applyFault("clear"));
    KktStatusInfo info;
    EXPECT_EQ(int(shared.KktStatus(args, info)), int(KKT_OK));
}
