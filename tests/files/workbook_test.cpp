#include "filefixture.h"

#include "files/workbook.h"
#include "module/gsmgrid.h"
#include "tables/agentlocks.h"

#include <QFile>
#include <xlsxwriter.h>

namespace {

// A book as a spreadsheet program leaves it after editing: numbers where digits were, rows moved,
// only some sheets. Each cell of digits is written as a number.
void WriteEdited(const QString& file, const QList<std::pair<QString, QList<QStringList>>>& sheets)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(file).constData());
    for (const auto& [name, rows] : sheets) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, name.toUtf8().constData());
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c) {
                bool number = false;
                const double value = rows[r][c].toDouble(&number);
                if (number && r > 0 && rows[r][c].at(0).isDigit())
                    worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), value, nullptr);
                else if (!rows[r][c].isEmpty())
                    worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), rows[r][c].toUtf8().constData(), nullptr);
            }
    }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

QStringList Headings(TableId id)
{
    QStringList h;
    for (const TColumnDef& c : TableDef(id).columns)
        h.append(c.heading);
    return h;
}

using WorkbookTest = FileFolderTest;

}  // namespace

TEST_F(WorkbookTest, AnEditedBookLoadsByTheRowNamesAndLeavesMissingSheetsAlone)
{
    const QString file = path("edited.xlsx");
    QStringList agent{"4", AgentSigns()[1]};
    for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
        agent.append(IsAgentPhoneColumn(c) ? kPhonePrefix : QString());
    // Rows reversed, numbers as numbers, the agents' unused fields left empty, a blank row between.
    WriteEdited(file, {{TableDef(TableId::Operators).caption,
                        {Headings(TableId::Operators), {"5", "Кассир", "Сидоров", "30", ""}, {}, {"2", "Старший", "Петров", "2", "500100732259"}}},
                       {TableDef(TableId::Agents).caption, {Headings(TableId::Agents), agent}},
                       {TableDef(TableId::Module).caption, {{"Параметр", "Значение"}, {"Порт сервера", "7777"}, {"Тип устройства", "WI-FI"}}}});
    TKktRegister copy;
    copy.Grid(TableId::Cliche).SetCell(1, 1, "kept");
    const TWorkbookLoad load = LoadWorkbook(file, copy);
    ASSERT_TRUE(load.ok()) << load.error.toStdString();
    EXPECT_TRUE(load.parts.Has(TableId::Operators) && load.parts.Has(TableId::Agents) && load.parts.Has(TableId::Module));
    EXPECT_FALSE(load.parts.Has(TableId::Goods) || load.parts.Has(TableId::Cliche));
    const TGridData& ops = copy.Grid(TableId::Operators);
    EXPECT_EQ(ops.Cell(2, 5), "Сидоров");
    EXPECT_EQ(ops.Cell(3, 5), "30");
    EXPECT_EQ(ops.Cell(4, 2), "500100732259");
    EXPECT_EQ(ops.Cell(2, 1), "");
    EXPECT_EQ(copy.Grid(TableId::Cliche).Cell(1, 1), "kept");
    // The sign's unused fields get the placeholder and their locks, as in the grid.
    for (int c : AgentUnusedColumns(1)) {
        EXPECT_EQ(copy.Grid(TableId::Agents).Cell(c, 4), kNotUsed);
        EXPECT_TRUE(copy.locks.IsLocked(c, 4));
    }
    EXPECT_EQ(copy.Grid(TableId::Module).Cell(1, gsm::PortRow), "7777");
    EXPECT_EQ(copy.Grid(TableId::Module).Cell(1, gsm::DeviceRow), "WI-FI");
}

TEST_F(WorkbookTest, ARefusedCellNamesSheetRowAndColumnAndLoadsNothing)
{
    const QString file = path("bad.xlsx");
    const struct {
        QList<std::pair<QString, QList<QStringList>>> sheets;
        QString error;
    } cases[] = {
        {{{TableDef(TableId::Operators).caption, {Headings(TableId::Operators), {"1", "Кассир", "Иванов", "1", ""}}},
          {TableDef(TableId::Sections).caption, {Headings(TableId::Sections), {}, {}, {"3", "Хлеб", "Склад"}}}},
         "лист \"Секции\", строка 4: столбец \"Тип секции\": \"Склад\" нет в списке"},
        {{{TableDef(TableId::Operators).caption, {Headings(TableId::Operators), {"7", "Кассир"}}}},
         "лист \"Операторы\", строка 2: в таблице нет строки \"7\""},
        {{{TableDef(TableId::Stations).caption, {{"Строка №"}}}},
         "лист \"Станция\", строка 1: заголовки столбцов должны быть"},
        {{{TableDef(TableId::Operators).caption, {Headings(TableId::Operators), {"1", "Кассир", "", "", "", "лишнее"}}}},
         "лист \"Операторы\", строка 2: в таблице 5 столбцов"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        WriteEdited(file, c.sheets);
        TKktRegister copy;
        const TWorkbookLoad load = LoadWorkbook(file, copy);
        EXPECT_TRUE(load.error.startsWith(c.error)) << load.error.toStdString();
        EXPECT_EQ(copy.Grid(TableId::Operators).Cell(1, 1), "");
    }
}
