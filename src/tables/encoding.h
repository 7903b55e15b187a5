#pragma once
#include "link/kktlink.h"
#include "tables/griddata.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Position (from 1) of the first "," in the text, else of the first ".", else 0.
int SeparatorPos(const QString& text);

// Price cell to whole kopecks and quantity cell to whole thousandths. An empty cell gives 0. A value
// with fraction digits keeps its first two (three) of them, padded with zeros; a value without fraction
// digits ("12", "12,") is whole roubles (units). Throws ConversionError naming the cell text when it is
// not a non-negative decimal number or does not fit the register's field (5 bytes; 31 bits).
int64_t EncodePrice(const QString& text);
int64_t EncodeQuantity(const QString& text);

// Kopecks and thousandths back to the cell's form: 1205 -> "12,05"; 1005 -> "1,005".
QString DecodePrice(uint64_t kopecks);
QString DecodeQuantity(uint64_t thousandths);

// Makes a phone begin with "+7": other first two characters (or a shorter text) are replaced.
QString NormalizePhone(const QString& text);

// The code of an agent-sign text (1, 2, 4 ... 64), 0 for an empty cell or any other text.
uint8_t AgentSignBit(const QString& text);
// The list position of a sign code, -1 when it is not exactly one known bit.
int AgentSignIndex(uint8_t code);

// True when the row's four phones and two INNs can travel: a phone is the placeholder or "+7" with
// nothing or digits after it; an INN is the placeholder, empty, or digits that fit five bytes.
bool CheckAgentRow(const TGridData& agents, int row);

// The agents row as the register takes it; placeholders travel as empty texts and zero INNs.
// Call after CheckAgentRow.
KktAgentRecord AgentRecordFromRow(const TGridData& agents, int row);

// Codes of the section value lists. An empty type cell travels as "00" (not programmed); -1 means the
// text is in no list. The VAT cell falls back to 0 and the tax-system cell to 9.
int SectionTypeCode(const QString& text);
int VatCode(const QString& text);
int TaxSystemCode(const QString& text);

// Field 1 of a section row: type code (2 digits), VAT code, tax-system code, agent number as typed.
// Nothing when the type cell holds a text of no list.
std::optional<QString> SectionAttributes(const TGridData& sections, int row);

// Columns 2 to 5 of a section row from field 1; what cannot be decoded becomes empty.
QStringList DecodeSectionAttributes(const QString& field);

// The row and field of table 4 that cliché line `line` (1..21) lives in.
struct TParamAddress {
    uint8_t row;
    uint8_t field;
};
TParamAddress ClicheAddress(int line);

// A goods row as the register takes it: numbers as decimal texts. Throws ConversionError naming the cell
// text when a barcode, price, section or quantity cannot be converted.
KktGoodsItem GoodsItemFromRow(const TGridData& goods, int row);
// Writes an item answer into its row, columns 1 to 6.
void ApplyGoodsItem(TGridData& goods, int row, const KktGoodsItem& item);
