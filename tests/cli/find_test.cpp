// kkt-cli find: what it prints, its exit statuses and --save.
#include "clirun.h"

#include "app/settings.h"

namespace {

class CliFindTest : public ::testing::Test {
protected:
    CliRun Find(const QStringList& words, bool progressBar = false)
    {
        if (!QFile::exists(settings()))
            WriteAll(settings(), QByteArray());
        return RunTool(QStringList{QStringLiteral("--settings"), settings(), QStringLiteral("--number"),
                                   QStringLiteral("3"), QStringLiteral("find")} + words,
                       progressBar);
    }
    QString settings() const { return m_dir.filePath(QStringLiteral("ProgSett.ini")); }

    QTemporaryDir m_dir;
};

TEST_F(CliFindTest, PrintsEachRegisterWithItsSpeedAndSavesTheFirstAsApplyWould)
{
    TestSim at57600(57600), at115200(115200);
    ASSERT_TRUE(at57600.started());
    ASSERT_TRUE(at115200.started());
    at57600.sim().setNumber(3);
    const QString missing = m_dir.filePath(QStringLiteral("ttyUSB3"));
    const CliRun run = Find({QStringLiteral("--ports"), missing + ',' + at57600.devicePath() + ',' + at115200.devicePath(),
                             QStringLiteral("--save")},
                            true);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, at57600.devicePath() + QStringLiteral(" 57600\n") + at115200.devicePath() + QStringLiteral(" 115200\n"));
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("\r[")) && run.err.endsWith(QStringLiteral("] 100%\n")))
        << run.err.toStdString();

    TStructSetting saved;
    ASSERT_TRUE(LoadIniSettings(settings(), saved));
    EXPECT_EQ(saved.PortSett.Name, at57600.devicePath());
    EXPECT_EQ(saved.PortSett.Speed, 57600);
    EXPECT_EQ(saved.NumKKT, 3);

    // Only the speeds asked for.
    const CliRun slow = Find({QStringLiteral("--ports"), at57600.devicePath(), QStringLiteral("--speeds"),
                              QStringLiteral("1200,115200")});
    EXPECT_EQ(slow.status, 1);
    EXPECT_EQ(slow.out, QString());
}

TEST_F(CliFindTest, NothingFoundSaysWhyPerPortAndBadWordsAreUsageErrors)
{
    TestSim silent, noisy;
    ASSERT_TRUE(silent.started());
    ASSERT_TRUE(noisy.started());
    ASSERT_TRUE(silent.sim().applyFault(QStringLiteral("silence always")));
    ASSERT_TRUE(noisy.sim().applyFault(QStringLiteral("checksum 1000")));
    const CliRun none = Find({QStringLiteral("--ports"), silent.devicePath() + ',' + noisy.devicePath(),
                              QStringLiteral("--save")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QString());
    EXPECT_EQ(none.err, QStringLiteral("ККТ не найдена:\n  ") + silent.devicePath() +
                            QStringLiteral(": молчит на всех скоростях (ККТ нет или у неё другой номер ККМ)\n  ") + noisy.devicePath() +
                            QStringLiteral(": приходят байты, но не ответ ККТ: подключено устройство с другим "
                                           "протоколом или помехи\n"));
    EXPECT_EQ(ReadAll(settings()), QByteArray()) << "nothing found, nothing saved";

    for (const QStringList& bad : {QStringList{QStringLiteral("--speeds"), QStringLiteral("1234")},
                                   QStringList{QStringLiteral("--ports"), QStringLiteral("a,,b")},
                                   QStringList{QStringLiteral("extra")}, QStringList{QStringLiteral("--baud")}}) {
        const CliRun usage = Find(bad);
        EXPECT_EQ(usage.status, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(usage.out, QString());
        EXPECT_FALSE(usage.err.isEmpty());
    }
}

}  // namespace
