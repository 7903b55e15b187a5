#include "app/myinifile.h"
#include "inifixture.h"

#include <QDir>

namespace {

const QChar kWrap(0x7F);

class IniDocument : public IniFolderTest {};

TEST_F(IniDocument, LoadingRulesTrimSplitAndDropWhatIsNotData)
{
    const QString file = path("a.ini");
    writeBytes(file,
               "orphan=before any section\r\n"
               "; comment\n"
               "\t[ First ]\t\r"
               "  key1 \t=  value with = inside \x01\n"
               "\n"
               "no equals sign here\r\n"
               "   ;indented comment\r\n"
               "=empty name\r\n"
               "[Second]\n\r"
               "k=v\r\n");
    TmyIniFile ini(file);
    ASSERT_TRUE(ini.loaded());
    EXPECT_EQ(ini.Sections(), QStringList({"First", "Second"}));
    EXPECT_EQ(ini.ReadString("First", "key1", "-"), "value with = inside");
    EXPECT_EQ(ini.ReadString("First", "", "-"), "empty name");
    EXPECT_FALSE(ini.ValueExists("First", "orphan"));
    EXPECT_EQ(ini.ReadString("Second", "k", "-"), "v");
    EXPECT_EQ(ini.KeyCount(), 3);

    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file),
              "[First]\r\n"
              "key1=value with = inside\r\n"
              "no equals sign here\r\n"
              "=empty name\r\n"
              "\r\n"
              "[Second]\r\n"
              "k=v\r\n"
              "\r\n");
}

TEST_F(IniDocument, NamesMatchWithoutCaseAndFirstLineWins)
{
    const QString file = path("a.ini");
    // "ТОВАР_#1" and "Имя" in Windows-1251.
    writeBytes(file, "[com_port]\r\nspeed=1\r\nSPEED=2\r\n[\xD2\xCE\xC2\xC0\xD0_#1]\r\n\xC8\xEC\xFF=x\r\n");
    TmyIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("COM_PORT", "Speed", 0), 1);
    EXPECT_EQ(ini.ReadString("товар_#1", "ИМЯ", "-"), "x");

    // Writing replaces the first line of the name in place and leaves the later one alone.
    ini.WriteInteger("Com_Port", "Speed", 9);
    ini.WriteString("com_port", "New", "n");
    ini.WriteString("Third", "a", "b");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file),
              "[com_port]\r\nSpeed=9\r\nSPEED=2\r\nNew=n\r\n\r\n"
              "[\xD2\xCE\xC2\xC0\xD0_#1]\r\n\xC8\xEC\xFF=x\r\n\r\n"
              "[Third]\r\na=b\r\n\r\n");
}

TEST_F(IniDocument, RepeatedSectionKeepsItsLinesAndLookupsUseTheFirst)
{
    const QString file = path("a.ini");
    writeBytes(file, "[S]\r\na=1\r\n[T]\r\nt=1\r\n[s]\r\na=2\r\nb=3\r\n");
    TmyIniFile ini(file);
    EXPECT_EQ(ini.ReadString("S", "a", "-"), "1");
    EXPECT_FALSE(ini.ValueExists("S", "b"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file), "[S]\r\na=1\r\n\r\n[T]\r\nt=1\r\n\r\n[s]\r\na=2\r\nb=3\r\n\r\n");
}

TEST_F(IniDocument, LongSectionsFindTheirKeysLikeShortOnes)
{
    // Twenty keys, the first spelled again in another case further down, and a key with the name of a
    // key of the next section: every lookup finds the first line of its name in its own section.
    QByteArray bytes = "[Long]\r\n";
    for (int k = 0; k < 20; ++k)
        bytes += "key" + QByteArray::number(k) + "=v" + QByteArray::number(k) + "\r\n";
    bytes += "KEY0=again\r\nshort=in long\r\n[Short]\r\nshort=own\r\n";
    const QString file = path("a.ini");
    writeBytes(file, bytes);
    TmyIniFile ini(file);
    EXPECT_EQ(ini.ReadString("long", "Key0", "-"), "v0");
    EXPECT_EQ(ini.ReadString("LONG", "key19", "-"), "v19");
    EXPECT_EQ(ini.ReadString("Long", "short", "-"), "in long");
    EXPECT_EQ(ini.ReadString("Short", "short", "-"), "own");
    EXPECT_FALSE(ini.ValueExists("Short", "key1"));

    // An unchanged document is written back byte for byte; a written key replaces its first line.
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file), bytes.replace("[Short]", "\r\n[Short]") + "\r\n");
    ini.WriteString("long", "key0", "new");
    ini.WriteString("Long", "key20", "added");
    ASSERT_TRUE(ini.UpdateFile());
    TmyIniFile again(file);
    EXPECT_EQ(again.ReadString("Long", "key0", "-"), "new");
    EXPECT_EQ(again.ReadString("Long", "key20", "-"), "added");
    EXPECT_EQ(again.KeyCount(), 24);
}

TEST_F(IniDocument, WrappedValuesKeepTheirBlanks)
{
    const QString file = path("a.ini");
    writeBytes(file,
               QByteArray("[S]\r\nplain= as typed \r\nempty=\x7F\x7F\r\none=\x7F\r\nleft=\x7Fx\r\n")
                   + "wrapped=\x7F  two spaces  \x7F\r\n");
    TmyIniFile ini(file);
    EXPECT_EQ(ini.mReadString("S", "plain", "-"), "as typed");
    EXPECT_EQ(ini.mReadString("S", "empty", "-"), "");
    EXPECT_EQ(ini.mReadString("S", "one", "-"), QString(kWrap));
    EXPECT_EQ(ini.mReadString("S", "left", "-"), kWrap + QString("x"));
    EXPECT_EQ(ini.mReadString("S", "wrapped", "-"), "  two spaces  ");
    EXPECT_EQ(ini.mReadString("S", "missing", " def "), " def ");
    EXPECT_EQ(ini.ReadString("S", "wrapped", "-"), kWrap + QString("  two spaces  ") + kWrap);

    ini.mWriteString("S", "port", "COM1 ");
    ini.WriteString("S", "raw", " lost blanks ");
    ASSERT_TRUE(ini.UpdateFile());
    TmyIniFile again(file);
    EXPECT_EQ(again.mReadString("S", "port", "-"), "COM1 ");
    EXPECT_EQ(again.mReadString("S", "raw", "-"), "lost blanks");
}

TEST_F(IniDocument, IntegerForms)
{
    const QString file = path("a.ini");
    writeBytes(file,
               "[N]\r\n"
               "hex=0x4B00\r\nupper=0X7fffffff\r\nbare=0x\r\nover=0x80000000\r\nsignedhex=0x-5\r\n"
               "dollar=$FF\r\nnegdollar=-$10\r\nplus=+42\r\nneg=-2147483648\r\nbig=2147483648\r\n"
               "text=abc\r\ntail=12abc\r\nempty=\r\nsign=-\r\nwrapped=\x7F" "5\x7F\r\n");
    TmyIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("N", "hex", -1), 19200);
    EXPECT_EQ(ini.ReadInteger("N", "upper", -1), 2147483647);
    EXPECT_EQ(ini.ReadInteger("N", "bare", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "over", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "signedhex", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", -1), 255);
    EXPECT_EQ(ini.ReadInteger("N", "negdollar", -1), -16);
    EXPECT_EQ(ini.ReadInteger("N", "plus", -1), 42);
    EXPECT_EQ(ini.ReadInteger("N", "neg", -1), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "big", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "text", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "tail", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "empty", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "sign", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "wrapped", -1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "missing", 7), 7);
    EXPECT_EQ(ini.ReadInteger("missing", "hex", 8), 8);

    ini.WriteInteger("N", "hex", -19200);
    EXPECT_EQ(ini.ReadString("N", "hex", "-"), "-19200");
}

TEST_F(IniDocument, CyrillicWithoutByteOrderMarkStaysWindows1251)
{
    const QString file = path("a.ini");
    // "Кассир" and "Иванов И.И." in Windows-1251.
    writeBytes(file, "[\xCA\xE0\xF1\xF1\xE8\xF0]\r\nFio=\x7F\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.\x7F\r\n");
    TmyIniFile ini(file);
    EXPECT_EQ(ini.encoding(), TmyIniFile::Encoding::Ansi);
    EXPECT_EQ(ini.mReadString("кассир", "fio", "-"), "Иванов И.И.");
    ini.mWriteString("Кассир", "Fio2", "Ёлкина");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file),
              "[\xCA\xE0\xF1\xF1\xE8\xF0]\r\nFio=\x7F\xC8\xE2\xE0\xED\xEE\xE2 \xC8.\xC8.\x7F\r\n"
              "Fio2=\x7F\xA8\xEB\xEA\xE8\xED\xE0\x7F\r\n\r\n");
}

struct BomCase {
    const char* name;
    TmyIniFile::Encoding encoding;
    QByteArray (*encode)(const QString&);
};

QByteArray utf8Bom(const QString& s)
{
    return "\xEF\xBB\xBF" + s.toUtf8();
}

QByteArray utf16(const QString& s, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (QChar c : s) {
        const char hi = static_cast<char>(c.unicode() >> 8);
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return out;
}

class IniByteOrderMark : public IniFolderTest, public ::testing::WithParamInterface<BomCase> {};

TEST_P(IniByteOrderMark, SelectsTheEncodingAndIsWrittenAgain)
{
    const QString file = path("bom.ini");
    writeBytes(file, GetParam().encode("; заметка\r\n[Товар]\r\nИмя = Молоко \r\n"));
    TmyIniFile ini(file);
    ASSERT_TRUE(ini.loaded());
    EXPECT_EQ(ini.encoding(), GetParam().encoding);
    EXPECT_EQ(ini.ReadString("ТОВАР", "имя", "-"), "Молоко");
    ini.WriteString("Товар", "Цена", "€1");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file), GetParam().encode("[Товар]\r\nИмя=Молоко\r\nЦена=€1\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, IniByteOrderMark,
    ::testing::Values(BomCase{"Utf8", TmyIniFile::Encoding::Utf8, &utf8Bom},
                      BomCase{"Utf16LE", TmyIniFile::Encoding::Utf16LE,
                              [](const QString& s) { return utf16(s, false); }},
                      BomCase{"Utf16BE", TmyIniFile::Encoding::Utf16BE,
                              [](const QString& s) { return utf16(s, true); }}),
    [](const ::testing::TestParamInfo<BomCase>& info) { return std::string(info.param.name); });

TEST_F(IniDocument, MissingFileIsAnEmptyDocumentWrittenInWindows1251)
{
    const QString file = path("new.ini");
    TmyIniFile ini(file);
    EXPECT_TRUE(ini.loaded());
    EXPECT_EQ(ini.SectionCount(), 0);
    EXPECT_EQ(ini.encoding(), TmyIniFile::Encoding::Ansi);
    ini.WriteString("Я", "ключ", "значение");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(readBytes(file), "[\xDF]\r\n\xEA\xEB\xFE\xF7=\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n\r\n");
}

TEST_F(IniDocument, UnreadableFileIsNotLoadedAndNeverOverwritten)
{
    const QString target = path("is-a-folder");
    ASSERT_TRUE(QDir().mkpath(target + "/inside"));
    TmyIniFile ini(target);
    EXPECT_FALSE(ini.loaded());
    ini.WriteString("S", "k", "v");
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_FALSE(ini.errorString().isEmpty());
    EXPECT_TRUE(QDir(target + "/inside").exists());
}

TEST_F(IniDocument, FailedWriteLeavesTheOldFileAndNoTemporaryFiles)
{
    const QString sub = path("ro");
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString file = sub + "/a.ini";
    writeBytes(file, "[S]\r\nk=old\r\n");
    TmyIniFile ini(file);
    ASSERT_TRUE(ini.loaded());
    ini.WriteString("S", "k", "new");
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
    {
        QFile probe(sub + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            GTEST_SKIP() << "permissions do not bind this user (root)";
        }
    }
    EXPECT_FALSE(ini.UpdateFile());
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readBytes(file), "[S]\r\nk=old\r\n");
    EXPECT_EQ(QDir(sub).entryList(QDir::Files), QStringList({"a.ini"}));
}

TEST_F(IniDocument, ThousandsOfSectionsRoundTrip)
{
    const QString file = path("big.ini");
    {
        TmyIniFile ini(file);
        for (int i = 1; i <= 6045; ++i)
            for (int k = 0; k < 5; ++k)
                ini.mWriteString(QStringLiteral("ТОВАР_#%1").arg(i), QStringLiteral("Поле%1").arg(k),
                                 QStringLiteral("значение %1.%2").arg(i).arg(k));
        ASSERT_TRUE(ini.UpdateFile());
    }
    TmyIniFile ini(file);
    EXPECT_EQ(ini.SectionCount(), 6045);
    EXPECT_EQ(ini.KeyCount(), 30225);
    EXPECT_EQ(ini.Sections().last(), "ТОВАР_#6045");
    EXPECT_EQ(ini.mReadString("товар_#6045", "поле4", "-"), "значение 6045.4");
    EXPECT_EQ(ini.mReadString("товар_#1", "поле0", "-"), "значение 1.0");
    EXPECT_FALSE(ini.SectionExists("товар_#6046"));
}

}  // namespace
