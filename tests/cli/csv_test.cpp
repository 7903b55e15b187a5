#include "clirun.h"

#include "files/csvtable.h"
#include "tables/tabledefs.h"

TEST(Csv, FieldsWithCommasQuotesAndLineBreaksSurviveAWriteAndRead)
{
    const QList<QStringList> records{
        {"Код", "Текст"},
        {"1", "Иванов, Иван"},
        {"2", "Петров \"Пётр\""},
        {"3", "две\nстроки"},
        {"4", ""},
        {"5", " пробелы по краям "},
    };
    const QByteArray bytes = FormatCsv(records);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_TRUE(bytes.contains("1,\"Иванов, Иван\"\n"));
    EXPECT_TRUE(bytes.contains("2,\"Петров \"\"Пётр\"\"\"\n"));
    EXPECT_TRUE(bytes.contains("5, пробелы по краям \n"));
    const TCsvRead read = ParseCsv(bytes);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    ASSERT_EQ(read.records.size(), records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        EXPECT_EQ(read.records[i].fields, records[i]) << i;
    // The record after the two-line field starts on line 6 of the file.
    EXPECT_EQ(read.records[4].line, 6);
}

TEST(Csv, CrLfAndLfAndAByteOrderMarkReadAlike)
{
    const QByteArray lf = "a,b\n1,\"x\"\n\n2,y";
    const QByteArray crlf = "a,b\r\n1,\"x\"\r\n\r\n2,y\r\n";
    const QByteArray bom = "\xEF\xBB\xBF" "a,b\n1,x\n2,y\n";
    for (const QByteArray& bytes : {lf, crlf, bom}) {
        const TCsvRead read = ParseCsv(bytes);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        ASSERT_EQ(read.records.size(), 3) << bytes.toStdString();
        EXPECT_EQ(read.records[1].fields, QStringList({"1", "x"}));
        EXPECT_EQ(read.records[2].fields, QStringList({"2", "y"}));
    }
    EXPECT_EQ(ParseCsv(lf).records[2].line, 4);  // the empty line counts
    EXPECT_EQ(ParseCsv("a,b,\n").records[0].fields, QStringList({"a", "b", ""}));
}

TEST(Csv, MalformedTextIsRejectedWithItsLine)
{
    struct Case {
        QByteArray bytes;
        QString start;
    };
    const Case cases[] = {
        {"a,b\n1,\"open\n2,x\n", "строка 2: кавычка поля не закрыта"},
        {"a,b\n1,x\"y\n", "строка 2: кавычка внутри поля без кавычек"},
        {"a,b\n1,\"x\"y\n", "строка 2: после закрывающей кавычки"},
        {"a,b\r1,x\n", "строка 1: символ CR без LF"},
        {"a,b\n1,\xC8\xE2\xE0\xED\n", "текст не в кодировке UTF-8"},  // Windows-1251 by mistake
    };
    for (const Case& c : cases) {
        const TCsvRead read = ParseCsv(c.bytes);
        EXPECT_TRUE(read.error.startsWith(c.start)) << read.error.toStdString();
    }
}

TEST(Csv, RowsAreMatchedByColumnZeroExactlyAndOthersKeepStartUpContent)
{
    TGridData agents = InitGrid(TableId::Agents);
    QStringList header;
    for (int c = 0; c < agents.ColCount(); ++c)
        header.append(agents.Cell(c, 0));
    QStringList row3(agents.ColCount(), QString());
    row3[0] = "3";
    row3[5] = "ООО \"Ромашка\", Москва";
    const TCsvApply apply = ApplyCsvRecords(ParseCsv(FormatCsv({header, row3})), agents);
    ASSERT_TRUE(apply.ok()) << apply.error.toStdString();
    EXPECT_EQ(apply.rows, QList<int>({3}));
    EXPECT_EQ(agents.Cell(5, 3), "ООО \"Ромашка\", Москва");
    EXPECT_EQ(agents.Cell(2, 3), "");  // the file's empty phone replaces the start-up "+7"
    EXPECT_EQ(agents.Cell(2, 4), "+7");  // a row the file lacks keeps it

    // The cliché rows are known by their labels, blanks included.
    TGridData cliche = InitGrid(TableId::Cliche);
    const QString label = RowLabel(TableId::Cliche, 10);
    ASSERT_TRUE(ApplyCsvRecords(ParseCsv(FormatCsv({{cliche.Cell(0, 0), cliche.Cell(1, 0)}, {label, "Ленина, 1"}})), cliche).ok());
    EXPECT_EQ(cliche.Cell(1, 10), "Ленина, 1");
    const TCsvApply byNumber = ApplyCsvRecords(ParseCsv(FormatCsv({{cliche.Cell(0, 0), cliche.Cell(1, 0)}, {"10", "x"}})), cliche);
    EXPECT_EQ(byNumber.error, "строка 2: в таблице нет строки \"10\"");
}

TEST(Csv, AFileThatDoesNotFitTheGridChangesNothing)
{
    const TGridData start = InitGrid(TableId::Operators);
    const QByteArray header = "Опер. №,Должность,ФИО,Пароль,ИНН кассира\n";
    struct Case {
        QByteArray bytes;
        QString error;
    };
    const Case cases[] = {
        {"", "файл пуст: нет строки заголовков"},
        {"Номер,Должность,ФИО,Пароль,ИНН кассира\n1,a,b,1,2\n",
         "строка 1: заголовки столбцов должны быть: Опер. №,Должность,ФИО,Пароль,ИНН кассира"},
        {header + "1,a,b,1,2\n7,a,b,1,2\n", "строка 3: в таблице нет строки \"7\""},
        {header + "1,a,b,1,2\n01,a,b,1,2\n", "строка 3: в таблице нет строки \"01\""},
        {header + "1,a,b,1,2\n1,c,d,3,4\n", "строка 3: строка таблицы \"1\" уже задана в строке 2"},
        {header + "1,a,b,1\n", "строка 2: полей 4, а в таблице 5 столбцов"},
    };
    for (const Case& c : cases) {
        TGridData grid = start;
        const TCsvApply apply = ApplyCsvRecords(ParseCsv(c.bytes), grid);
        EXPECT_EQ(apply.error, c.error);
        EXPECT_EQ(grid.Cell(1, 1), "");
    }
}

TEST(Csv, ReadWritesTheHeadingAndOnlyTheRowsOfTheRange)
{
    TGridData goods = InitGrid(TableId::Goods);
    goods.SetCell(1, 5, "Молоко 3,2%");
    const QList<QStringList> records = GridCsvRecords(goods, 5, 6);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].first(), "Код товара");
    EXPECT_EQ(records[1], QStringList({"5", "Молоко 3,2%", "", "", "", "", ""}));
    EXPECT_EQ(records[2].first(), "6");
}
