#include "fuzzentries.h"
#include "fuzzinput.h"

#include "files/goodsdb.h"

int FuzzGoodsDb(const uint8_t* data, size_t size)
{
    const QString path = WriteFuzzFile("dbVaro", data, size);
    TGoodsTable goods;
    QString error;
    if (LoadGoodsDbFile(path, goods, &error)) {
        if (goods.size() != static_cast<size_t>(kGoodsCount))
            __builtin_trap();  // a load always sets every row
    } else if (error.isEmpty() || !goods.empty()) {
        __builtin_trap();  // a refused file says why and changes nothing
    }
    return 0;
}
