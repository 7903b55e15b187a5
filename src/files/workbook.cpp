#include "files/workbook.h"

#include "files/filesystem.h"
#include "files/gridfill.h"
#include "files/xlsxreader.h"
#include "fiscal/regfields.h"
#include "tables/cellcheck.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <xlsxwriter.h>

namespace {

// Rows a sheet may hold beyond its grid's (empty rows an editor left between the others).
constexpr int kSpareRows = 1000;
// Widths of the sheets that have no grid columns to copy, in pixels.
constexpr int kCaptionWidth = 220;
constexpr int kValueWidth = 360;

QString SheetName(TableId id)
{
    return TableDef(id).caption;
}

class TBookWriter {
public:
    // `path` must exist: on Windows a name the library can take is found only for an existing file.
    explicit TBookWriter(const QString& path) : m_book(Open(path))
    {
        if (!m_book)
            return;
        m_heading = workbook_add_format(m_book);
        format_set_bold(m_heading);
        format_set_num_format(m_heading, "@");
        // Text cells: a spreadsheet keeps what is typed there as text, as the grid holds it.
        m_text = workbook_add_format(m_book);
        format_set_num_format(m_text, "@");
    }
    ~TBookWriter()
    {
        if (m_book)
            workbook_close(m_book);
    }
    bool Started() const { return m_book != nullptr; }

    // Row 0 of the grid as bold headings, every cell a string.
    lxw_worksheet* Sheet(const QString& name, const TGridData& grid, const QList<int>& widths)
    {
        lxw_worksheet* sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!sheet)
            return nullptr;
        for (int c = 0; c < grid.ColCount(); ++c)
            worksheet_set_column_pixels(sheet, lxw_col_t(c), lxw_col_t(c), uint32_t(widths.value(c, kValueWidth)), m_text);
        worksheet_freeze_panes(sheet, 1, 0);
        for (int r = 0; r < grid.RowCount(); ++r)
            for (int c = 0; c < grid.ColCount(); ++c)
                if (const QString& text = grid.Cell(c, r); !text.isEmpty())
                    worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), text.toUtf8().constData(),
                                           r == 0 ? m_heading : m_text);
        return sheet;
    }

    // The library keeps the first error of the book and reports it on closing.
    QString Close()
    {
        const lxw_error e = workbook_close(m_book);
        m_book = nullptr;
        return e == LXW_NO_ERROR ? QString() : QString::fromUtf8(lxw_strerror(e));
    }

private:
    static lxw_workbook* Open(const QString& path)
    {
        const QByteArray name = LibraryFileName(path);
        if (name.isEmpty())
            return nullptr;
        QByteArray tempFolder = LibraryTempFolder();
        lxw_workbook_options options{};
        options.tmpdir = tempFolder.isEmpty() ? nullptr : tempFolder.data();
        return workbook_new_opt(name.constData(), &options);
    }

    lxw_workbook* m_book;
    lxw_format* m_heading = nullptr;
    lxw_format* m_text = nullptr;
};

TGridData PairsGrid(const QString& first, const QString& second, const QList<std::pair<QString, QString>>& pairs)
{
    TGridData grid(2, int(pairs.size()) + 1);
    grid.SetCell(0, 0, first);
    grid.SetCell(1, 0, second);
    for (int i = 0; i < pairs.size(); ++i) {
        grid.SetCell(0, i + 1, pairs[i].first);
        grid.SetCell(1, i + 1, pairs[i].second);
    }
    return grid;
}

const QString kSerialNumberLabel = QStringLiteral("Заводской номер ККТ");

TGridData DescriptionGrid(const TCopyDescription& copy)
{
    return PairsGrid(QStringLiteral("Сведение"), QStringLiteral("Значение"),
                     {{kSerialNumberLabel, copy.serialNumber},
                      {QStringLiteral("Дата и время копии"), copy.made.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))},
                      {QStringLiteral("Порт"), copy.port},
                      {QStringLiteral("Скорость"), copy.speed > 0 ? QString::number(copy.speed) : QString()},
                      {QStringLiteral("Версия программы"), copy.version}});
}

QList<int> ColumnWidths(TableId id)
{
    QList<int> widths;
    for (const TColumnDef& c : TableDef(id).columns)
        widths.append(c.width);
    return widths;
}

QString WriteBook(const QString& path, const TKktRegister& reg, const TRegisterParts& parts,
                  const RegistrationData* registration, const TCopyDescription& copy)
{
    TBookWriter book(path);
    if (!book.Started())
        return QStringLiteral("не удалось создать книгу");
    const QList<int> pairWidths{kCaptionWidth, kValueWidth};
    for (int i = 0; i < kPartCount; ++i)
        if (parts.Has(TableId(i)))
            book.Sheet(SheetName(TableId(i)), reg.Grid(TableId(i)), ColumnWidths(TableId(i)));
    if (registration) {
        if (lxw_worksheet* sheet = book.Sheet(kRegistrationSheet,
                                              PairsGrid(QStringLiteral("Поле"), QStringLiteral("Значение"),
                                                        RegistrationFields(*registration)),
                                              pairWidths))
            worksheet_protect(sheet, nullptr, nullptr);  // as read from the register: not for editing
    }
    book.Sheet(kCopySheet, DescriptionGrid(copy), pairWidths);
    return book.Close();
}

// The sheet's rows as records of `cols` fields; rows with no text carry none, as empty CSV lines.
QString SheetRecords(const TSheetCells& cells, int cols, TCsvRead& read)
{
    if (cells.lastRow() > cells.maxRow())
        return QStringLiteral("строк на листе больше, чем в таблице (%1)").arg(cells.maxRow());
    for (int r = 1; r <= cells.lastRow(); ++r) {
        TCsvRecord record{r, {}};
        bool any = false;
        for (int c = 1; c <= cols; ++c) {
            record.fields.append(cells.cell(r, c));
            any = any || !record.fields.last().isEmpty();
        }
        if (!cells.cell(r, cols + 1).isEmpty())
            return QStringLiteral("строка %1: в таблице %2 столбцов, а в строке есть столбец %3").arg(r).arg(cols).arg(cols + 1);
        if (any)
            read.records.append(record);
    }
    return {};
}

QString SheetProblem(const QString& sheet, const QString& problem)
{
    return QStringLiteral("лист \"%1\", %2").arg(sheet, problem);
}

// One sheet into a grid: the records, then the grid's rules.
template <typename Fill>
QString LoadSheet(const TWorkbookRead& book, const QString& name, int cols, Fill fill)
{
    TCsvRead read;
    QString problem = SheetRecords(book.sheets.value(name), cols, read);
    if (problem.isEmpty() && read.records.isEmpty())
        problem = QStringLiteral("лист пуст: нет строки заголовков");
    if (problem.isEmpty())
        problem = fill(read);
    return problem.isEmpty() ? QString() : SheetProblem(name, problem);
}

}  // namespace

TCopyDescription DescribeCopy(const KktLinkArgs& link, const RegistrationData* registration)
{
    TCopyDescription copy;
    if (registration)
        copy.serialNumber = QString::number(registration->SerialNumber);
    copy.made = QDateTime::currentDateTime();
    copy.port = link.port;
    copy.speed = link.speed;
    copy.version = QStringLiteral(KKT_VERSION);
    return copy;
}

QString SaveWorkbook(const QString& fileName, const TKktRegister& reg, const TRegisterParts& parts,
                     const RegistrationData* registration, const TCopyDescription& copy)
{
    // As the project's other saves: a file nobody may write is the user's wish, and an existing
    // book keeps its permissions.
    const QFileInfo target(fileName);
    if (target.exists() && !target.isWritable())
        return QStringLiteral("Не удалось записать книгу \"%1\": файл защищён от записи").arg(fileName);
    // The new book is written beside the old one under a name of its own. Not a QTemporaryFile: on
    // Windows that keeps its file open after close(), and the open file cannot be renamed.
    QString temp;
    QString why;
    for (int attempt = 0; attempt < 16 && temp.isEmpty(); ++attempt) {
        QFile candidate(fileName + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (candidate.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            temp = candidate.fileName();
        else
            why = candidate.errorString();
    }
    if (temp.isEmpty())
        return QStringLiteral("Не удалось создать файл рядом с \"%1\": %2").arg(fileName, why);
    const auto fail = [&](const QString& error) {
        QFile::remove(temp);
        return QStringLiteral("Не удалось записать книгу \"%1\": %2").arg(fileName, error);
    };
    const QString error = WriteBook(temp, reg, parts, registration, copy);
    if (!error.isEmpty())
        return fail(error);
    QFile::setPermissions(temp, target.exists() ? target.permissions()
                                                : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    // A reader sees the old book or the new one, never half.
    if (const QString replaced = ReplaceFileAtomically(temp, fileName); !replaced.isEmpty())
        return fail(replaced);
    return {};
}

TWorkbookLoad LoadWorkbook(const QString& fileName, TKktRegister& reg, const TRegisterParts& wanted)
{
    TWorkbookLoad load;
    QList<TSheetWanted> sheets;
    for (int i = 0; i < kPartCount; ++i) {
        const TTableDef& def = TableDef(TableId(i));
        if (wanted.Has(TableId(i)))
            sheets.append({def.caption, def.RowCount() + kSpareRows, def.ColCount() + 1});
    }
    const TWorkbookRead book = ReadXlsxSheets(fileName, sheets);
    if (book.status != SheetStatus::Read) {
        load.error = book.error;
        return load;
    }

    std::array<TGridData, kPartCount> grids;
    TAgentLocks locks = reg.locks;
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        if (!wanted.Has(id) || !book.sheets.contains(SheetName(id)))
            continue;
        grids[size_t(i)] = reg.Grid(id);
        load.error = LoadSheet(book, SheetName(id), TableDef(id).ColCount(), [&](const TCsvRead& read) {
            return FillTableGrid(read, id, grids[size_t(i)], locks);
        });
        if (!load.error.isEmpty())
            return load;
        load.parts.Add(id);
    }
    if (load.parts.Empty()) {
        load.error = QStringLiteral("В книге \"%1\" нет ни одного листа таблиц ККТ (листы: %2)")
                         .arg(fileName, book.names.join(QStringLiteral(", ")));
        return load;
    }

    for (int i = 0; i < kPartCount; ++i)
        if (load.parts.Has(TableId(i)))
            reg.Grid(TableId(i)) = grids[size_t(i)];
    reg.locks = locks;
    return load;
}

bool WorkbookHasSheet(const QString& fileName, TableId id)
{
    const TWorkbookRead book = ReadXlsxSheets(fileName, {});
    return book.status == SheetStatus::Read && book.names.contains(SheetName(id));
}

QString WorkbookWriteProblem(const TKktRegister& reg, const TRegisterParts& parts)
{
    for (int i = 0; i < kPartCount; ++i) {
        const TableId id = TableId(i);
        if (!parts.Has(id))
            continue;
        if (const QString problem = GridWriteProblem(id, reg.Grid(id), 1, TableDef(id).size); !problem.isEmpty())
            return SheetProblem(SheetName(id), problem);
    }
    return {};
}

QString WorkbookSerial(const QString& fileName)
{
    constexpr int kCopyRows = 20;
    const TWorkbookRead book = ReadXlsxSheets(fileName, {{kCopySheet, kCopyRows, 2}});
    const TSheetCells cells = book.sheets.value(kCopySheet);
    for (int r = 1; r <= cells.lastRow(); ++r)
        if (cells.cell(r, 1) == kSerialNumberLabel)
            return cells.cell(r, 2);
    return {};
}

bool IsWorkbookFile(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toLower() == QLatin1String("xlsx");
}
