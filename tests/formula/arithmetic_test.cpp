// SPDX-License-Identifier: MIT
// The scan's sums and products take integer arithmetic where it provably rounds like the
// extended forms: on millions of seeded operands, near the limits of that shortcut and at every
// kind of tie, both give the same unit count or the same failure.
#include "formula/arithmetic.h"

#include <cstdint>
#include <random>

#include "common.h"

namespace kurvilo {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kCount = 200000;
#else
constexpr int kCount = 2000000;
#endif

// Operands of every magnitude, with extra weight where the shortcut ends and at small values.
class OperandSource {
  public:
    explicit OperandSource(std::uint64_t seed) : rng_(seed) {}

    std::int64_t next() {
        const int bits = static_cast<int>(rng_() % 64);
        std::int64_t magnitude = static_cast<std::int64_t>(rng_() >> (64 - std::max(bits, 1)));
        switch (rng_() % 8) {
            case 0:  // right at the shortcut's limits
                magnitude = (std::int64_t{1} << (rng_() % 2 == 0 ? 59 : 60)) -
                            static_cast<std::int64_t>(rng_() % 3);
                break;
            case 1:  // whole and half values
                magnitude = static_cast<std::int64_t>(rng_() % 100000) * 5000;
                break;
            default:
                break;
        }
        return rng_() % 2 == 0 ? magnitude : -magnitude;
    }

  private:
    std::mt19937_64 rng_;
};

TEST(ScanArithmetic, IntegerSumsMatchTheExtendedForm) {
    OperandSource source(59);
    for (int i = 0; i < kCount; ++i) {
        const Fixed4 s = Fixed4::fromUnits(source.next());
        const Fixed4 r = Fixed4::fromUnits(source.next());
        for (const bool plus : {true, false}) {
            const std::string expected =
                outcome([&] { return detail::scanSumExtended(s, r, plus); });
            const std::string actual = outcome([&] { return detail::scanSum(s, r, plus); });
            if (actual != expected) {
                FAIL() << s.units() << (plus ? " + " : " - ") << r.units() << ": " << actual
                       << " instead of " << expected;
            }
        }
    }
}

TEST(ScanArithmetic, IntegerProductsMatchTheExtendedForm) {
    OperandSource source(60);
    std::mt19937_64 rng(61);
    for (int i = 0; i < kCount; ++i) {
        std::int64_t l = source.next();
        std::int64_t r = source.next();
        if (i % 4 == 0) {
            // Products that end in a tie, 5000 units past a whole number of units.
            l = static_cast<std::int64_t>(rng() % 2000001) - 1000000;
            r = (static_cast<std::int64_t>(rng() % 20001) - 10000) * 2 + 1;
            const std::int64_t k = static_cast<std::int64_t>(rng() % 1000);
            l = (k * 10000 + 5000) * (l % 2 == 0 ? 1 : -1);
            r = r % 2 == 0 ? r + 1 : r;
        }
        const Fixed4 left = Fixed4::fromUnits(l);
        const Fixed4 right = Fixed4::fromUnits(r);
        const std::string expected =
            outcome([&] { return detail::scanProductExtended(left, right); });
        const std::string actual = outcome([&] { return detail::scanProduct(left, right); });
        if (actual != expected) {
            FAIL() << l << " * " << r << ": " << actual << " instead of " << expected;
        }
    }
}

TEST(ScanArithmetic, ProductTiesRoundToEvenEitherWay) {
    // 0.5 × 0.0003 is 1.5 units and 0.5 × 0.0005 is 2.5 units: ties, to the even neighbour.
    const struct {
        std::int64_t l, r, expected;
    } cases[] = {{5000, 3, 2},   {5000, 5, 2},   {-5000, 3, -2},
                 {3, -5000, -2}, {5, -5000, -2}, {-3, -5000, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.l) + " * " + std::to_string(c.r));
        EXPECT_EQ(detail::scanProduct(units(c.l), units(c.r)).units(), c.expected);
        EXPECT_EQ(detail::scanProductExtended(units(c.l), units(c.r)).units(), c.expected);
    }
}

}  // namespace
}  // namespace kurvilo
