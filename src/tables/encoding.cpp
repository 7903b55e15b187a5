#include "tables/encoding.h"

#include "text/conversion.h"
#include "tables/tabledefs.h"

namespace {

bool AllDigits(const QString& text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The integer part and `decimals` fraction digits as one number of the smallest unit.
int64_t EncodeFixed(const QString& cell, int decimals, uint64_t maximum)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return 0;
    const int sep = SeparatorPos(text);
    QString whole = sep == 0 ? text : text.left(sep - 1);
    QString fraction = sep == 0 ? QString() : text.mid(sep);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    // No fraction digits: whole roubles or units, as exchange files and spreadsheets bring them.
    fraction = fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    int64_t value = 0;
    if (!AllDigits(whole) || !AllDigits(fraction) || whole.size() > 15 || !TryStrToInt64(whole + fraction, value)
        || uint64_t(value) > maximum)
        throw ConversionError(cell);
    return value;
}

QString DecodeFixed(uint64_t value, int decimals, uint64_t unit)
{
    return QString::number(value / unit) + QLatin1Char(',')
           + QString::number(value % unit).rightJustified(decimals, QLatin1Char('0'));
}

// Digits that fit `bytes` bytes on the wire; empty is 0.
bool FitsNumber(const QString& text, int bytes, uint64_t& value)
{
    value = 0;
    if (text.isEmpty())
        return true;
    int64_t v = 0;
    if (!AllDigits(text) || text.size() > 18 || !TryStrToInt64(text, v))
        return false;
    value = uint64_t(v);
    return value < (uint64_t(1) << (8 * bytes));
}

QString Field(const TGridData& agents, int col, int row)
{
    const QString& text = agents.Cell(col, row);
    return text == kNotUsed ? QString() : text;
}

}  // namespace

int SeparatorPos(const QString& text)
{
    qsizetype i = text.indexOf(QLatin1Char(','));
    if (i < 0)
        i = text.indexOf(QLatin1Char('.'));
    return int(i + 1);
}

int64_t EncodePrice(const QString& text)
{
    return EncodeFixed(text, 2, (uint64_t(1) << 40) - 1);
}

int64_t EncodeQuantity(const QString& text)
{
    return EncodeFixed(text, 3, 0x7FFFFFFF);
}

QString DecodePrice(uint64_t kopecks)
{
    return DecodeFixed(kopecks, 2, 100);
}

QString DecodeQuantity(uint64_t thousandths)
{
    return DecodeFixed(thousandths, 3, 1000);
}

QString NormalizePhone(const QString& text)
{
    if (text.startsWith(kPhonePrefix))
        return text;
    return text.size() < 2 ? kPhonePrefix : kPhonePrefix + text.mid(2);
}

uint8_t AgentSignBit(const QString& text)
{
    const qsizetype i = AgentSigns().indexOf(text);
    return i < 0 ? 0 : uint8_t(1u << i);
}

int AgentSignIndex(uint8_t code)
{
    for (int i = 0; i < AgentSigns().size(); ++i)
        if (code == (1u << i))
            return i;
    return -1;
}

bool CheckAgentRow(const TGridData& agents, int row)
{
    for (int col : {2, 3, 4, 10}) {
        const QString& phone = agents.Cell(col, row);
        if (phone == kNotUsed)
            continue;
        if (!phone.startsWith(kPhonePrefix) || !AllDigits(phone.mid(2)))
            return false;
    }
    for (int col : {7, 11}) {
        uint64_t inn = 0;
        if (agents.Cell(col, row) != kNotUsed && !FitsNumber(agents.Cell(col, row), 5, inn))
            return false;
    }
    return true;
}

KktAgentRecord AgentRecordFromRow(const TGridData& agents, int row)
{
    KktAgentRecord a;
    a.number = uint8_t(row);
    a.sign = AgentSignBit(Field(agents, 1, row));
    a.phoneSupplier = Field(agents, 2, row);
    a.phoneAgent = Field(agents, 3, row);
    a.phoneAcceptor = Field(agents, 4, row);
    a.nameSupplier = Field(agents, 5, row);
    a.addressOperator = Field(agents, 6, row);
    FitsNumber(Field(agents, 7, row), 5, a.innOperator);
    a.nameOperator = Field(agents, 8, row);
    a.operation = Field(agents, 9, row);
    a.phoneOperator = Field(agents, 10, row);
    FitsNumber(Field(agents, 11, row), 5, a.innSupplier);
    return a;
}

int SectionTypeCode(const QString& text)
{
    // A fresh sections table has empty type cells; they mean "not programmed", like the VAT cell.
    if (text.isEmpty())
        return 0;
    return int(SectionTypes().indexOf(text));
}

int VatCode(const QString& text)
{
    const qsizetype i = VatRates().indexOf(text);
    return i < 0 ? 0 : int(i);
}

int TaxSystemCode(const QString& text)
{
    const qsizetype i = TaxSystems().indexOf(text);
    return i < 0 ? 9 : int(i);
}

std::optional<QString> SectionAttributes(const TGridData& sections, int row)
{
    const int type = SectionTypeCode(sections.Cell(2, row));
    if (type < 0)
        return std::nullopt;
    return QString::number(type).rightJustified(2, QLatin1Char('0')) + QString::number(VatCode(sections.Cell(3, row)))
           + QString::number(TaxSystemCode(sections.Cell(4, row))) + sections.Cell(5, row);
}

QStringList DecodeSectionAttributes(const QString& field)
{
    auto listText = [&](const QStringList& items, const QString& digits) {
        if (digits.isEmpty() || !AllDigits(digits))
            return QString();
        const int code = digits.toInt();
        return code < items.size() ? items[code] : QString();
    };
    const QString typeDigits = field.size() >= 2 ? field.left(2) : QString();
    return {listText(SectionTypes(), typeDigits), listText(VatRates(), field.mid(2, 1)),
            listText(TaxSystems(), field.mid(3, 1)), field.mid(4, 2)};
}

TParamAddress ClicheAddress(int line)
{
    // Lines per row of table 4: 5, 5, 3, then pairs.
    static const int firstLine[] = {1, 6, 11, 14, 16, 18, 20, 22};
    for (int r = 0; r < 7; ++r)
        if (line >= firstLine[r] && line < firstLine[r + 1])
            return {uint8_t(r + 1), uint8_t(line - firstLine[r])};
    return {0, 0};
}

KktGoodsItem GoodsItemFromRow(const TGridData& goods, int row)
{
    KktGoodsItem item;
    item.name = goods.Cell(1, row);
    const QString& barcode = goods.Cell(2, row);
    uint64_t number = 0;
    // The register keeps six bytes of barcode; a longer number would arrive cut.
    if (!FitsNumber(barcode, 6, number))
        throw ConversionError(barcode);
    item.barcode = barcode;
    item.marking = goods.Cell(3, row) == kMarked ? kMarked : QString();
    item.price = QString::number(EncodePrice(goods.Cell(4, row)));
    const QString& section = goods.Cell(5, row);
    if (!FitsNumber(section, 1, number))
        throw ConversionError(section);
    item.section = section;
    item.quantity = QString::number(EncodeQuantity(goods.Cell(6, row)));
    return item;
}

void ApplyGoodsItem(TGridData& goods, int row, const KktGoodsItem& item)
{
    goods.SetCell(1, row, item.name);
    goods.SetCell(2, row, item.barcode);
    goods.SetCell(3, row, item.marking);
    goods.SetCell(4, row, DecodePrice(item.price.toULongLong()));
    goods.SetCell(5, row, item.section);
    goods.SetCell(6, row, DecodeQuantity(item.quantity.toULongLong()));
}
