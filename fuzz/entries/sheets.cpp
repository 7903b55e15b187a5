#include "fuzzentries.h"
#include "fuzzinput.h"

#include "files/xlsprice.h"
#include "files/xlsreader.h"
#include "files/xlsxreader.h"

namespace {

// The window the goods import reads: rows 1..6001, columns A..F.
constexpr int kRows = 6001;
constexpr int kColumns = 6;

void Check(const TSheetRead& read)
{
    if (read.status == SheetStatus::Failed) {
        if (read.error.isEmpty())
            __builtin_trap();
        return;
    }
    for (int r = 1; r <= std::min(kRows, read.cells.lastRow()); ++r)
        XlsPriceToText(read.cells.cell(r, 6));
}

}  // namespace

int FuzzXls(const uint8_t* data, size_t size)
{
    Check(ReadXlsFirstSheetInProcess(WriteFuzzFile("xls", data, size), kRows, kColumns));
    return 0;
}

int FuzzXlsx(const uint8_t* data, size_t size)
{
    Check(ReadXlsxFirstSheet(WriteFuzzFile("xlsx", data, size), kRows, kColumns));
    return 0;
}
