#include "sheetfixtures.h"

#include <QFile>
#include <QProcess>
#include <optional>
#include <map>
#include <zip.h>

namespace {

const QStringList kHeadings = {"Код", "Группа", "Штрих-код", "Наименование", "Секция", "Цена"};

TestSheet Headed(const QString& name)
{
    TestSheet sheet{name, {}};
    for (int c = 0; c < kHeadings.size(); ++c)
        sheet.cells.push_back({1, c + 1, kHeadings[c]});
    return sheet;
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString ColumnName(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

bool AddPart(zipFile zip, const char* name, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    zip_fileinfo info{};
    return zipOpenNewFileInZip(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION)
               == ZIP_OK
        && zipWriteInFileInZip(zip, bytes.constData(), static_cast<unsigned>(bytes.size())) == ZIP_OK
        && zipCloseFileInZip(zip) == ZIP_OK;
}

QString SheetXml(const TestSheet& sheet, QStringList& shared)
{
    std::map<int, std::map<int, TestValue>> rows;
    int lastRow = 1;
    for (const auto& cell : sheet.cells) {
        rows[cell.row][cell.column] = cell.value;
        lastRow = std::max(lastRow, cell.row);
    }
    QString xml = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                      "<dimension ref=\"A1:F%1\"/><sheetData>")
                      .arg(lastRow);
    for (const auto& [r, cells] : rows) {
        xml += QStringLiteral("<row r=\"%1\">").arg(r);
        for (const auto& [c, value] : cells) {
            const QString ref = ColumnName(c) + QString::number(r);
            if (const auto* text = std::get_if<QString>(&value)) {
                if (c == 4) {
                    xml += QStringLiteral("<c r=\"%1\" t=\"s\"><v>%2</v></c>").arg(ref).arg(shared.size());
                    shared.append(*text);
                } else {
                    xml += QStringLiteral("<c r=\"%1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">%2</t></is></c>")
                               .arg(ref, Escaped(*text));
                }
            } else if (const auto* number = std::get_if<double>(&value)) {
                xml += QStringLiteral("<c r=\"%1\"><v>%2</v></c>").arg(ref, QString::number(*number, 'g', 17));
            } else {
                xml += QStringLiteral("<c r=\"%1\" s=\"1\"/>").arg(ref);
            }
        }
        xml += QStringLiteral("</row>");
    }
    return xml + QStringLiteral("</sheetData></worksheet>");
}

}  // namespace

std::vector<TestSheet> HeadingOnlyBook()
{
    return {Headed("Товары")};
}

std::vector<TestSheet> Rows7000Book()
{
    TestSheet sheet = Headed("Товары");
    for (int r = 2; r <= 7001; ++r) {
        sheet.cells.push_back({r, 3, 4600000000000.0 + r});
        sheet.cells.push_back({r, 4, QStringLiteral("Товар №%1").arg(r)});
        sheet.cells.push_back({r, 5, double(r % 9 + 1)});
        sheet.cells.push_back({r, 6, r * 1.25});
    }
    return {sheet};
}

std::vector<TestSheet> PricesBook()
{
    TestSheet s = Headed("Товары");
    auto row = [&](int r, std::optional<TestValue> c, QString d, std::optional<TestValue> e,
                   std::optional<TestValue> f) {
        if (c)
            s.cells.push_back({r, 3, *c});
        s.cells.push_back({r, 4, d});
        if (e)
            s.cells.push_back({r, 5, *e});
        if (f)
            s.cells.push_back({r, 6, *f});
    };
    row(2, 4600000000000.0, "Молоко", 3.0, 150.0);
    row(3, QString("4601234567890"), " Хлеб  белый ", QString("2"), QString("12,5"));
    row(4, {}, "Сыр", {}, QString("12.50"));
    row(5, {}, "Пустая цена", {}, {});
    row(6, {}, "Буквы", {}, QString("abc"));
    row(7, {}, "Пробел", {}, QString("1 234,50"));
    row(8, {}, "Дробь", {}, 89.99);
    row(9, {}, "Число", {}, 12.5);
    row(10, {}, "Две запятые", {}, QString("1,2,3"));
    return {s};
}

std::vector<TestSheet> FormattedBook()
{
    TestSheet s = Headed("Товары");
    s.cells.push_back({2, 4, QString("Единственный")});
    s.cells.push_back({2, 6, 10.0});
    for (int r = 3; r <= 10; ++r)
        s.cells.push_back({r, 4, FormattedEmpty{}});
    return {s};
}

std::vector<TestSheet> TwoSheetsBook()
{
    TestSheet first = Headed("Первый");
    first.cells.push_back({2, 4, QString("С первого листа")});
    TestSheet second = Headed("Второй");
    second.cells.push_back({2, 4, QString("Со второго листа")});
    second.cells.push_back({3, 4, QString("Со второго листа")});
    return {first, second};
}

bool WriteXlsx(const QString& fileName, const std::vector<TestSheet>& sheets)
{
    zipFile zip = zipOpen(QFile::encodeName(fileName).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    const int count = static_cast<int>(sheets.size());
    QString types = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
        "<Override PartName=\"/xl/sharedStrings.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>");
    QString workbook = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>");
    QString rels = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdStyles\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rIdStrings\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
        "Target=\"sharedStrings.xml\"/>");
    QStringList shared;
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        const int part = count - i;
        types += QStringLiteral("<Override PartName=\"/xl/worksheets/sheet%1.xml\" "
                                "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                                "worksheet+xml\"/>")
                     .arg(part);
        workbook += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%3\"/>")
                        .arg(Escaped(sheets[i].name))
                        .arg(i + 1)
                        .arg(part);
        rels += QStringLiteral("<Relationship Id=\"rId%1\" "
                               "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                               "worksheet\" Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(part);
        ok = ok && AddPart(zip, QStringLiteral("xl/worksheets/sheet%1.xml").arg(part).toUtf8().constData(),
                           SheetXml(sheets[i], shared));
    }
    QString strings = QStringLiteral(
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"%1\">")
                          .arg(shared.size());
    for (const QString& s : shared)
        strings += QStringLiteral("<si><t xml:space=\"preserve\">%1</t></si>").arg(Escaped(s));
    strings += QStringLiteral("</sst>");
    const QString styles = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font/></fonts>"
        "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill>"
        "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFFFFF00\"/></patternFill></fill></fills>"
        "<borders count=\"1\"><border/></borders>"
        "<cellXfs count=\"2\"><xf fillId=\"0\"/><xf fillId=\"2\" applyFill=\"1\"/></cellXfs></styleSheet>");
    const QString rootRels = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>");
    ok = ok && AddPart(zip, "[Content_Types].xml", types + QStringLiteral("</Types>"))
        && AddPart(zip, "_rels/.rels", rootRels)
        && AddPart(zip, "xl/workbook.xml", workbook + QStringLiteral("</sheets></workbook>"))
        && AddPart(zip, "xl/_rels/workbook.xml.rels", rels + QStringLiteral("</Relationships>"))
        && AddPart(zip, "xl/sharedStrings.xml", strings) && AddPart(zip, "xl/styles.xml", styles);
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

FixtureMake MakeXlsFixtures(const QString& folder, QString& reason)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(KKT_FIXTURE_SCRIPT), folder});
    if (!python.waitForStarted(10000)) {
        reason = QStringLiteral("/usr/bin/python3 does not start");
        return FixtureMake::Failed;
    }
    python.waitForFinished(120000);
    if (python.exitStatus() == QProcess::NormalExit && python.exitCode() == 3) {
        reason = QStringLiteral("python3-xlwt is not installed");
        return FixtureMake::NoXlwt;
    }
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        reason = QStringLiteral("fixture script failed: ") + QString::fromUtf8(python.readAllStandardError());
        return FixtureMake::Failed;
    }
    return FixtureMake::Made;
}
