#include "tables/tabledefs.h"

#include <array>

namespace {

TTableDef Make(TableId id, const char* caption, int size, const char* last, int boxLength, QList<TColumnDef> cols)
{
    TTableDef d{id, QString::fromUtf8(caption), size, QStringLiteral("1"), QString::fromUtf8(last), boxLength,
                id != TableId::Sections, id != TableId::Stations, std::move(cols)};
    return d;
}

const std::array<TTableDef, kPartCount>& Defs()
{
    static const std::array<TTableDef, kPartCount> defs = {
        Make(TableId::Operators, "Операторы", 6, "6", 1,
             {{"Опер. №", 55}, {"Должность", 160}, {"ФИО", 160}, {"Пароль", 75}, {"ИНН кассира", 80}}),
        Make(TableId::Goods, "Предмет расчета", 6000, "6000", 4,
             {{"Код товара", 85}, {"Наименование", 200}, {"Штрих-код", 155}, {"Признак маркировки", 150},
              {"Цена", 155}, {"Секция", 100}, {"Количество", 150}}),
        Make(TableId::Sections, "Секции", 8, "8", 1,
             {{"№", 35}, {"Наименование", 250}, {"Тип секции", 290}, {"Ставка налога", 180},
              {"Система налогооблажения", 175}, {"Номер агента", 100}}),
        Make(TableId::Cliche, "Клише", 21, "21", 2, {{"Строка №", 250}, {"Наименование", 400}}),
        Make(TableId::Agents, "Параметры агентов", 10, "10", 2,
             {{"№", 35}, {"Признак агента", 200}, {"Телефон поставщика", 120}, {"Телефон плат. агента", 120},
              {"Телефон опер. по приему платежей", 200}, {"Наименование поставщика", 200},
              {"Адрес оператора перевода", 200}, {"ИНН оператора перевода", 140},
              {"Наименование опер. перевода", 250}, {"Операция плат. агента", 150},
              {"Телефон опер. перевода", 140}, {"ИНН поставщика", 100}}),
        Make(TableId::Enterprises, "Предприятие", 90, "90", 2,
             {{"Строка №", 200}, {"Наименование", 400}, {"ИНН предприятия", 200}}),
        Make(TableId::Stations, "Станция", 40, "40", 2, {{"Строка №", 200}, {"Наименование", 400}}),
        // Row k is register table 5, row k, field 0; the type row travels as its device code.
        Make(TableId::Module, "Параметры GSM", 7, "7", 1, {{"Параметр", 220}, {"Значение", 360}}),
    };
    return defs;
}

const QStringList kClicheLabels = {
    QStringLiteral("Имя пользователя #1"), QStringLiteral("Имя пользователя #2"),
    QStringLiteral("Имя пользователя #3"), QStringLiteral("Имя пользователя #4"),
    QStringLiteral("Имя пользователя #5"), QStringLiteral("Адрес расчетов #1"),
    QStringLiteral("Адрес расчетов #2"),   QStringLiteral("Адрес расчетов #3"),
    QStringLiteral("Адрес расчетов #4"),   QStringLiteral("Адрес расчетов #5"),
    QStringLiteral("Место расчетов #1"),   QStringLiteral("Место расчетов #2"),
    QStringLiteral("Место расчетов #3"),   QStringLiteral("Место расчетов #4"),
    QStringLiteral("Реклама #1"),          QStringLiteral("Наименование ОФД #1"),
    QStringLiteral("Наименование ОФД #2"), QStringLiteral("Сайт налогового органа #1"),
    QStringLiteral("Сайт налогового органа #2"), QStringLiteral("Электронная почта отправителя #1"),
    QStringLiteral("Электронная почта отправителя #2"),
};

const QStringList kModuleLabels = {
    QStringLiteral("IP сервера"), QStringLiteral("Порт сервера"), QStringLiteral("DNS сервера"),
    QStringLiteral("APN GSM"),    QStringLiteral("APN WI-FI"),    QStringLiteral("Пароль WI-FI"),
    QStringLiteral("Тип устройства"),
};

}  // namespace

const TTableDef& TableDef(TableId id)
{
    return Defs()[size_t(id)];
}

QString RowLabel(TableId id, int row)
{
    const QString n = QString::number(row);
    switch (id) {
    case TableId::Cliche:
        // The blanks after the point keep the texts aligned: five, four for line 10, three from 11.
        return n + QLatin1Char('.') + QString(row < 10 ? 5 : row == 10 ? 4 : 3, QLatin1Char(' '))
               + kClicheLabels.value(row - 1);
    case TableId::Enterprises:
        return n + (row < 10 ? QStringLiteral(".   Предприятие #") : QStringLiteral(". Предприятие #")) + n;
    case TableId::Stations:
        return n + (row < 10 ? QStringLiteral(".    Станция #") : QStringLiteral(".  Станция #")) + n;
    case TableId::Module:
        return kModuleLabels.value(row - 1);
    default:
        return n;
    }
}

QList<int> WholeRange(TableId id)
{
    QList<int> rows;
    for (int n = 1; n <= TableDef(id).size; ++n)
        rows.push_back(n);
    return rows;
}

TGridData InitGrid(TableId id)
{
    const TTableDef& def = TableDef(id);
    TGridData grid(def.ColCount(), def.RowCount());
    for (int c = 0; c < def.ColCount(); ++c)
        grid.SetCell(c, 0, def.columns[c].heading);
    for (int r = 1; r <= def.size; ++r) {
        grid.SetCell(0, r, RowLabel(id, r));
        if (id == TableId::Agents)
            for (int c = kAgentFirstField; c <= kAgentLastField; ++c)
                if (IsAgentPhoneColumn(c))
                    grid.SetCell(c, r, kPhonePrefix);
    }
    return grid;
}

const QStringList& SectionTypes()
{
    static const QStringList items = {
        QStringLiteral("Не запрограммировано"),
        QStringLiteral("ТОВАР"),
        QStringLiteral("ПОДАКЦИЗНЫЙ ТОВАР"),
        QStringLiteral("РАБОТА"),
        QStringLiteral("УСЛУГА"),
        QStringLiteral("УСЛУГА, с признаком \"банковский платежный агент\""),
        QStringLiteral("УСЛУГА, с признаком \"банковский платежный субагент\""),
        QStringLiteral("УСЛУГА, с признаком \"платежный агент\""),
        QStringLiteral("УСЛУГА, с признаком \"платежный субагент\""),
        QStringLiteral("УСЛУГА, с признаком \"поверенный\""),
        QStringLiteral("УСЛУГА, с признаком \"комиссионер\""),
        QStringLiteral("Агентское вознаграждение"),
    };
    return items;
}

const QStringList& VatRates()
{
    static const QStringList items = {
        QStringLiteral("Не запрограммировано"),        QStringLiteral("Ставка НДС 20%"),
        QStringLiteral("Ставка НДС 10%"),              QStringLiteral("Ставка НДС расчетная 20/120"),
        QStringLiteral("Ставка НДС расчетная 10/110"), QStringLiteral("Ставка НДС 0%"),
        QStringLiteral("НДС не облагается"),
    };
    return items;
}

const QStringList& TaxSystems()
{
    static const QStringList items = {
        QStringLiteral("Не запрограммировано"),
        QStringLiteral("Общая"),
        QStringLiteral("Упрощенная доход"),
        QStringLiteral("Упрощенная доход минус расход"),
        QStringLiteral("Единый налог на вмененный доход"),
        QStringLiteral("Единый сельскохозяйственный налог"),
        QStringLiteral("Патентная система налогообложения"),
    };
    return items;
}

const QStringList& AgentSigns()
{
    static const QStringList items = {
        QStringLiteral("Банковский платежный агент"), QStringLiteral("Банковский платежный субагент"),
        QStringLiteral("Платежный агент"),            QStringLiteral("Платежный субагент"),
        QStringLiteral("Поверенный"),                 QStringLiteral("Комиссионер"),
        QStringLiteral("Агент"),
    };
    return items;
}

const QStringList& MarkSigns()
{
    static const QStringList items = {QString(), kMarked};
    return items;
}

bool IsAgentPhoneColumn(int col)
{
    return col == 2 || col == 3 || col == 4 || col == 10;
}

bool IsAgentInnColumn(int col)
{
    return col == 7 || col == 11;
}

QList<int> AgentUnusedColumns(int signIndex)
{
    switch (signIndex) {
    case 0:
    case 1:
        return {4};
    case 2:
    case 3:
        return {6, 7, 8, 9, 10, 11};
    case 4:
    case 5:
    case 6:
        return {3, 4, 5, 6, 7, 8, 9, 10, 11};
    default:
        return {};
    }
}

const QStringList& ListItems(CellList list)
{
    static const QStringList none;
    switch (list) {
    case CellList::Mark:
        return MarkSigns();
    case CellList::SectionType:
        return SectionTypes();
    case CellList::Vat:
        return VatRates();
    case CellList::TaxSystem:
        return TaxSystems();
    case CellList::AgentSign:
        return AgentSigns();
    case CellList::None:
        break;
    }
    return none;
}

CellList ColumnList(TableId id, int col)
{
    if (id == TableId::Goods && col == 3)
        return CellList::Mark;
    if (id == TableId::Sections && col == 2)
        return CellList::SectionType;
    if (id == TableId::Sections && col == 3)
        return CellList::Vat;
    if (id == TableId::Sections && col == 4)
        return CellList::TaxSystem;
    if (id == TableId::Agents && col == 1)
        return CellList::AgentSign;
    return CellList::None;
}

CellList ListToOpen(TableId id, const TGridData& grid, int col, int row)
{
    if (row < 1)
        return CellList::None;
    const CellList list = ColumnList(id, col);
    if (list == CellList::Vat) {
        const int type = int(SectionTypes().indexOf(grid.Cell(2, row)));
        if (type == kSectionTypeBankAgent || type == kSectionTypeBankSubagent)
            return CellList::None;
    }
    return list;
}

int PreselectedItem(CellList list, const QString& cellText)
{
    const int i = int(ListItems(list).indexOf(cellText));
    return i < 0 ? 0 : i;
}
