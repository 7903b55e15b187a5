#include "files/xlsreader.h"

#include "files/biffsheet.h"
#include "files/isolatedcall.h"
#include "files/olestream.h"

#include <QDataStream>
#include <QIODevice>

namespace {

TSheetRead Failure(const QString& fileName, const QString& why)
{
    TSheetRead result;
    result.error = QStringLiteral("Не удалось прочитать книгу \"%1\": %2.").arg(fileName, why);
    return result;
}

// A read as it crosses from the isolated reader: status, error, the window and its cells.
QByteArray Serialize(const TSheetRead& read)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint32(read.status) << read.error;
    if (read.status == SheetStatus::Failed)
        return bytes;
    out << qint32(read.cells.maxRow()) << qint32(read.cells.maxColumn()) << qint32(read.cells.lastRow());
    for (int r = 1; r <= read.cells.maxRow(); ++r)
        for (int c = 1; c <= read.cells.maxColumn(); ++c)
            out << read.cells.cell(r, c);
    return bytes;
}

// False for anything but the window that was asked for.
bool Deserialize(const QByteArray& bytes, int wantRows, int wantColumns, TSheetRead& read)
{
    QDataStream in(bytes);
    qint32 status = 0, maxRow = 0, maxColumn = 0, lastRow = 0;
    in >> status >> read.error;
    if (in.status() != QDataStream::Ok || status < int(SheetStatus::Read) || status > int(SheetStatus::Failed))
        return false;
    read.status = SheetStatus(status);
    if (read.status == SheetStatus::Failed)
        return !read.error.isEmpty();
    in >> maxRow >> maxColumn >> lastRow;
    if (in.status() != QDataStream::Ok || maxRow != std::max(0, wantRows) || maxColumn != std::max(0, wantColumns))
        return false;
    read.cells = TSheetCells(maxRow, maxColumn);
    read.cells.useRow(lastRow);
    for (int r = 1; r <= maxRow; ++r) {
        for (int c = 1; c <= maxColumn; ++c) {
            QString text;
            in >> text;
            if (!text.isEmpty())
                read.cells.setCell(r, c, text);
        }
    }
    return in.status() == QDataStream::Ok;
}

}  // namespace

TSheetRead ReadXlsFirstSheet(const QString& fileName, int maxRow, int maxColumn)
{
    // Far beyond what the largest workbook 1C writes takes; only a reader stuck in a damaged file hits it.
    constexpr int kTimeOutMs = 60000;
    const TIsolatedResult run =
        RunIsolated({[&] { return ReadXlsFirstSheetAnswer(fileName, maxRow, maxColumn); },
                     {kXlsReadHelper, fileName, QString::number(maxRow), QString::number(maxColumn)}},
                    kTimeOutMs);
    TSheetRead read;
    if (run.ok && Deserialize(run.output, maxRow, maxColumn, read))
        return read;
    return Failure(fileName, run.ok ? QStringLiteral("ответ чтения повреждён") : run.error);
}

QByteArray ReadXlsFirstSheetAnswer(const QString& fileName, int maxRow, int maxColumn)
{
    return Serialize(ReadXlsFirstSheetInProcess(fileName, maxRow, maxColumn));
}

TSheetRead ReadXlsFirstSheetInProcess(const QString& fileName, int maxRow, int maxColumn)
{
    QString why;
    const std::optional<QByteArray> stream = ReadWorkbookStream(fileName, why);
    if (!stream)
        return Failure(fileName, why);
    TSheetRead result;
    result.cells = TSheetCells(maxRow, maxColumn);
    if (!ReadBiffFirstSheet(*stream, result.cells, why))
        return Failure(fileName, why);
    result.status = SheetStatus::Read;
    return result;
}
