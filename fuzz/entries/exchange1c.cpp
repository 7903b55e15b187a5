#include "fuzzentries.h"

#include "files/exchange1c.h"

namespace {

// The export writes control characters as blanks, so that no cell can break its goods line.
TGoodsTable AsExported(TGoodsTable goods)
{
    for (TGoodsRow& row : goods)
        for (QString& cell : row)
            for (QChar& ch : cell)
                if (ch.unicode() < 0x20)
                    ch = u' ';
    return goods;
}

}  // namespace

int Fuzz1cdb(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const T1cdbImport import = Import1cdb(bytes);
    if (import.accepted) {
        if (import.goods.size() != static_cast<size_t>(kGoodsCount) || import.count < 0 || import.count > kGoodsCount)
            __builtin_trap();
        // What was accepted exports and imports again to the same table.
        const T1cdbImport again = Import1cdb(Export1cdb(import.goods));
        if (!again.accepted || again.goods != AsExported(import.goods))
            __builtin_trap();
    } else if (!import.goods.empty()) {
        __builtin_trap();
    }
    return 0;
}
