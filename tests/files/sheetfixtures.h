#pragma once
#include <QString>
#include <variant>
#include <vector>

// Workbooks for the goods import tests. The same five books exist as ".xls", written by
// scripts/make-fixtures.py with python3-xlwt, and as ".xlsx", written here with minizip.
struct FormattedEmpty {};
using TestValue = std::variant<QString, double, FormattedEmpty>;

struct TestCell {
    int row;     // from 1
    int column;  // from 1 (A)
    TestValue value;
};

struct TestSheet {
    QString name;
    std::vector<TestCell> cells;
};

std::vector<TestSheet> HeadingOnlyBook();
std::vector<TestSheet> Rows7000Book();
std::vector<TestSheet> PricesBook();
std::vector<TestSheet> FormattedBook();
std::vector<TestSheet> TwoSheetsBook();

// A minimal valid workbook. Texts of column D go to the shared strings, the others inline, so both
// kinds are read. The part files are numbered backwards, so only the workbook's own order tells
// which sheet is the first.
bool WriteXlsx(const QString& fileName, const std::vector<TestSheet>& sheets);

// Runs the fixture script into folder. NoXlwt only when Debian's interpreter lacks python3-xlwt.
enum class FixtureMake { Made, NoXlwt, Failed };
FixtureMake MakeXlsFixtures(const QString& folder, QString& reason);
