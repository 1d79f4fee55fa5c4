// SPDX-License-Identifier: MIT
#include "speech/clip_lookup.h"

#include <gtest/gtest.h>

#include <optional>

namespace talmo {
namespace {

using Lookup = std::optional<ClipRef> (*)(double);

struct LookupCase {
    const char* name;
    Lookup lookup;
    double number;
    std::optional<ClipRef> expected;
};

void PrintTo(const LookupCase& d, std::ostream* os) {
    *os << d.name;
}

class ClipLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ClipLookup, FindsTheRowEqualToTheNumber) {
    EXPECT_EQ(GetParam().lookup(GetParam().number), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ClipLookup,
    ::testing::Values(
        LookupCase{"SmallZeroIsTimeCase", SmallNumberClip, 0, ClipRef{"Time", "0NOLL"}},
        LookupCase{"SmallOne", SmallNumberClip, 1, ClipRef{"TIME", "1ETT"}},
        LookupCase{"SmallTwelve", SmallNumberClip, 12, ClipRef{"TIME", "12TOLV"}},
        LookupCase{"SmallThirteen", SmallNumberClip, 13, ClipRef{"NUMBERS", "N13"}},
        LookupCase{"SmallTwenty", SmallNumberClip, 20, ClipRef{"NUMBERS", "N20"}},
        LookupCase{"SmallTwentyNine", SmallNumberClip, 29, ClipRef{"NUMBERS", "N29"}},
        LookupCase{"SmallThirty", SmallNumberClip, 30, std::nullopt},
        LookupCase{"SmallNegative", SmallNumberClip, -1, std::nullopt},
        LookupCase{"SmallNotWhole", SmallNumberClip, 5.5, std::nullopt},
        LookupCase{"TensTwenty", TensClip, 20, ClipRef{"NUMBERS", "N20"}},
        LookupCase{"TensFortyComputed", TensClip, 4.0 * 10.0, ClipRef{"NUMBERS", "N40"}},
        LookupCase{"TensNinety", TensClip, 90, ClipRef{"NUMBERS", "N90"}},
        LookupCase{"TensTen", TensClip, 10, std::nullopt},
        LookupCase{"TensNotMultiple", TensClip, 25, std::nullopt},
        LookupCase{"TensHundred", TensClip, 100, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace talmo
