#include "files/csvtable.h"

#include "text/codepage.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

QString LineError(int line, const QString& what)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(what);
}

QString SeparatorName(QChar separator)
{
    if (separator == u';')
        return QStringLiteral("точка с запятой");
    return separator == u'\t' ? QStringLiteral("табуляция") : QStringLiteral("запятая");
}

// Splits decoded text into records; a bare CR outside quotes is no line end this format knows.
class TCsvParser {
public:
    TCsvParser(const QString& text, QChar separator) : m_text(text), m_separator(separator) {}

    // At most `limit` records (all when negative).
    TCsvRead Run(int limit = -1)
    {
        TCsvRead read;
        const qsizetype n = m_text.size();
        qsizetype i = 0;
        while (i < n && read.records.size() != limit) {
            TCsvRecord record;
            record.line = m_line;
            if (IsLineEnd(i)) {  // an empty line
                i = SkipLineEnd(i);
                continue;
            }
            for (;;) {
                QString field;
                if (!ReadField(i, field, read.error))
                    return read;
                record.fields.append(field);
                if (i >= n)
                    break;
                if (m_text[i] == m_separator) {
                    ++i;
                    continue;
                }
                if (IsLineEnd(i)) {
                    i = SkipLineEnd(i);
                    break;
                }
                read.error = LineError(m_line, QStringLiteral("после закрывающей кавычки ожидается %1").arg(SeparatorName(m_separator)));
                return read;
            }
            read.records.append(record);
        }
        return read;
    }

private:
    bool IsLineEnd(qsizetype i) const
    {
        return m_text[i] == u'\n' || (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n');
    }
    qsizetype SkipLineEnd(qsizetype i)
    {
        ++m_line;
        return m_text[i] == u'\r' ? i + 2 : i + 1;
    }

    // Reads one field from i; leaves i on the character after it (separator, line end or the end).
    bool ReadField(qsizetype& i, QString& field, QString& error)
    {
        const qsizetype n = m_text.size();
        if (i < n && m_text[i] == u'"') {
            const int startLine = m_line;
            ++i;
            for (;;) {
                if (i >= n) {
                    error = LineError(startLine, QStringLiteral("кавычка поля не закрыта"));
                    return false;
                }
                const QChar c = m_text[i];
                if (c == u'"') {
                    if (i + 1 < n && m_text[i + 1] == u'"') {
                        field.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    return true;
                }
                if (c == u'\n')
                    ++m_line;
                field.append(c);
                ++i;
            }
        }
        while (i < n && m_text[i] != m_separator && !IsLineEnd(i)) {
            const QChar c = m_text[i];
            if (c == u'"') {
                error = LineError(m_line, QStringLiteral("кавычка внутри поля без кавычек"));
                return false;
            }
            if (c == u'\r') {
                error = LineError(m_line, QStringLiteral("символ CR без LF вне кавычек"));
                return false;
            }
            field.append(c);
            ++i;
        }
        return true;
    }

    const QString& m_text;
    const QChar m_separator;
    int m_line = 1;
};

QString QuoteField(const QString& field, QChar separator)
{
    static const QString special = QStringLiteral("\"\r\n");
    bool needs = field.contains(separator);
    for (QChar c : field)
        needs = needs || special.contains(c);
    if (!needs)
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString Quoted(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

std::optional<QString> FromUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

const QString kNotUtf8 = QStringLiteral("текст не в кодировке UTF-8");

TCsvRead Failed(const QString& error)
{
    TCsvRead read;
    read.error = error;
    return read;
}

}  // namespace

TCsvRead ParseCsv(const QByteArray& bytes)
{
    const std::optional<QString> text = FromUtf8(bytes);
    if (!text)
        return Failed(kNotUtf8);
    return TCsvParser(*text, u',').Run();
}

TCsvRead ParseCsvWithHeading(const QByteArray& bytes, const QStringList& heading)
{
    // The readings the bytes allow: a byte-order mark means UTF-8; otherwise UTF-8 where the bytes are
    // valid UTF-8, and Windows-1251, whose every byte is a character.
    struct Reading {
        QString text;
        QString encoding;
    };
    QList<Reading> readings;
    const std::optional<QString> utf8 = FromUtf8(bytes);
    if (utf8)
        readings.append({*utf8, QStringLiteral("UTF-8")});
    else if (bytes.startsWith(kBom))
        return Failed(kNotUtf8);
    if (!bytes.startsWith(kBom)) {
        const QString cp1251 = codepage::fromCp1251(bytes);
        if (!utf8 || cp1251 != *utf8)
            readings.append({cp1251, QStringLiteral("Windows-1251")});
    }

    struct Fit {
        qsizetype reading;
        QChar separator;
    };
    QList<Fit> fits;
    for (qsizetype k = 0; k < readings.size(); ++k) {
        for (QChar separator : {QChar(u','), QChar(u';'), QChar(u'\t')}) {
            const TCsvRead first = TCsvParser(readings[k].text, separator).Run(1);
            if (first.ok() && !first.records.isEmpty() && first.records[0].fields == heading)
                fits.append({k, separator});
        }
    }
    if (fits.isEmpty()) {
        // Today's reading and its messages, or why a file that is no UTF-8 fits neither way.
        if (utf8)
            return TCsvParser(*utf8, u',').Run();
        return Failed(QStringLiteral("строка 1: ни в кодировке UTF-8, ни в Windows-1251 это не строка заголовков "
                                     "с разделителем \",\", \";\" или табуляцией; заголовки столбцов должны быть: %1")
                          .arg(heading.join(u',')));
    }
    for (const Fit& fit : fits) {
        if (fit.reading != fits[0].reading)
            return Failed(QStringLiteral("кодировку файла не определить: строка заголовков читается и в UTF-8, и в Windows-1251"));
    }
    // Several separators fit a heading of one column: the one with which every record has its columns.
    const QString& text = readings[fits[0].reading].text;
    QList<TCsvRead> whole;
    QStringList names;
    for (const Fit& fit : fits) {
        TCsvRead read = TCsvParser(text, fit.separator).Run();
        const bool fitsAll = read.ok() && std::all_of(read.records.cbegin(), read.records.cend(), [&](const TCsvRecord& r) {
            return r.fields.size() == heading.size();
        });
        if (fits.size() == 1 || fitsAll) {
            whole.append(read);
            names.append(fit.separator == u'\t' ? QStringLiteral("табуляция") : QStringLiteral("\"%1\"").arg(fit.separator));
        }
    }
    if (whole.size() == 1)
        return whole[0];
    return Failed(QStringLiteral("разделитель полей не определить: подходят %1").arg(names.join(QStringLiteral(" и "))));
}

QByteArray FormatCsv(const QList<QStringList>& records, CsvStyle style)
{
    const bool spreadsheet = style == CsvStyle::Spreadsheet;
    const QChar separator = spreadsheet ? u';' : u',';
    const QString end = spreadsheet ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const QStringList& record : records) {
        QStringList fields;
        fields.reserve(record.size());
        for (const QString& f : record)
            fields.append(QuoteField(f, separator));
        text += fields.join(separator);
        text += end;
    }
    return spreadsheet ? kBom + text.toUtf8() : text.toUtf8();
}

QList<QStringList> GridCsvRecords(const TGridData& grid, int first, int last)
{
    QList<QStringList> records;
    const auto row = [&grid](int r) {
        QStringList fields;
        for (int c = 0; c < grid.ColCount(); ++c)
            fields.append(grid.Cell(c, r));
        return fields;
    };
    records.append(row(0));
    for (int r = first; r <= last; ++r)
        records.append(row(r));
    return records;
}

TCsvApply ApplyCsvRecords(const TCsvRead& csv, TGridData& grid)
{
    TCsvApply apply;
    if (!csv.ok()) {
        apply.error = csv.error;
        return apply;
    }
    if (csv.records.isEmpty()) {
        apply.error = QStringLiteral("файл пуст: нет строки заголовков");
        return apply;
    }
    const int cols = grid.ColCount();
    const TCsvRecord& header = csv.records.first();
    QStringList expected;
    for (int c = 0; c < cols; ++c)
        expected.append(grid.Cell(c, 0));
    if (header.fields != expected) {
        apply.error = LineError(header.line, QStringLiteral("заголовки столбцов должны быть: %1").arg(expected.join(u',')));
        return apply;
    }

    QHash<QString, int> rowOfLabel;
    for (int r = 1; r < grid.RowCount(); ++r)
        rowOfLabel.insert(grid.Cell(0, r), r);

    TGridData result = grid;
    QHash<int, int> lineOfRow;
    for (qsizetype k = 1; k < csv.records.size(); ++k) {
        const TCsvRecord& record = csv.records[k];
        if (record.fields.size() != cols) {
            apply.error = LineError(record.line, QStringLiteral("полей %1, а в таблице %2 столбцов")
                                                     .arg(record.fields.size())
                                                     .arg(cols));
            return apply;
        }
        const auto found = rowOfLabel.constFind(record.fields[0]);
        if (found == rowOfLabel.constEnd()) {
            apply.error = LineError(record.line, QStringLiteral("в таблице нет строки %1").arg(Quoted(record.fields[0])));
            return apply;
        }
        const int row = found.value();
        if (lineOfRow.contains(row)) {
            apply.error = LineError(record.line, QStringLiteral("строка таблицы %1 уже задана в строке %2")
                                                     .arg(Quoted(record.fields[0]))
                                                     .arg(lineOfRow.value(row)));
            return apply;
        }
        lineOfRow.insert(row, record.line);
        for (int c = 1; c < cols; ++c)
            result.SetCell(c, row, record.fields[c]);
        apply.rows.append(row);
        apply.lines.append(record.line);
    }
    grid = result;
    return apply;
}
