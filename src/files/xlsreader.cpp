#include "files/xlsreader.h"

#include "files/isolatedcall.h"
#include "files/numbertext.h"

#include <QDataStream>
#include <QFile>
#include <freexl.h>

namespace {

// FreeXL asks for freexl_close also after a failed open.
struct XlsHandle {
    const void* handle = nullptr;
    ~XlsHandle()
    {
        if (handle)
            freexl_close(handle);
    }
};

QString CellText(const FreeXL_CellValue& value)
{
    switch (value.type) {
    case FREEXL_CELL_INT:
        return QString::number(value.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return NumberToText(value.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return value.value.text_value ? QString::fromUtf8(value.value.text_value) : QString();
    default:
        return QString();
    }
}

TSheetRead Failure(const QString& fileName, int code)
{
    TSheetRead result;
    result.error = QStringLiteral("Не удалось прочитать книгу \"%1\" (ошибка FreeXL %2).").arg(fileName).arg(code);
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
    const TIsolatedResult run = RunIsolated(
        [&] { return Serialize(ReadXlsFirstSheetInProcess(fileName, maxRow, maxColumn)); }, kTimeOutMs);
    TSheetRead read;
    if (run.ok && Deserialize(run.output, maxRow, maxColumn, read))
        return read;
    read = TSheetRead();
    read.error = QStringLiteral("Не удалось прочитать книгу \"%1\": %2.")
                     .arg(fileName, run.ok ? QStringLiteral("ответ чтения повреждён") : run.error);
    return read;
}

TSheetRead ReadXlsFirstSheetInProcess(const QString& fileName, int maxRow, int maxColumn)
{
    XlsHandle xls;
    const QByteArray path = QFile::encodeName(fileName);
    int rc = freexl_open(path.constData(), &xls.handle);
    if (rc != FREEXL_OK)
        return Failure(fileName, rc);

    unsigned int sheets = 0;
    rc = freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    if (rc != FREEXL_OK)
        return Failure(fileName, rc);
    TSheetRead result;
    result.status = SheetStatus::Read;
    result.cells = TSheetCells(maxRow, maxColumn);
    if (sheets == 0)
        return result;

    rc = freexl_select_active_worksheet(xls.handle, 0);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (rc == FREEXL_OK)
        rc = freexl_worksheet_dimensions(xls.handle, &rows, &columns);
    if (rc != FREEXL_OK)
        return Failure(fileName, rc);

    // The dimensions are counts: the last used row is "rows", formatted empty rows included.
    result.cells.useRow(static_cast<int>(rows));
    const unsigned int readRows = std::min<unsigned int>(rows, static_cast<unsigned int>(std::max(0, maxRow)));
    const unsigned int readColumns = std::min<unsigned int>(columns, static_cast<unsigned int>(std::max(0, maxColumn)));
    for (unsigned int r = 0; r < readRows; ++r) {
        for (unsigned int c = 0; c < readColumns; ++c) {
            FreeXL_CellValue value;
            rc = freexl_get_cell_value(xls.handle, r, static_cast<unsigned short>(c), &value);
            if (rc != FREEXL_OK)
                return Failure(fileName, rc);
            if (value.type != FREEXL_CELL_NULL)
                result.cells.setCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, CellText(value));
        }
    }
    return result;
}
