#include "files/sheetcells.h"

#include "files/xlsreader.h"
#include "files/xlsxreader.h"

#include <QFile>
#include <QFileInfo>

TSheetCells::TSheetCells(int maxRow, int maxColumn)
    : m_maxRow(std::max(0, maxRow)),
      m_maxColumn(std::max(0, maxColumn)),
      m_cells(static_cast<size_t>(m_maxRow) * static_cast<size_t>(m_maxColumn))
{
}

QString TSheetCells::cell(int row, int column) const
{
    if (row < 1 || row > m_maxRow || column < 1 || column > m_maxColumn)
        return QString();
    return m_cells[static_cast<size_t>(row - 1) * m_maxColumn + (column - 1)];
}

void TSheetCells::useRow(int row)
{
    m_lastRow = std::max(m_lastRow, row);
}

void TSheetCells::setCell(int row, int column, const QString& text)
{
    useRow(row);
    if (row < 1 || row > m_maxRow || column < 1 || column > m_maxColumn)
        return;
    m_cells[static_cast<size_t>(row - 1) * m_maxColumn + (column - 1)] = text;
}

int ColumnOfReference(const QString& reference)
{
    int column = 0;
    for (QChar ch : reference) {
        const char16_t c = ch.toUpper().unicode();
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
        if (column > 16384)  // beyond any workbook's last column: not a reference
            return 0;
    }
    return column;
}

TSheetRead ReadFirstSheet(const QString& fileName, int maxRow, int maxColumn)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        TSheetRead result;
        result.error = QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(fileName, file.errorString());
        return result;
    }
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return ReadXlsFirstSheet(fileName, maxRow, maxColumn);
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return ReadXlsxFirstSheet(fileName, maxRow, maxColumn);

    TSheetRead result;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("xls") || suffix == QLatin1String("xlsx")) {
        result.error = QStringLiteral("Файл \"%1\" не является рабочей книгой (.xls или .xlsx).").arg(fileName);
    } else {
        result.status = SheetStatus::NoReader;
    }
    return result;
}
