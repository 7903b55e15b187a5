#include "scanner/shtrihcode.h"

bool CheckShtrihCode(const QString& code)
{
    const int n = static_cast<int>(code.size());
    if (n != 8 && n != 13)
        return false;
    for (const QChar c : code) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;  // isDigit() would also take other scripts' digits
    }
    int sum = 0;
    int weight = 3;  // the digit next to the check digit weighs 3
    for (int i = n - 2; i >= 0; --i) {
        sum += (code.at(i).unicode() - '0') * weight;
        weight = 4 - weight;
    }
    const int expected = sum % 10 == 0 ? 0 : 10 - sum % 10;
    return code.at(n - 1).unicode() - '0' == expected;
}

TShtrihCheckText ShtrihCheckText(bool correct, int row)
{
    if (correct)
        return {QStringLiteral("Штрих-код корректный, код товара ") + QString::number(row), 0, 128, 0};
    return {QStringLiteral("Штрих-код некорректный, код товара ") + QString::number(row), 255, 0, 0};
}
