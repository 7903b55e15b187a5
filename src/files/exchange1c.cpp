#include "files/exchange1c.h"

#include "files/numbertext.h"
#include "text/codepage.h"
#include "text/conversion.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr char kSoh = '\x01';
constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr char kEot = '\x04';
constexpr char kTab = '\t';
constexpr int kFields = 6;
// In a complete file the line after the 6000 goods lines is the EOT line; it is never examined.
constexpr qsizetype kEotLineIndex = kGoodsCount + 1;

// A cell with a line break, a TAB or another framing character would split or cut its goods line
// and make the file unreadable for both sides; such characters go out as blanks.
QString FieldText(const QString& cell)
{
    QString text = cell;
    for (QChar& ch : text)
        if (ch.unicode() < 0x20)
            ch = u' ';
    return text;
}

// The accounting side and our own import expect a point: the grid's price editor types a comma.
QString PriceText(const QString& cell)
{
    if (cell.isEmpty())
        return QStringLiteral("0.0");
    QString price = FieldText(cell);
    const qsizetype comma = price.indexOf(u',');
    if (comma >= 0)
        price[comma] = u'.';
    return price;
}

// Lines as a text file reader splits them: at CR, LF or CR LF; a last line without its end counts.
QList<QByteArrayView> SplitLines(const QByteArray& bytes)
{
    QList<QByteArrayView> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QByteArrayView(bytes.constData() + start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QByteArrayView(bytes.constData() + start, n - start));
    return lines;
}

struct TtmpStringData {
    QString Number;
    QString Name;
    QString TypeFont;
    QString Shtr;
    QString Price;
    QString Section;
};

std::optional<TtmpStringData> ParseGoodsLine(QByteArrayView line)
{
    if (line.size() < 2 || line.front() != kStx || line.back() != kEtx || line.count(kTab) != kFields - 1)
        return std::nullopt;
    QByteArrayView body = line.sliced(1);
    QList<QString> fields;
    for (int k = 0; k < kFields - 1; ++k) {
        const qsizetype tab = body.indexOf(kTab);
        fields.append(codepage::fromCp1251(body.data(), tab));
        body = body.sliced(tab + 1);
    }
    const qsizetype sectionEnd = body.indexOf(kEtx);
    fields.append(codepage::fromCp1251(body.data(), sectionEnd));
    return TtmpStringData{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

bool RecordValid(const TtmpStringData& record)
{
    int32_t number = 0;
    return TryStrToInt32(record.Number, number) && IsDotFloat(record.Price)
        && (record.TypeFont == QStringLiteral("Узкий") || record.TypeFont == QStringLiteral("Широкий"));
}

}  // namespace

QByteArray Export1cdb(const TGoodsTable& goods)
{
    QByteArray out;
    out.reserve(64 * kGoodsCount);
    out.append(kSoh).append("\r\n");
    const QString tab(QChar(u'\t'));
    for (int r = 1; r <= kGoodsCount; ++r) {
        const TGoodsRow row = r <= static_cast<int>(goods.size()) ? goods[r - 1] : TGoodsRow{};
        const QString line = QString::number(r) + tab + FieldText(row[GoodsName]) + tab + kExportTypeFont + tab
                           + FieldText(row[GoodsShtrih]) + tab + PriceText(row[GoodsPrice]) + tab
                           + FieldText(row[GoodsSection]);
        out.append(kStx).append(codepage::toCp1251(line)).append(kEtx).append("\r\n");
    }
    out.append(kEot).append("\r\n");
    return out;
}

T1cdbImport Import1cdb(const QByteArray& bytes)
{
    T1cdbImport result;
    const QList<QByteArrayView> lines = SplitLines(bytes);
    std::vector<TtmpStringData> records;
    records.reserve(std::min<qsizetype>(lines.size(), kGoodsCount));
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QByteArrayView line = lines[index];
        if (index == 0) {
            if (line != QByteArrayView(&kSoh, 1))
                return result;
            continue;
        }
        if (index == kEotLineIndex)
            continue;
        // The EOT line closes the file wherever it stands, also after fewer than 6000 goods lines.
        if (index == lines.size() - 1 && line == QByteArrayView(&kEot, 1))
            break;
        auto record = ParseGoodsLine(line);
        if (!record)
            return result;
        records.push_back(std::move(*record));
    }
    for (const auto& record : records)
        if (!RecordValid(record))
            return result;

    result.accepted = true;
    result.count = static_cast<int>(records.size());
    result.goods = ResetGoodsTable();
    for (const auto& record : records) {
        const int number = StrToInt(record.Number);
        if (number < 1 || number > kGoodsCount)
            continue;
        TGoodsRow& row = result.goods[number - 1];
        row[GoodsName] = record.Name;
        row[GoodsShtrih] = record.Shtr;
        row[GoodsPrice] = record.Price;
        row[GoodsSection] = record.Section;
    }
    return result;
}

T1cdbSave Save1cdbFile(const QString& fileName, const TGoodsTable& goods)
{
    T1cdbSave result;
    QSaveFile file(fileName);
    const QByteArray bytes = Export1cdb(goods);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        result.error = QStringLiteral("Не удалось записать файл \"%1\": %2").arg(fileName, file.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

T1cdbLoad Load1cdbFile(const QString& fileName)
{
    T1cdbLoad result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(fileName, file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(fileName, file.errorString());
        return result;
    }
    result.import = Import1cdb(bytes);
    return result;
}
