#include "module/gsmgrid.h"
#include "module/gsmtransfer.h"
#include "table5port.h"
#include "tables/keydigits.h"

#include <gtest/gtest.h>

namespace {

const QChar kBackspace(keycode::Backspace);

// Types `text` key by key into an empty cell of `row`; returns what the cell ends with.
QString TypeInto(int row, const QString& text)
{
    QString cell;
    for (QChar c : text)
        if (GsmKeyAllowed(row, cell, false, c))
            cell += c;
    return cell;
}

struct Register {
    std::shared_ptr<Table5State> state = std::make_shared<Table5State>();
    KktLink link{[s = state] { return std::make_unique<Table5Port>(s); }};
    KktLinkArgs args;
    QString slot(int row) { return QString::fromLatin1(state->stored[row]).section(QChar(0), 0, 0); }
};

}  // namespace

TEST(GsmInputRules, IpRowTakesDigitsAndDotsUpToFifteen)
{
    EXPECT_EQ(TypeInto(gsm::IpRow, QStringLiteral("19a2.168,1")), QStringLiteral("192.1681"));
    EXPECT_EQ(TypeInto(gsm::IpRow, QStringLiteral("192.168.100.2001")), QStringLiteral("192.168.100.200"));
    const QString full = QStringLiteral("192.168.100.200");
    EXPECT_TRUE(GsmKeyAllowed(gsm::IpRow, full, false, kBackspace));
    // Even a selection does not let a sixteenth character in.
    EXPECT_FALSE(GsmKeyAllowed(gsm::IpRow, full, true, QChar(u'1')));
    for (char16_t k : {keycode::Copy, keycode::Paste, keycode::Cut})
        EXPECT_TRUE(GsmKeyAllowed(gsm::IpRow, QString(), false, QChar(k)));
}

TEST(GsmInputRules, PortRowIsTheFiveDigitFilter)
{
    EXPECT_EQ(TypeInto(gsm::PortRow, QStringLiteral("80x801234")), QStringLiteral("80801"));
    EXPECT_TRUE(GsmKeyAllowed(gsm::PortRow, QStringLiteral("80801"), true, QChar(u'9')));
    EXPECT_TRUE(GsmKeyAllowed(gsm::PortRow, QStringLiteral("80801"), false, kBackspace));
}

TEST(GsmInputRules, TextRowsHaveTheirOwnLimits)
{
    const QString longText(100, QLatin1Char('x'));
    EXPECT_EQ(TypeInto(gsm::DnsRow, longText).size(), 64);
    EXPECT_EQ(TypeInto(gsm::ApnGsmRow, longText).size(), 32);
    EXPECT_EQ(TypeInto(gsm::PassWifiRow, longText).size(), 32);
    // Each row looks at its own cell: a full "APN GSM" does not stop typing into "APN WI-FI".
    EXPECT_TRUE(GsmKeyAllowed(gsm::ApnWifiRow, QStringLiteral("internet"), false, QChar(u'!')));
    EXPECT_TRUE(GsmKeyAllowed(gsm::DnsRow, QString(64, QLatin1Char('d')), false, kBackspace));
}

TEST(GsmInputRules, TypeRowTakesNoKeyAtAll)
{
    for (QChar k : {QChar(u'G'), QChar(u'0'), kBackspace, QChar(keycode::Paste)})
        EXPECT_FALSE(GsmKeyAllowed(gsm::DeviceRow, QString(), false, k));
    TGridData cells = InitGrid(TableId::Module);
    TKnownRows known(TableId::Module);
    GsmGridModel grid(cells, known);
    EXPECT_FALSE(grid.flags(grid.index(gsm::DeviceRow - 1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.flags(grid.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid.flags(grid.index(gsm::IpRow - 1, 1)) & Qt::ItemIsEditable);
}

TEST(GsmDeviceCodes, BothWays)
{
    EXPECT_EQ(DeviceCodeFromText(QStringLiteral("GSM")), QStringLiteral("0"));
    EXPECT_EQ(DeviceCodeFromText(QStringLiteral("WI-FI")), QStringLiteral("1"));
    EXPECT_EQ(DeviceCodeFromText(QStringLiteral("gsm")), QString());
    EXPECT_EQ(DeviceCodeFromText(QStringLiteral("неизвестное устройство")), QString());
    EXPECT_EQ(DeviceTextFromCode(QStringLiteral("0")), QStringLiteral("GSM"));
    EXPECT_EQ(DeviceTextFromCode(QStringLiteral("1")), QStringLiteral("WI-FI"));
    EXPECT_EQ(DeviceTextFromCode(QStringLiteral("2")), QStringLiteral("неизвестное устройство"));
    EXPECT_EQ(DeviceTextFromCode(QString()), QStringLiteral("неизвестное устройство"));
}

namespace {

// The run's progress as the frame's bar shows it, in percent.
TRunHooks Percents(std::vector<int>& out)
{
    TRunHooks hooks;
    hooks.progress = [&out](int done, int total) { out.push_back(ProgressPercent(done, total)); };
    return hooks;
}

}  // namespace

TEST(GsmTransfer, WriteSendsEveryRowThenReadBringsItBack)
{
    Register reg;
    TGridData grid = InitGrid(TableId::Module);
    const QStringList values{QStringLiteral("10.0.0.1"), QStringLiteral("8080"), QStringLiteral("dns.example"),
                             QStringLiteral("internet"), QStringLiteral("HomeNet"), QStringLiteral("secret")};
    for (int row = 1; row <= 6; ++row)
        grid.SetCell(1, row, values[row - 1]);
    grid.SetCell(1, gsm::DeviceRow, QStringLiteral("WI-FI"));

    std::vector<int> progress;
    EXPECT_TRUE(WriteGsmParams(reg.link, reg.args, grid, Percents(progress)).ok());
    EXPECT_EQ(progress, (std::vector<int>{14, 29, 43, 57, 71, 86, 100}));
    EXPECT_EQ(reg.slot(gsm::DnsRow), QStringLiteral("dns.example"));
    EXPECT_EQ(reg.slot(gsm::DeviceRow), QStringLiteral("1"));

    TGridData fresh = InitGrid(TableId::Module);
    progress.clear();
    EXPECT_TRUE(ReadGsmParams(reg.link, reg.args, fresh, Percents(progress)).ok());
    EXPECT_EQ(progress.size(), 7u);
    for (int row = 1; row <= gsm::kRows; ++row)
        EXPECT_EQ(fresh.Cell(1, row), grid.Cell(1, row)) << row;
}

TEST(GsmTransfer, EmptyOrUnknownTypeWritesAnEmptyCodeAndReadsAsUnknown)
{
    Register reg;
    TGridData grid = InitGrid(TableId::Module);
    grid.SetCell(1, gsm::DeviceRow, QStringLiteral("неизвестное устройство"));
    ASSERT_TRUE(WriteGsmParams(reg.link, reg.args, grid, {}).ok());
    EXPECT_EQ(reg.state->stored[gsm::DeviceRow], QByteArray(64, '\0'));

    reg.state->stored[gsm::DeviceRow] = QByteArray("2").leftJustified(64, '\0');
    ASSERT_TRUE(ReadGsmParams(reg.link, reg.args, grid, {}).ok());
    EXPECT_EQ(grid.Cell(1, gsm::DeviceRow), QStringLiteral("неизвестное устройство"));
}

TEST(GsmTransfer, SilentRowStopsTheRunAndNamesItsCaption)
{
    Register reg;
    reg.state->silentRows = {gsm::DnsRow};
    TGridData grid = InitGrid(TableId::Module);
    for (int row = 1; row <= 6; ++row)
        grid.SetCell(1, row, QStringLiteral("v%1").arg(row));
    std::vector<int> progress;
    const TRunResult w = WriteGsmParams(reg.link, reg.args, grid, Percents(progress));
    EXPECT_EQ(w.entriesDone, gsm::DnsRow - 1);
    EXPECT_EQ(w.message, QStringLiteral("ВНИМАНИЕ!\r\nНе удалось записать параметр DNS сервера!"));
    EXPECT_EQ(progress, (std::vector<int>{14, 29}));
    EXPECT_EQ(reg.state->requests.size(), 3u);  // later rows were not attempted
    EXPECT_EQ(reg.state->stored.size(), 2u);

    TGridData read = InitGrid(TableId::Module);
    read.SetCell(1, gsm::ApnGsmRow, QStringLiteral("untouched"));
    const TRunResult r = ReadGsmParams(reg.link, reg.args, read, {});
    EXPECT_EQ(r.message, QStringLiteral("ВНИМАНИЕ!\r\nНе удалось прочитать параметр DNS сервера!"));
    EXPECT_EQ(read.Cell(1, gsm::PortRow), QStringLiteral("v2"));
    EXPECT_EQ(read.Cell(1, gsm::ApnGsmRow), QStringLiteral("untouched"));
}
