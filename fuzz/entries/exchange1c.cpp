#include "fuzzentries.h"

#include "files/exchange1c.h"

int Fuzz1cdb(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const T1cdbImport import = Import1cdb(bytes);
    if (import.accepted) {
        if (import.goods.size() != static_cast<size_t>(kGoodsCount) || import.count < 0 || import.count > kGoodsCount)
            __builtin_trap();
        // What was accepted exports and imports again to the same table.
        const T1cdbImport again = Import1cdb(Export1cdb(import.goods));
        if (!again.accepted || again.goods != import.goods)
            __builtin_trap();
    } else if (!import.goods.empty()) {
        __builtin_trap();
    }
    return 0;
}
