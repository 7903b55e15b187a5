#include "whole/kktregister.h"

#include <algorithm>
#include <utility>

namespace {

template <size_t... I>
std::array<TKnownRows, kPartCount> NoneKnown(std::index_sequence<I...>)
{
    return {TKnownRows(TableId(I))...};
}

}  // namespace

TKktRegister::TKktRegister() : known(NoneKnown(std::make_index_sequence<kPartCount>()))
{
    for (int i = 0; i < kPartCount; ++i)
        grids[size_t(i)] = InitGrid(TableId(i));
}

bool TRegisterParts::Empty() const
{
    return std::none_of(has.begin(), has.end(), [](bool b) { return b; });
}
