// The .xls record reader's refusals, on workbook streams built record by record: a book it cannot
// read is refused with its reason, not read as something else.
#include "files/biffsheet.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Record(uint16_t id, const QByteArray& data)
{
    QByteArray r(4, '\0');
    qToLittleEndian<uint16_t>(id, r.data());
    qToLittleEndian<uint16_t>(uint16_t(data.size()), r.data() + 2);
    return r + data;
}

QByteArray U16(uint16_t v)
{
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray U32(uint32_t v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

const QByteArray kBof8 = Record(0x0809, U16(0x0600) + U16(0x0005) + QByteArray(12, '\0'));  // workbook globals
const QByteArray kSheetBof8 = Record(0x0809, U16(0x0600) + U16(0x0010) + QByteArray(12, '\0'));
const QByteArray kEof = Record(0x000A, {});

// A BIFF8 book: a shared-string table of "Чай", then one sheet whose cell A1 names shared string `index`.
QByteArray BookWithSharedString(uint32_t index)
{
    // Length 3, uncompressed (flags 1), then UTF-16LE.
    const QByteArray tea = U16(3) + QByteArray(1, '\1') + QByteArray::fromHex("270430043904");
    const QByteArray sst = Record(0x00FC, U32(1) + U32(1) + tea);
    // The sheet's offset, visible, a worksheet, and its name "S" (length 1, compressed).
    const auto boundSheet = [](uint32_t at) { return Record(0x0085, U32(at) + QByteArray(2, '\0') + QByteArray("\1\0S", 3)); };
    const uint32_t sheetAt = uint32_t(kBof8.size() + sst.size() + boundSheet(0).size() + kEof.size());
    const QByteArray globals = kBof8 + sst + boundSheet(sheetAt) + kEof;
    const QByteArray cell = Record(0x00FD, U16(0) + U16(0) + U16(0) + U32(index));
    return globals + kSheetBof8 + cell + kEof;
}

QString Refusal(const QByteArray& stream)
{
    TSheetCells cells(5, 5);
    QString why;
    EXPECT_FALSE(ReadBiffFirstSheet(stream, cells, why));
    return why;
}

}  // namespace

TEST(BiffRefusals, PasswordOldFormatsAndMissingSharedStringsAreRefusedWithTheirReason)
{
    // The built book reads as it should: its one cell is the shared text.
    TSheetCells cells(5, 5);
    QString why;
    ASSERT_TRUE(ReadBiffFirstSheet(BookWithSharedString(0), cells, why)) << why.toStdString();
    EXPECT_EQ(cells.cell(1, 1), QStringLiteral("Чай"));

    EXPECT_EQ(Refusal(BookWithSharedString(1)), QStringLiteral("книга повреждена"));
    EXPECT_EQ(Refusal(kBof8 + Record(0x002F, QByteArray(54, '\1')) + kEof), QStringLiteral("книга защищена паролем"));
    // Excel 2.x to 4.0 begin with BOF records of their own (0x0009, 0x0209, 0x0409).
    for (uint16_t oldBof : {0x0009, 0x0209, 0x0409})
        EXPECT_EQ(Refusal(Record(oldBof, U16(0x0010) + U16(0x0010)) + kEof), QStringLiteral("книга не в формате Excel 5.0 или новее"))
            << oldBof;
}
