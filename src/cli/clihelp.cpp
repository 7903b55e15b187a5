#include "cli/clihelp.h"

#include <QHash>

namespace {

const QHash<QString, QString>& Helps()
{
    static const QHash<QString, QString> helps{
        {QStringLiteral("ports"), QStringLiteral("kkt-cli ports\n"
                                                 "Печатает список портов (как в окне настроек связи), по одному в строке.\n")},
        {QStringLiteral("status"), QStringLiteral("kkt-cli status\n"
                                                  "Проверка связи с ККТ.\n")},
        {QStringLiteral("find"),
         QStringLiteral("kkt-cli find [--ports LIST] [--speeds LIST] [--save]\n"
                        "Ищет ККТ: каждый порт (по умолчанию - все из kkt-cli ports) на каждой скорости\n"
                        "(по умолчанию - все восемь: 115200, 19200, затем от высокой к низкой) запросом\n"
                        "состояния с номером ККМ из настроек или --number. LIST - через запятую.\n"
                        "Печатает \"ПОРТ СКОРОСТЬ\" для каждой ответившей ККТ; если никто не ответил -\n"
                        "причину по каждому порту и код 1. --save записывает первую найденную в файл\n"
                        "настроек, как \"Применить\" в окне настроек связи.\n")},
        {QStringLiteral("read"),
         QStringLiteral("kkt-cli read TABLE [--range A-B] [--output FILE] [--spreadsheet-csv]\n"
                        "Читает таблицу из ККТ и пишет строки диапазона в FILE (CSV; без FILE - на стандартный\n"
                        "вывод). FILE .xlsx - книга с листом таблицы, как у backup. Для товаров FILE может быть\n"
                        "и .dbVaro или .1cdb.\n"
                        "--spreadsheet-csv: CSV для Excel и LibreOffice с русскими региональными настройками\n"
                        "(UTF-8 с меткой порядка байтов, разделитель \";\", строки CR LF).\n"
                        "TABLE: operators, goods, sections, cliche, agents, enterprises, stations.\n"
                        "Диапазон по умолчанию - вся таблица.\n")},
        {QStringLiteral("write"),
         QStringLiteral("kkt-cli write TABLE --input FILE [--range A-B] [--changed-from OLD] [--dry-run]\n"
                        "Загружает FILE в таблицу в исходном состоянии и записывает диапазон в ККТ.\n"
                        "FILE - CSV: строка заголовков таблицы, затем строки со столбцом 0 как в таблице\n"
                        "(номер или подпись); строки, которых нет в файле, остаются пустыми. Кодировка\n"
                        "(UTF-8 или Windows-1251) и разделитель (\",\", \";\" или табуляция) определяются\n"
                        "по строке заголовков, как CSV сохраняют Excel и LibreOffice. FILE .xlsx с листом\n"
                        "таблицы (как у backup) читается по тем же правилам. Для товаров FILE может быть и\n"
                        ".dbVaro, .1cdb, .xls или .xlsx из 1С.\n"
                        "С --changed-from OLD (обычно файл прежнего read) записываются только записи\n"
                        "диапазона, которые в FILE не такие, как в OLD; оба файла проверяются до записи.\n"
                        "--dry-run печатает записи, которые были бы записаны, и ничего не отправляет.\n"
                        "С несколькими портами (--ports) те же записи уходят во все ККТ сразу.\n")},
        {QStringLiteral("clear-goods"), QStringLiteral("kkt-cli clear-goods --yes\n"
                                                       "Очищает базу товаров в ККТ (без вопроса: нужен --yes).\n")},
        {QStringLiteral("module"),
         QStringLiteral("kkt-cli module read [--output FILE] [--spreadsheet-csv]\n"
                        "kkt-cli module write --input FILE [--changed-from OLD] [--dry-run]\n"
                        "Параметры модуля связи (GSM/Wi-Fi): семь строк, CSV как у таблиц (и --spreadsheet-csv\n"
                        "как у read). --changed-from и --dry-run - как у write.\n")},
        {QStringLiteral("regdata"),
         QStringLiteral("kkt-cli regdata [--output FILE]\n"
                        "Запрос регистрационных данных: строки KEY=VALUE (UTF-8).\n")},
        {QStringLiteral("register"),
         QStringLiteral("kkt-cli register --input FILE\n"
                        "Регистрация ККТ по файлу KEY=VALUE (как выдаёт regdata).\n")},
        {QStringLiteral("reregister"),
         QStringLiteral("kkt-cli reregister --input FILE [--reasons LIST]\n"
                        "Перерегистрация по файлу KEY=VALUE; LIST - номера причин через запятую:\n"
                        "1 Замена ФН, 2 Смена ОФД, 3 Смена реквизитов пользователя, 4 Смена настроек ККТ.\n")},
        {QStringLiteral("convert"),
         QStringLiteral("kkt-cli convert INPUT OUTPUT [--spreadsheet-csv]\n"
                        "Преобразует файл через таблицы программы, формат - по расширению:\n"
                        "товары .csv, .dbVaro, .1cdb (и .xls, .xlsx на входе); вся конфигурация .conf.\n"
                        "CSV на входе - как у write; --spreadsheet-csv пишет CSV как read с этим параметром.\n")},
        {QStringLiteral("backup"),
         QStringLiteral("kkt-cli backup FILE.xlsx\n"
                        "Читает из ККТ все таблицы, параметры модуля связи и регистрационные данные и пишет\n"
                        "книгу: по листу на таблицу, \"Параметры GSM\", \"Регистрация\" (только для чтения) и\n"
                        "\"Копия\" (номер ККТ, дата, порт). Если чтение не удалось, файл не пишется.\n"
                        "С несколькими портами (--ports) - книга на каждую ККТ; в имени FILE {serial}\n"
                        "заменяется заводским номером ККТ, {port} - именем порта: shop-{serial}.xlsx.\n")},
        {QStringLiteral("restore"),
         QStringLiteral("kkt-cli restore FILE.xlsx [--tables LIST] [--dry-run]\n"
                        "Проверяет все листы книги, затем записывает в ККТ таблицы, листы которых в ней есть\n"
                        "(или только LIST: имена таблиц и module через запятую). Регистрацию не выполняет.\n"
                        "--dry-run: ничего не записывает, читает ККТ и печатает по таблицам, какие записи\n"
                        "изменились бы.\n"
                        "С несколькими портами (--ports) книга записывается во все ККТ сразу, и в ККТ с\n"
                        "другим заводским номером тоже (так копируют одну ККТ на весь магазин).\n")},
    };
    return helps;
}

}  // namespace

const QStringList& CommandNames()
{
    static const QStringList names{QStringLiteral("ports"),   QStringLiteral("status"),   QStringLiteral("find"),
                                   QStringLiteral("read"),    QStringLiteral("write"),
                                   QStringLiteral("clear-goods"), QStringLiteral("module"),
                                   QStringLiteral("regdata"), QStringLiteral("register"),
                                   QStringLiteral("reregister"), QStringLiteral("convert"),
                                   QStringLiteral("backup"),  QStringLiteral("restore")};
    return names;
}

QString CommandHelp(const QString& command)
{
    return Helps().value(command);
}

QString ToolHelp()
{
    QString text = QStringLiteral(
        "kkt-cli [--settings FILE] [--port NAME] [--speed BAUD] [--timeout MS] [--number N] COMMAND ...\n"
        "\n"
        "Параметры связи по умолчанию берутся из ProgSett.ini (--settings задаёт другой файл).\n"
        "Несколько ККТ сразу: --port или --ports со списком портов через запятую (по одной ККТ на\n"
        "порт) для status, write, module write, backup и restore. Каждая ККТ работает в своём\n"
        "потоке; в конце - таблица: порт, заводской номер, результат, записей, время.\n"
        "\n"
        "Команды:\n");
    for (const QString& name : CommandNames())
        for (const QString& line : Helps().value(name).split(u'\n'))
            if (line.startsWith(QLatin1String("kkt-cli ")))
                text += QStringLiteral("  ") + line.mid(8) + u'\n';
    text += QStringLiteral("\nTABLE: ") + QStringLiteral("operators, goods, sections, cliche, agents, enterprises, stations.\n");
    text += QStringLiteral(
        "kkt-cli COMMAND --help - описание команды.\n"
        "Коды завершения: 0 - успех, 1 - ошибка команды ККТ, 2 - ошибка в командной строке или в файле,\n"
        "3 - несколько ККТ: хотя бы одна не справилась (какая - в таблице), остальные выполнили всё.\n");
    return text;
}
