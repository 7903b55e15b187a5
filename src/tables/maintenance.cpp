#include "tables/maintenance.h"

#include "text/conversion.h"

#include <QStringList>
#include <utility>

TRunResult ClearBaseInKkt(KktLink& link, KktLinkArgs args)
{
    args.timeOut = kClearBaseTimeOutMs;
    uint8_t status = 0;
    const KktResult r = link.KktClearBase(args, status);
    TRunResult result;
    result.entries = 1;
    const int code = r != KKT_OK ? r : status;
    if (code != 0) {
        result.message = QStringLiteral("Внимание!\r\nОшибка очистки базы - %1!").arg(code);
        result.severity = RunSeverity::Error;
    } else {
        result.entriesDone = 1;
        result.message = QStringLiteral("База успешно очищена!");
        result.severity = RunSeverity::Information;
    }
    return result;
}

TGoToItem CheckGoToItem(const QString& boxText)
{
    TGoToItem r;
    int32_t n = 0;
    if (boxText.isEmpty())
        r.message = QStringLiteral("ВНИМАНИЕ!\r\nНе введён номер товара!");
    else if (!TryStrToInt32(boxText, n))
        r.message = QStringLiteral("ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!");
    else if (n <= 0)
        r.message = QStringLiteral("ВНИМАНИЕ!\r\nНомер товара не может быть 0!");
    else if (n > TableDef(TableId::Goods).size)
        r.message = QStringLiteral("ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!");
    else {
        r.ok = true;
        r.row = n;
    }
    return r;
}

void CleanTable(TableId id, TGridData& grid, TAgentLocks& locks)
{
    if (id == TableId::Agents) {
        ResetAgentsGrid(grid, locks);
        return;
    }
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 1; c < grid.ColCount(); ++c)
            grid.SetCell(c, r, QString());
}

void FillTestData(TGridData& operators, TGridData& cliche, TGridData& agents)
{
    for (int n = 1; n <= TableDef(TableId::Operators).size; ++n) {
        const QString number = QString::number(n);
        operators.SetCell(1, n, QStringLiteral("Оператор ") + number);
        operators.SetCell(2, n, QStringLiteral("Иванов") + number);
        operators.SetCell(3, n, QStringLiteral("111") + number);
        operators.SetCell(4, n, QStringLiteral("343434") + number);
    }
    const std::pair<int, const char*> lines[] = {
        {1, "Имя пользователя 1"},  {3, "Имя пользователя 3"},        {5, "Имя пользователя 5"},
        {6, "Адрес расчетов 1"},    {8, "Адрес расчетов 3"},          {10, "Адрес расчетов 5"},
        {11, "Место расчетов 1"},   {13, "Место расчетов 3"},         {14, "Место расчетов 4"},
        {15, "реклама"},            {16, "Наименование ОФД 1"},       {17, "Наименование ОФД 2"},
        {18, "Сайт налогового органа 1"}, {19, "Сайт налогового органа 2"}, {20, "Электронная почта 1"},
        {21, "Электронная почта 2"},
    };
    for (const auto& [row, text] : lines)
        cliche.SetCell(1, row, QString::fromUtf8(text));
    const std::pair<int, const char*> agent[] = {
        {1, "Банковский платежный субагент"}, {2, "+79001234567"},      {3, "+79007654321"},
        {4, "Не используется"},               {5, "поставщик мощный"},  {6, "улица сезам"},
        {7, "877777777778"},                  {8, "оператор перевода"}, {9, "плат док фальшивка"},
        {10, "+79005555555"},                 {11, "122222222223"},
    };
    for (const auto& [col, text] : agent)
        agents.SetCell(col, 1, QString::fromUtf8(text));
}

bool HoldsData(TableId id, const TGridData& grid)
{
    const TGridData fresh = InitGrid(id);
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int col = 1; col < grid.ColCount(); ++col) {
            if (grid.Cell(col, row) != fresh.Cell(col, row))
                return true;
        }
    }
    return false;
}

QString TestDataQuestion(const TGridData& operators, const TGridData& cliche, const TGridData& agents)
{
    QStringList filled;
    const std::pair<TableId, const TGridData*> grids[] = {
        {TableId::Operators, &operators}, {TableId::Cliche, &cliche}, {TableId::Agents, &agents}};
    for (const auto& [id, grid] : grids) {
        if (HoldsData(id, *grid))
            filled << QStringLiteral("\"%1\"").arg(TableDef(id).caption);
    }
    if (filled.isEmpty())
        return {};
    return QStringLiteral("Внимание!\r\nТестовые данные заменят то, что сейчас в таблицах %1.\r\nЗаменить?")
        .arg(filled.join(QStringLiteral(", ")));
}
