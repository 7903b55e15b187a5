#pragma once
#include <QString>

// Captions, dialog filters and messages of the file operations, for the windows that start them.
// Filters are in Qt's "Caption (*.ext)" form; the default suffix goes to QFileDialog::setDefaultSuffix.
// The save dialogs replace a file without asking; the open dialogs accept a name that does not exist.
namespace filetexts {

// Configuration file (menu "Файл").
inline const QString kConfigSuffix = QStringLiteral("conf");
inline const QString kConfigFilter = QStringLiteral("Байлы конфигурации (*.conf)");
inline const QString kConfigSaveWait = QStringLiteral("Выпонляется запись конфигурации... Подождите...");
inline const QString kConfigLoadWait = QStringLiteral("Выпонляется чтение конфигурации... Подождите...");
// The wait window stays up this long before a configuration save or load starts.
constexpr int kConfigPauseMs = 1000;

// The whole-register workbook (menu "Файл").
inline const QString kWorkbookSuffix = QStringLiteral("xlsx");
inline const QString kWorkbookFilter = QStringLiteral("Книги всех таблиц ККТ (*.xlsx)");
inline const QString kWorkbookSaveWait = QStringLiteral("Выполняется сохранение книги... Подождите...");
inline const QString kWorkbookLoadWait = QStringLiteral("Выполняется загрузка книги... Подождите...");

// Goods database file (buttons "Сохранить в файл" / "Загрузить из файла").
inline const QString kGoodsDbSuffix = QStringLiteral("dbVaro");
inline const QString kGoodsDbSaveFilter = QStringLiteral("Файлы БД (*.dbVaro)");
inline const QString kGoodsDbOpenFilter = QStringLiteral("Байлы БД (*.dbVaro)");
inline const QString kGoodsDbSaveWait = QStringLiteral("Выпонляется сохранение в файл... Подождите...");
inline const QString kGoodsDbLoadWait = QStringLiteral("Выпонляется загрузка из файла... Подождите...");

// 1C exchange file (menu of "1C: Предприятие").
inline const QString k1cdbSuffix = QStringLiteral("1cdb");
inline const QString k1cdbFilter = QStringLiteral("Файлы обмена с 1С (*.1cdb)");
inline const QString k1cdbSaved = QStringLiteral("Файл успешно сохранен!");
inline const QString k1cdbRejected = QStringLiteral("Структура файла не соответствует стандарту!");
inline QString Loaded1cdbText(int count)
{
    return QStringLiteral("Загружено ") + QString::number(count) + QStringLiteral(" позиций!");
}

// Spreadsheet import: both workbook formats 1C saves.
inline const QString kXlsSuffix = QStringLiteral("xls");
inline const QString kXlsFilter = QStringLiteral("Файлы обмена с 1С (*.xls *.xlsx)");

// Items of the "1C: Предприятие" menu, in order, with separators after the export and the spreadsheet item.
inline const QString kMenuImport1cdb = QStringLiteral("Загрузить из 1С (формат *.1cdb)");
inline const QString kMenuExport1cdb = QStringLiteral("Выгрузить в 1С (формат *.1cdb)");
inline const QString kMenuImportXls = QStringLiteral("Загрузить из 1С (формат *.xls)");
inline const QString kMenuCancel = QStringLiteral("Отмена");

}  // namespace filetexts
