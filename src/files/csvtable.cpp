#include "files/csvtable.h"

#include <QHash>
#include <QStringDecoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

QString LineError(int line, const QString& what)
{
    return QStringLiteral("строка %1: %2").arg(line).arg(what);
}

// Splits decoded text into records; a bare CR outside quotes is no line end this format knows.
class TCsvParser {
public:
    explicit TCsvParser(const QString& text) : m_text(text) {}

    TCsvRead Run()
    {
        TCsvRead read;
        const qsizetype n = m_text.size();
        qsizetype i = 0;
        while (i < n) {
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
                if (m_text[i] == u',') {
                    ++i;
                    continue;
                }
                if (IsLineEnd(i)) {
                    i = SkipLineEnd(i);
                    break;
                }
                read.error = LineError(m_line, QStringLiteral("после закрывающей кавычки ожидается запятая"));
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
        while (i < n && m_text[i] != u',' && !IsLineEnd(i)) {
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
    int m_line = 1;
};

QString QuoteField(const QString& field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool needs = false;
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

}  // namespace

TCsvRead ParseCsv(const QByteArray& bytes)
{
    const QByteArray body = bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(body);
    if (decoder.hasError()) {
        TCsvRead read;
        read.error = QStringLiteral("текст не в кодировке UTF-8");
        return read;
    }
    return TCsvParser(text).Run();
}

QByteArray FormatCsv(const QList<QStringList>& records)
{
    QString text;
    for (const QStringList& record : records) {
        QStringList fields;
        fields.reserve(record.size());
        for (const QString& f : record)
            fields.append(QuoteField(f));
        text += fields.join(u',');
        text += u'\n';
    }
    return text.toUtf8();
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
