#include "files/xlsxreader.h"

#include "files/filesystem.h"
#include "files/numbertext.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <optional>
#include <unzip.h>

namespace {

// A part larger than this is not a goods list; refusing it keeps a hostile archive from
// exhausting memory.
constexpr uLong kMaxPartSize = 512u * 1024u * 1024u;

const QString kRelationshipsNs =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

class ZipArchive {
public:
    explicit ZipArchive(const QString& fileName) : m_zip(OpenZipForReading(fileName)) {}
    ~ZipArchive()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    bool isOpen() const { return m_zip != nullptr; }

    // The uncompressed part, or nothing when the archive lacks it or it cannot be read.
    std::optional<QByteArray> part(const QString& name, QString& error)
    {
        const QByteArray entry = name.toUtf8();
        if (unzLocateFile(m_zip, entry.constData(), 1) != UNZ_OK
            && unzLocateFile(m_zip, entry.constData(), 2) != UNZ_OK)
            return std::nullopt;
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
            || info.uncompressed_size > kMaxPartSize || unzOpenCurrentFile(m_zip) != UNZ_OK) {
            error = QStringLiteral("часть \"%1\" повреждена").arg(name);
            return std::nullopt;
        }
        QByteArray data;
        data.reserve(static_cast<qsizetype>(info.uncompressed_size));
        char buffer[65536];
        int got = 0;
        while ((got = unzReadCurrentFile(m_zip, buffer, sizeof buffer)) > 0) {
            if (static_cast<uLong>(data.size()) + got > kMaxPartSize)
                break;
            data.append(buffer, got);
        }
        const bool crcOk = unzCloseCurrentFile(m_zip) == UNZ_OK;
        if (got != 0 || !crcOk) {
            error = QStringLiteral("часть \"%1\" повреждена").arg(name);
            return std::nullopt;
        }
        return data;
    }

private:
    unzFile m_zip;
};

bool IsElement(const QXmlStreamReader& xml, QLatin1String name)
{
    return xml.name() == name;
}

// The text of a rich or plain string item (<si> or <is>): its <t> runs, without phonetic runs.
QString ReadStringItem(QXmlStreamReader& xml)
{
    const QString end = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (IsElement(xml, QLatin1String("rPh")))
                ++phonetic;
            else if (IsElement(xml, QLatin1String("t")) && phonetic == 0)
                text += xml.readElementText();
        } else if (token == QXmlStreamReader::EndElement) {
            if (IsElement(xml, QLatin1String("rPh")))
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

QStringList ReadSharedStrings(const QByteArray& data)
{
    QStringList strings;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && IsElement(xml, QLatin1String("si")))
            strings.append(ReadStringItem(xml));
    }
    return strings;
}

struct TSheetEntry {
    QString name;
    QString relationship;
};

// The <sheet> entries of the workbook, in workbook order: the name and the relationship id.
QList<TSheetEntry> SheetEntries(const QByteArray& data)
{
    QList<TSheetEntry> entries;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || !IsElement(xml, QLatin1String("sheet")))
            continue;
        const auto attributes = xml.attributes();
        TSheetEntry entry{attributes.value(QLatin1String("name")).toString(), {}};
        if (attributes.hasAttribute(kRelationshipsNs, QStringLiteral("id"))) {
            entry.relationship = attributes.value(kRelationshipsNs, QStringLiteral("id")).toString();
        } else {
            for (const auto& a : attributes)
                if (a.name() == QLatin1String("id"))
                    entry.relationship = a.value().toString();
        }
        entries.append(entry);
    }
    return entries;
}

// The part name a workbook relationship points to; targets are relative to "xl/" unless absolute.
QString RelationshipTarget(const QByteArray& data, const QString& id)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && IsElement(xml, QLatin1String("Relationship"))
            && xml.attributes().value(QLatin1String("Id")) == id) {
            const QString target = xml.attributes().value(QLatin1String("Target")).toString();
            if (target.startsWith(u'/'))
                return target.mid(1);
            return QDir::cleanPath(QStringLiteral("xl/") + target);
        }
    }
    return QString();
}

int RowOfReference(QStringView reference)
{
    qsizetype i = 0;
    while (i < reference.size() && reference[i].isLetter())
        ++i;
    bool ok = false;
    const int row = reference.mid(i).toInt(&ok);
    return ok ? row : 0;
}

QString CellValueText(const QString& type, const QString& value, const QStringList& shared)
{
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        return ok && index >= 0 && index < shared.size() ? shared[index] : QString();
    }
    if (type.isEmpty() || type == QLatin1String("n")) {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        return ok ? NumberToText(number) : value;
    }
    return value;  // "str" (formula text), "e" (error), "b" (0/1), "d" (ISO date)
}

bool ReadSheet(const QByteArray& data, const QStringList& shared, TSheetCells& cells, QString& error)
{
    QXmlStreamReader xml(data);
    int row = 0;
    int column = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (IsElement(xml, QLatin1String("dimension"))) {
            const QString ref = xml.attributes().value(QLatin1String("ref")).toString();
            cells.useRow(RowOfReference(QStringView(ref).mid(ref.lastIndexOf(u':') + 1)));
        } else if (IsElement(xml, QLatin1String("row"))) {
            const int given = xml.attributes().value(QLatin1String("r")).toInt();
            row = given > 0 ? given : row + 1;
            column = 0;
            cells.useRow(row);
        } else if (IsElement(xml, QLatin1String("c"))) {
            const auto attributes = xml.attributes();
            const int given = ColumnOfReference(attributes.value(QLatin1String("r")).toString());
            column = given > 0 ? given : column + 1;
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value;
            bool hasValue = false;
            while (xml.readNextStartElement()) {
                if (IsElement(xml, QLatin1String("v"))) {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (IsElement(xml, QLatin1String("is"))) {
                    value = ReadStringItem(xml);
                    hasValue = true;
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (hasValue)
                cells.setCell(row, column, type == QLatin1String("inlineStr") ? value
                                                                               : CellValueText(type, value, shared));
        }
    }
    if (xml.hasError()) {
        error = xml.errorString();
        return false;
    }
    return true;
}

// The archive with its workbook description and shared strings, opened for reading sheets.
class TXlsxBook {
public:
    explicit TXlsxBook(const QString& fileName) : m_fileName(fileName), m_zip(fileName) {}

    // The failure text, or empty when the book is ready.
    QString Open()
    {
        if (!m_zip.isOpen())
            return FailureText(QStringLiteral("файл не является zip-архивом"));
        QString error;
        const auto workbook = m_zip.part(QStringLiteral("xl/workbook.xml"), error);
        const auto relations = m_zip.part(QStringLiteral("xl/_rels/workbook.xml.rels"), error);
        if (!workbook || !relations)
            return FailureText(error.isEmpty() ? QStringLiteral("в архиве нет описания книги") : error);
        m_entries = SheetEntries(*workbook);
        m_relations = *relations;
        if (const auto strings = m_zip.part(QStringLiteral("xl/sharedStrings.xml"), error))
            m_shared = ReadSharedStrings(*strings);
        else if (!error.isEmpty())
            return FailureText(error);
        return {};
    }
    const QList<TSheetEntry>& Entries() const { return m_entries; }

    // The failure text, or empty with `cells` filled.
    QString ReadEntry(const TSheetEntry& entry, TSheetCells& cells, const QString& missing)
    {
        QString error;
        const QString part = RelationshipTarget(m_relations, entry.relationship);
        const auto sheet = part.isEmpty() ? std::nullopt : m_zip.part(part, error);
        if (!sheet)
            return FailureText(error.isEmpty() ? missing : error);
        if (!ReadSheet(*sheet, m_shared, cells, error))
            return FailureText(error);
        return {};
    }
    QString FailureText(const QString& why) const
    {
        return QStringLiteral("Не удалось прочитать книгу \"%1\": %2.").arg(m_fileName, why);
    }

private:
    QString m_fileName;
    ZipArchive m_zip;
    QList<TSheetEntry> m_entries;
    QByteArray m_relations;
    QStringList m_shared;
};

}  // namespace

TSheetRead ReadXlsxFirstSheet(const QString& fileName, int maxRow, int maxColumn)
{
    TXlsxBook book(fileName);
    TSheetRead result;
    result.error = book.Open();
    if (!result.error.isEmpty())
        return result;
    result.cells = TSheetCells(maxRow, maxColumn);
    if (book.Entries().isEmpty() || book.Entries().first().relationship.isEmpty()) {
        // a workbook without worksheets has nothing to import
        result.status = SheetStatus::Read;
        return result;
    }
    result.error = book.ReadEntry(book.Entries().first(), result.cells, QStringLiteral("в архиве нет первого листа"));
    if (result.error.isEmpty())
        result.status = SheetStatus::Read;
    return result;
}

TWorkbookRead ReadXlsxSheets(const QString& fileName, const QList<TSheetWanted>& wanted)
{
    TXlsxBook book(fileName);
    TWorkbookRead result;
    result.error = book.Open();
    if (!result.error.isEmpty())
        return result;
    for (const TSheetEntry& entry : book.Entries()) {
        result.names.append(entry.name);
        for (const TSheetWanted& w : wanted) {
            if (w.name != entry.name || result.sheets.contains(entry.name))
                continue;
            TSheetCells cells(w.maxRow, w.maxColumn);
            result.error = book.ReadEntry(entry, cells, QStringLiteral("в архиве нет листа \"%1\"").arg(entry.name));
            if (!result.error.isEmpty())
                return result;
            result.sheets.insert(entry.name, cells);
        }
    }
    result.status = SheetStatus::Read;
    return result;
}
