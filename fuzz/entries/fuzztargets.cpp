#include "fuzzentries.h"

const std::vector<FuzzTarget>& FuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"answers", FuzzAnswers},   {"goodsrequest", FuzzGoodsRequest},
        {"inifile", FuzzIniFile},   {"configfile", FuzzConfigFile},
        {"goodsdb", FuzzGoodsDb},   {"exchange1c", Fuzz1cdb},
        {"xls", FuzzXls},           {"xlsx", FuzzXlsx},
        {"scanner", FuzzScanner},   {"csv", FuzzCsv},
        {"simframes", FuzzSimFrames},
    };
    return targets;
}
