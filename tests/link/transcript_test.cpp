#include "sevencommands.h"
#include "simserver.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

// The committed transcript is what the Windows build must send and receive too (its tests compare
// with the same file): a change here is a change on the wire.
TEST(SevenCommands, EveryCommandCarriesTheCommittedBytes)
{
    TestSim sim;
    ASSERT_TRUE(sim.started());
    KktLink link;
    const QString transcript = SevenCommandsTranscript(link, sim.linkArgs());
    const QString expected = ExpectedSevenCommandsTranscript(QStringLiteral(KKT_SOURCE_DIR));
    if (transcript != expected) {
        QFile actual(QDir::temp().filePath(QStringLiteral("seven-commands.actual")));
        if (actual.open(QIODevice::WriteOnly))
            actual.write(transcript.toLatin1());
    }
    EXPECT_EQ(transcript, expected) << "actual in " << QDir::temp().filePath("seven-commands.actual").toStdString();
    EXPECT_EQ(transcript.count(QStringLiteral("\n= ")) + 1, 11);  // eleven commands, each with its result
    EXPECT_FALSE(transcript.contains(QRegularExpression(QStringLiteral("= . [1-9]")))) << transcript.toStdString();
}
