#include "app/settings.h"
#include "inifixture.h"

#include <QDir>
#include <QFileInfo>

namespace {

class ProgSettFile : public IniFolderTest {
protected:
    QString file() const { return path("ProgSett.ini"); }

    TStructSetting load()
    {
        TStructSetting s;
        s.NumKKT = -99;
        s.PortSett.Name = "stale";
        s.PortSett.Speed = -1;
        s.PortSett.TimeOut = -1;
        EXPECT_TRUE(LoadIniSettings(file(), s));
        return s;
    }
};

TEST_F(ProgSettFile, MissingFileIsCreatedAndGivesTheDefaults)
{
    const QString nested = path("not/yet/there/ProgSett.ini");
    TStructSetting s;
    s.PortSett.Name = "stale";
    ASSERT_TRUE(LoadIniSettings(nested, s));
    EXPECT_TRUE(QFileInfo::exists(nested));
    EXPECT_EQ(readBytes(nested), "");
    EXPECT_EQ(s.PortSett.Name, "");
    EXPECT_EQ(s.PortSett.Speed, 19200);
    EXPECT_EQ(s.PortSett.TimeOut, 3500);
    EXPECT_EQ(s.NumKKT, 0);
}

TEST_F(ProgSettFile, WrittenFromScratchByteForByte)
{
    TStructSetting s;
    s.PortSett.Name = "COM3";
    ASSERT_TRUE(SaveIniSettings(file(), s));
    EXPECT_EQ(readBytes(file()),
              "[COM_PORT]\r\nName=\x7F" "COM3\x7F\r\nSpeed=19200\r\nTimeOut=3500\r\n\r\n"
              "[COMMON]\r\nNumKKT=0\r\n\r\n");

    // A Cyrillic name is stored in Windows-1251 and reads back unchanged.
    s.PortSett.Name = "Порт";
    s.NumKKT = 123456;
    ASSERT_TRUE(SaveIniSettings(file(), s));
    EXPECT_EQ(readBytes(file()),
              "[COM_PORT]\r\nName=\x7F\xCF\xEE\xF0\xF2\x7F\r\nSpeed=19200\r\nTimeOut=3500\r\n\r\n"
              "[COMMON]\r\nNumKKT=123456\r\n\r\n");
    const TStructSetting back = load();
    EXPECT_EQ(back.PortSett.Name, "Порт");
    EXPECT_EQ(back.NumKKT, 123456);
}

TEST_F(ProgSettFile, HandWrittenValues)
{
    writeBytes(file(),
               "; edited by hand\r\n[com_port]\r\nname = COM7 \r\nspeed=0x4B00\r\ntimeout=abc\r\n"
               "[Common]\r\nnumkkt=$10\r\n");
    TStructSetting s = load();
    EXPECT_EQ(s.PortSett.Name, "COM7");
    EXPECT_EQ(s.PortSett.Speed, 19200);
    EXPECT_EQ(s.PortSett.TimeOut, 3500);
    EXPECT_EQ(s.NumKKT, 16);

    writeBytes(file(), "[COM_PORT]\r\nName=\x7F\x7F\r\nSpeed=115200\r\n");
    s = load();
    EXPECT_EQ(s.PortSett.Name, "");
    EXPECT_EQ(s.PortSett.Speed, 115200);
    EXPECT_EQ(s.NumKKT, 0);
}

TEST_F(ProgSettFile, TrailingSpaceOfThePortNameSurvives)
{
    TStructSetting s;
    s.PortSett.Name = " COM1 ";
    ASSERT_TRUE(SaveIniSettings(file(), s));
    EXPECT_EQ(load().PortSett.Name, " COM1 ");
}

TEST_F(ProgSettFile, ExistingFileKeepsItsOrderAndOtherKeysButLosesComments)
{
    writeBytes(file(),
               "[COMMON]\r\nExtra=1\r\n; a note\r\nNumKKT=5\r\n"
               "[COM_PORT]\r\nTimeOut=100\r\nOther=x\r\nName=COM2\r\n"
               "[Mine]\r\nkeep=me\r\n");
    TStructSetting s;
    s.NumKKT = 7;
    s.PortSett.Name = "COM4";
    s.PortSett.Speed = 9600;
    s.PortSett.TimeOut = 2000;
    ASSERT_TRUE(SaveIniSettings(file(), s));
    EXPECT_EQ(readBytes(file()),
              "[COMMON]\r\nExtra=1\r\nNumKKT=7\r\n\r\n"
              "[COM_PORT]\r\nTimeOut=2000\r\nOther=x\r\nName=\x7F" "COM4\x7F\r\nSpeed=9600\r\n\r\n"
              "[Mine]\r\nkeep=me\r\n\r\n");
}

TEST_F(ProgSettFile, FailuresReportFalseAndKeepWhatIsThere)
{
    // The settings path taken by a folder: neither loaded nor replaced.
    ASSERT_TRUE(QDir().mkpath(file() + "/content"));
    TStructSetting s;
    EXPECT_FALSE(LoadIniSettings(file(), s));
    EXPECT_FALSE(SaveIniSettings(file(), s));
    EXPECT_TRUE(QDir(file() + "/content").exists());

    // A folder that cannot be created (its parent is a file).
    writeBytes(path("plain"), "x");
    EXPECT_FALSE(LoadIniSettings(path("plain/ProgSett.ini"), s));
    EXPECT_FALSE(SaveIniSettings(path("plain/ProgSett.ini"), s));
    EXPECT_EQ(readBytes(path("plain")), "x");
}

TEST_F(ProgSettFile, WriteProtectedFileIsNotReplaced)
{
    writeBytes(file(), "[COMMON]\r\nNumKKT=1\r\n");
    QFile::setPermissions(file(), QFile::ReadOwner | QFile::ReadUser);
    TStructSetting s;
    s.NumKKT = 2;
    EXPECT_FALSE(SaveIniSettings(file(), s));
    EXPECT_EQ(readBytes(file()), "[COMMON]\r\nNumKKT=1\r\n");
}

class ConfigFolderTest : public IniFolderTest {
protected:
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    void SetUp() override { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
    void TearDown() override
    {
        if (wasSet)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
};

TEST_F(ConfigFolderTest, FollowsXdgConfigHomeAndIsCreated)
{
    const QString expected = dir.path() + "/kkt-config";
    EXPECT_EQ(ConfigFolder(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(ProgSettPath(), expected + "/ProgSett.ini");
    EXPECT_EQ(ScanCfgPath(), expected + "/Scan.cfg");

    TStructSetting s;
    ASSERT_TRUE(LoadIniSettings(ProgSettPath(), s));
    EXPECT_TRUE(QFileInfo::exists(expected + "/ProgSett.ini"));
}

}  // namespace
