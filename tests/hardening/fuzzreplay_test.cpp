// Every seed and every input a fuzzer once tripped over, run again through the same entry function.
// A kept finding lives in regressions/<target>/ under the name the fuzzer gave it; the workbooks of
// regressions/freexl/, which once crashed the former spreadsheet library, go through the isolated
// reader instead (see the unsafe input tests).
#include "entries/fuzzentries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

int Replay(const FuzzTarget& target, const QString& folder)
{
    int count = 0;
    QDirIterator it(folder + u'/' + QLatin1String(target.name), QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        const QByteArray bytes = f.readAll();
        SCOPED_TRACE(f.fileName().toStdString());
        EXPECT_EQ(target.entry(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), 0);
        ++count;
    }
    return count;
}

// The loaders' scratch files go to a folder of the test's own.
class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }
    void TearDown() override { qputenv("TMPDIR", m_previous); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

}  // namespace

TEST_P(FuzzReplay, SeedsAndKeptFindingsRunClean)
{
    const int seeds = Replay(GetParam(), QStringLiteral(KKT_FUZZ_CORPUS));
    EXPECT_GT(seeds, 0) << "no seeds for " << GetParam().name << ": run scripts/make-fuzz-seeds.sh";
    Replay(GetParam(), QStringLiteral(KKT_FUZZ_REGRESSIONS));
}

TEST_P(FuzzReplay, EmptyAndOneByteInputs)
{
    const uint8_t bytes[] = {0, 0xFF, 0x17, '\r', '['};
    EXPECT_EQ(GetParam().entry(bytes, 0), 0);
    for (const uint8_t& b : bytes)
        EXPECT_EQ(GetParam().entry(&b, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(FuzzTargets()),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) { return std::string(info.param.name); });
