// SPDX-License-Identifier: MIT
#include <cmath>
#include <cstdint>
#include <limits>

#include "common.h"

namespace kurvilo {
namespace {

TEST(RoundingRule, ExactHalvesGoToTheEvenInteger) {
    const struct {
        Extended r;
        std::int64_t units;
    } cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-2.5L, -2},
        {-3.5L, -4},
        {0.5L, 0},
        {-0.5L, 0},
        {1.5L, 2},
        {2.4999L, 2},
        {-0.4L, 0},
        {4987.5L, 4988},
        {0x1p63L - 1.0L, std::numeric_limits<std::int64_t>::max()},
        {-0x1p63L, std::numeric_limits<std::int64_t>::min()},
        {0x1p63L - 1.5L, std::numeric_limits<std::int64_t>::max() - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.r));
        EXPECT_EQ(roundUnits(c.r).units(), c.units);
    }
}

TEST(RoundingRule, ZeroIsNeverNegative) {
    EXPECT_EQ(toText(roundUnits(-0.4L)), "0");
    EXPECT_EQ(toText(roundUnits(-0.0L)), "0");
}

TEST(RoundingRule, FailsWithInvalidOpOutsideTheUnitRange) {
    for (Extended r :
         {0x1p63L, 0x1p63L - 0.5L, -0x1p63L - 1.0L, 1e30L, -1e30L,
          std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity(),
          std::numeric_limits<Extended>::quiet_NaN()}) {
        SCOPED_TRACE(static_cast<double>(r));
        EXPECT_FAILURE(roundUnits(r), EInvalidOp);
    }
}

TEST(ExactSums, AddAndSubtractFailOnlyOutsideTheRange) {
    EXPECT_EQ(add(units(5), units(-7)).units(), -2);
    EXPECT_EQ(subtract(units(5), units(-7)).units(), 12);
    EXPECT_FAILURE(add(Fixed4::max(), units(1)), EInvalidOp);
    EXPECT_FAILURE(subtract(Fixed4::min(), units(1)), EInvalidOp);
}

}  // namespace
}  // namespace kurvilo
