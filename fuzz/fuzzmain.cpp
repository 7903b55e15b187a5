// One libFuzzer program per target: KKT_FUZZ_TARGET names the entry in FuzzTargets().
#include "entries/fuzzentries.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

FuzzEntry FindEntry()
{
    for (const FuzzTarget& target : FuzzTargets())
        if (std::strcmp(target.name, KKT_FUZZ_TARGET) == 0)
            return target.entry;
    std::fprintf(stderr, "no fuzz target named %s\n", KKT_FUZZ_TARGET);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzEntry entry = FindEntry();
    return entry(data, size);
}
