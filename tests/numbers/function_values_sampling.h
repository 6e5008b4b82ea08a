// SPDX-License-Identifier: MIT
// Seeded cases for comparing the function values' double fast path with the extended code, and
// the comparison itself: the unit test runs it on 10^6 cases per function, the check program in
// bench/ on 10^8. Each function draws from classes of arguments (small, typical, near multiples of
// pi/2, log-uniform up to the Fixed4 range, domain and range edges) and from a pool of cases whose
// extended result lies close to a rounding tie, found by search or by inverting the function.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "numbers/elementary.h"
#include "numbers/failures.h"
#include "numbers/fixed4.h"
#include "numbers/function_values.h"

namespace kurvilo {

enum class ValueFunction { Sine, Cosine, Tangent, NaturalLog, Exponential, Power };

constexpr std::array<ValueFunction, 6> kValueFunctions = {
    ValueFunction::Sine,       ValueFunction::Cosine,      ValueFunction::Tangent,
    ValueFunction::NaturalLog, ValueFunction::Exponential, ValueFunction::Power};

inline const char* functionName(ValueFunction f) {
    switch (f) {
        case ValueFunction::Sine:
            return "sin";
        case ValueFunction::Cosine:
            return "cos";
        case ValueFunction::Tangent:
            return "tan";
        case ValueFunction::NaturalLog:
            return "ln";
        case ValueFunction::Exponential:
            return "exp";
        case ValueFunction::Power:
            return "pow";
    }
    return "?";
}

// One argument, or for the power a base (in units) and an exponent.
struct FunctionCase {
    Fixed4 argument;
    std::uint64_t baseUnits = 0;
};

inline std::string describe(ValueFunction f, const FunctionCase& c) {
    if (f == ValueFunction::Power) {
        return std::to_string(c.baseUnits) + " units ^ " + toText(c.argument);
    }
    return std::string(functionName(f)) + "(" + toText(c.argument) + ")";
}

// SplitMix64: small, and the same sequence on every platform and standard library.
class SeededRandom {
  public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi].
    std::int64_t between(std::int64_t lo, std::int64_t hi) {
        const std::uint64_t span = static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo);
        if (span == std::numeric_limits<std::uint64_t>::max())
            return static_cast<std::int64_t>(next());
        const auto pick =
            static_cast<std::uint64_t>((static_cast<unsigned __int128>(next()) * (span + 1)) >> 64);
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) + pick);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    // A magnitude in [1, 2^63 − 1] whose binary length is uniform.
    std::int64_t logUniformMagnitude() {
        const int bits = static_cast<int>(between(0, 62));
        const std::int64_t low = std::int64_t{1} << bits;
        const std::int64_t high = bits == 62 ? std::numeric_limits<std::int64_t>::max()
                                             : (std::int64_t{1} << (bits + 1)) - 1;
        return between(low, high);
    }
    std::int64_t logUniformSigned() {
        const std::int64_t m = logUniformMagnitude();
        return (next() & 1) ? m : -m;
    }

  private:
    std::uint64_t state_;
};

// What a call gave: a unit count, or a failure's kind and message.
struct ValueOutcome {
    bool ok = false;
    std::int64_t units = 0;
    std::string kind;
    std::string message;
    friend bool operator==(const ValueOutcome&, const ValueOutcome&) = default;
};

inline std::string describe(const ValueOutcome& o) {
    return o.ok ? std::to_string(o.units) + " units" : o.kind + " (" + o.message + ")";
}

template <class Call>
ValueOutcome outcomeOf(Call&& call) {
    try {
        return {true, call().units(), {}, {}};
    } catch (const Failure& f) {
        return {false, 0, f.kind(), f.what()};
    }
}

inline Fixed4 publicValue(ValueFunction f, const FunctionCase& c) {
    switch (f) {
        case ValueFunction::Sine:
            return sineValue(c.argument);
        case ValueFunction::Cosine:
            return cosineValue(c.argument);
        case ValueFunction::Tangent:
            return tangentValue(c.argument);
        case ValueFunction::NaturalLog:
            return naturalLogValue(c.argument);
        case ValueFunction::Exponential:
            return exponentialValue(c.argument);
        case ValueFunction::Power:
            return positivePowerValue(c.baseUnits, c.argument);
    }
    return Fixed4();
}

inline Fixed4 extendedValue(ValueFunction f, const FunctionCase& c) {
    switch (f) {
        case ValueFunction::Sine:
            return extendedSineValue(c.argument);
        case ValueFunction::Cosine:
            return extendedCosineValue(c.argument);
        case ValueFunction::Tangent:
            return extendedTangentValue(c.argument);
        case ValueFunction::NaturalLog:
            return extendedNaturalLogValue(c.argument);
        case ValueFunction::Exponential:
            return extendedExponentialValue(c.argument);
        case ValueFunction::Power:
            return extendedPositivePowerValue(c.baseUnits, c.argument);
    }
    return Fixed4();
}

inline bool fastAttempt(ValueFunction f, const FunctionCase& c, std::int64_t& units) {
    switch (f) {
        case ValueFunction::Sine:
            return detail::fastSineUnits(c.argument, units);
        case ValueFunction::Cosine:
            return detail::fastCosineUnits(c.argument, units);
        case ValueFunction::Tangent:
            return detail::fastTangentUnits(c.argument, units);
        case ValueFunction::NaturalLog:
            return detail::fastNaturalLogUnits(c.argument, units);
        case ValueFunction::Exponential:
            return detail::fastExponentialUnits(c.argument, units);
        case ValueFunction::Power:
            return detail::fastPositivePowerUnits(c.baseUnits, c.argument, units);
    }
    return false;
}

// The extended quantity that the rounding rule rounds, or false where the extended code fails
// before the rounding. Only for choosing cases: the comparison never looks at it.
inline bool extendedQuantity(ValueFunction f, const FunctionCase& c, Extended& r) {
    try {
        const Extended x = c.argument.value();
        switch (f) {
            case ValueFunction::Sine:
                r = toUnits(sine(x));
                return true;
            case ValueFunction::Cosine:
                r = toUnits(cosine(x));
                return true;
            case ValueFunction::Tangent:
                r = toUnits(tangent(x));
                return true;
            case ValueFunction::NaturalLog:
                r = toUnits(naturalLog(x));
                return true;
            case ValueFunction::Exponential:
                r = toUnits(exponential(x));
                return true;
            case ValueFunction::Power: {
                const Extended l = naturalLog(static_cast<Extended>(c.baseUnits) / 10000.0L);
                r = toUnits(exponential(l * static_cast<Extended>(c.argument.units()) / 10000.0L));
                return true;
            }
        }
    } catch (const Failure&) {
    }
    return false;
}

// How far r lies from the nearest odd multiple of 0.5.
inline Extended distanceToTie(Extended r) {
    return fabsl(r - floorl(r) - 0.5L);
}

// The plain double computation rounded to the nearest unit, with no guard: where it differs from
// the extended result, only the guard kept the fast path right.
inline bool unguardedDoubleUnits(ValueFunction f, const FunctionCase& c, std::int64_t& units) {
    const double x = static_cast<double>(c.argument.units()) / 10000.0;
    double r = 0.0;
    switch (f) {
        case ValueFunction::Sine:
            r = std::sin(x) * 10000.0;
            break;
        case ValueFunction::Cosine:
            r = std::cos(x) * 10000.0;
            break;
        case ValueFunction::Tangent:
            r = std::tan(x) * 10000.0;
            break;
        case ValueFunction::NaturalLog:
            r = std::log(x) * 10000.0;
            break;
        case ValueFunction::Exponential:
            r = std::exp(x) * 10000.0;
            break;
        case ValueFunction::Power: {
            const double l = std::log(static_cast<double>(c.baseUnits) / 10000.0);
            r = std::exp(l * static_cast<double>(c.argument.units()) / 10000.0) * 10000.0;
            break;
        }
    }
    if (!(std::fabs(r) < 0x1p62)) return false;
    units = std::llrint(r);
    return true;
}

struct ComparisonTally {
    std::uint64_t compared = 0;
    std::uint64_t fastHits = 0;
    std::uint64_t fallbacks = 0;
    std::uint64_t mismatches = 0;
    // Cases where the unguarded double result would have been wrong.
    std::uint64_t unguardedWrong = 0;
    std::vector<std::string> mismatchExamples;  // the first few
};

// One case: the public call and the fast attempt against the extended code, result for result
// and failure kind (and message) for failure kind.
inline void compareCase(ValueFunction f, const FunctionCase& c, ComparisonTally& tally) {
    const ValueOutcome extended = outcomeOf([&] { return extendedValue(f, c); });
    const ValueOutcome fast = outcomeOf([&] { return publicValue(f, c); });
    std::int64_t fastUnits = 0;
    const bool hit = fastAttempt(f, c, fastUnits);
    ++tally.compared;
    ++(hit ? tally.fastHits : tally.fallbacks);
    const bool hitWrong = hit && !(extended.ok && extended.units == fastUnits);
    if (!(fast == extended) || hitWrong) {
        ++tally.mismatches;
        if (tally.mismatchExamples.size() < 10) {
            tally.mismatchExamples.push_back(
                describe(f, c) + ": fast " + describe(fast) +
                (hit ? " (kept double " + std::to_string(fastUnits) + ")" : " (fell back)") +
                ", extended " + describe(extended));
        }
    }
    std::int64_t plain = 0;
    if (extended.ok && unguardedDoubleUnits(f, c, plain) && plain != extended.units) {
        ++tally.unguardedWrong;
    }
}

// Bases and exponents whose exact power is an odd multiple of 0.5 units: 10^8 / b = k + 1/2 for
// b = 2·10^8 / 5^j with the exponent -1, and 10^6 / sqrt(b) = k + 1/2 for b = 4·10^12 / 25^j with
// the exponent -0.5.
inline const std::vector<FunctionCase>& exactPowerTies() {
    static const std::vector<FunctionCase> ties = [] {
        std::vector<FunctionCase> v;
        std::uint64_t five = 1;
        for (int j = 0; j <= 8; ++j, five *= 5) {
            v.push_back({Fixed4::fromUnits(-10'000), 200'000'000 / five});
        }
        std::uint64_t twentyFive = 1;
        for (int j = 0; j <= 6; ++j, twentyFive *= 25) {
            v.push_back({Fixed4::fromUnits(-5'000), 4'000'000'000'000 / twentyFive});
        }
        return v;
    }();
    return ties;
}

// How many near-tie cases to search for, scaled by what one costs: a near tie of sin or cos
// takes about 10^5 extended evaluations to find, one of tan or exp a few thousand, one of ln or
// the power a single inversion.
inline std::size_t nearTieCount(ValueFunction f, std::size_t scale) {
    switch (f) {
        case ValueFunction::Sine:
        case ValueFunction::Cosine:
            return scale;
        case ValueFunction::Tangent:
        case ValueFunction::Exponential:
            return 16 * scale;
        case ValueFunction::NaturalLog:
        case ValueFunction::Power:
            break;
    }
    return 256 * scale;
}

// Draws the cases of one function. The constructor searches the pool of near-tie cases.
class FunctionCaseSampler {
  public:
    FunctionCaseSampler(ValueFunction f, std::uint64_t seed, std::size_t nearTieCount)
        : f_(f), random_(seed) {
        while (nearTies_.size() < nearTieCount)
            addNearTie();
    }

    const std::vector<FunctionCase>& nearTies() const { return nearTies_; }

    FunctionCase next() {
        const std::int64_t pick = random_.between(0, 99);
        if (f_ == ValueFunction::Power) return nextPower(pick);
        return FunctionCase{Fixed4::fromUnits(nextArgument(pick)), 0};
    }

  private:
    static constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    static constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    static constexpr std::int64_t kTwoTo53 = std::int64_t{1} << 53;
    static constexpr long double kHalfPi = std::numbers::pi_v<long double> / 2;

    // The unit count nearest to k pi / 2.
    static std::int64_t nearQuarterTurn(std::int64_t k) {
        return static_cast<std::int64_t>(llroundl(static_cast<long double>(k) * kHalfPi * 1e4L));
    }

    FunctionCase poolCase() {
        return nearTies_[static_cast<std::size_t>(
            random_.between(0, static_cast<std::int64_t>(nearTies_.size()) - 1))];
    }

    std::int64_t nextArgument(std::int64_t pick) {
        switch (f_) {
            case ValueFunction::Sine:
            case ValueFunction::Cosine:
            case ValueFunction::Tangent: {
                const bool tan = f_ == ValueFunction::Tangent;
                if (pick < 30) return random_.between(-100'000, 100'000);
                if (pick < 50) return random_.between(-10'000'000, 10'000'000);
                if (pick < (tan ? 70 : 62)) {
                    const std::int64_t k = random_.between(-20'000, 20'000);
                    const std::int64_t spread = tan ? 40 : 3;
                    return nearQuarterTurn(k) + random_.between(-spread, spread);
                }
                if (pick < 82) return random_.logUniformSigned();
                if (pick < 88) {
                    // The ends of the fast range (10^6), pi / 2, pi, 3 pi / 2, and the unit range.
                    static constexpr std::int64_t kAngle = 10'000'000'000;
                    static constexpr std::int64_t edges[] = {
                        0,           1,          -1,       15708,        -15708,
                        31416,       47124,      kAngle,   -kAngle,      kAngle + 1,
                        -kAngle - 1, kAngle - 1, kTwoTo53, kTwoTo53 + 1, kMin,
                        kMax};
                    return edges[random_.between(0, std::size(edges) - 1)];
                }
                return poolCase().argument.units();
            }
            case ValueFunction::NaturalLog:
                if (pick < 25) return random_.between(1, 100'000);
                if (pick < 45) return random_.between(1, 10'000'000);
                if (pick < 50) return random_.between(9'000, 11'000);
                if (pick < 68) return random_.logUniformMagnitude();
                if (pick < 72) return -random_.logUniformMagnitude();
                if (pick < 78) {
                    static constexpr std::int64_t edges[] = {
                        0, 1, -1, 2, 10'000, 9'999, 10'001, kTwoTo53, kTwoTo53 + 1, kMin, kMax};
                    return edges[random_.between(0, std::size(edges) - 1)];
                }
                return poolCase().argument.units();
            case ValueFunction::Exponential:
                if (pick < 30) return random_.between(-100'000, 100'000);
                if (pick < 38) return random_.between(-10'000'000, 10'000'000);
                if (pick < 58) return random_.between(-7'000'000, 350'000);
                if (pick < 70) return random_.logUniformSigned();
                if (pick < 80) {
                    static constexpr std::int64_t edges[] = {
                        0,           1,           -1,          344'579,      344'580,      344'578,
                        -7'000'000,  -7'000'001,  -6'999'999,  350'000,      350'001,      349'999,
                        113'565'000, 113'565'001, 113'560'000, -113'600'000, -100'000'000, kMin,
                        kMax};
                    return edges[random_.between(0, std::size(edges) - 1)];
                }
                return poolCase().argument.units();
            case ValueFunction::Power:
                break;
        }
        return 0;
    }

    FunctionCase nextPower(std::int64_t pick) {
        auto make = [](std::uint64_t base, std::int64_t exponent) {
            return FunctionCase{Fixed4::fromUnits(exponent), base};
        };
        if (pick < 30) {
            // Summation bodies: n^0.5, n^2, n^-1 and their neighbours for n up to 10^6.
            static constexpr std::int64_t exponents[] = {5'000,  20'000,  -10'000, 30'000, 15'000,
                                                         -5'000, -20'000, 10'000,  0};
            const auto n = static_cast<std::uint64_t>(random_.between(1, 1'000'000));
            return make(n * 10'000, exponents[random_.between(0, std::size(exponents) - 1)]);
        }
        if (pick < 44) {
            const auto base = static_cast<std::uint64_t>(random_.logUniformMagnitude());
            return make(base, random_.between(-100'000, 100'000));
        }
        if (pick < 54) {
            const auto base = static_cast<std::uint64_t>(random_.between(1, 100'000));
            return make(base, random_.between(-50'000, 50'000));
        }
        if (pick < 64) {
            // Exponents that overflow, or drive the result to 0.
            const auto base = static_cast<std::uint64_t>(random_.logUniformMagnitude());
            return make(base, random_.logUniformSigned());
        }
        if (pick < 70) {
            const std::vector<FunctionCase>& ties = exactPowerTies();
            return ties[static_cast<std::size_t>(
                random_.between(0, static_cast<std::int64_t>(ties.size()) - 1))];
        }
        if (pick < 80) {
            static constexpr std::uint64_t bases[] = {1,
                                                      2,
                                                      9'999,
                                                      10'000,
                                                      10'001,
                                                      std::uint64_t{1} << 53,
                                                      std::uint64_t{1} << 63,
                                                      (std::uint64_t{1} << 63) - 1};
            static constexpr std::int64_t exponents[] = {0,     1,    -1,   10'000, -10'000,
                                                         5'000, kMin, kMax, 20'000, -20'000};
            return make(bases[random_.between(0, std::size(bases) - 1)],
                        exponents[random_.between(0, std::size(exponents) - 1)]);
        }
        return poolCase();
    }

    // Scans arguments up from a random start for an extended result within `threshold` of a tie.
    bool scanForNearTie(std::int64_t start, long double threshold, int steps) {
        for (int i = 0; i < steps; ++i) {
            const FunctionCase c{Fixed4::fromUnits(start + i), 0};
            Extended r = 0.0L;
            if (extendedQuantity(f_, c, r) && distanceToTie(r) < threshold) {
                nearTies_.push_back(c);
                return true;
            }
        }
        return false;
    }

    void addNearTie() {
        switch (f_) {
            case ValueFunction::Sine:
            case ValueFunction::Cosine: {
                // Large angles, where the argument's rounding makes the guard wide enough to act.
                const std::int64_t start = random_.between(6'000'000'000, 10'000'000'000);
                scanForNearTie((random_.next() & 1) ? start : -start, 4e-6L, 1'000'000);
                return;
            }
            case ValueFunction::Tangent: {
                // Near the poles, where the slope makes the guard wide.
                const std::int64_t k = random_.between(-20'000, 20'000) * 2 + 1;
                const std::int64_t start = nearQuarterTurn(k) + random_.between(-400, 100);
                scanForNearTie(start, 1e-4L, 300);
                return;
            }
            case ValueFunction::Exponential:
                scanForNearTie(random_.between(80'000, 300'000), 1e-4L, 100'000);
                return;
            case ValueFunction::NaturalLog: {
                // Inverting: the unit count nearest to 10^4 e^((k + 1/2) / 10^4) for large
                // arguments, where ln moves by far less than the double's error per unit.
                const std::int64_t k = random_.between(184'208, 344'400);
                const Extended target = 1e4L * expl((static_cast<Extended>(k) + 0.5L) / 1e4L);
                const std::int64_t u = llroundl(target);
                for (std::int64_t d = -1; d <= 1; ++d) {
                    nearTies_.push_back({Fixed4::fromUnits(u + d), 0});
                }
                return;
            }
            case ValueFunction::Power: {
                // Inverting b^e = k + 1/2 units for a random exponent: the base nearest to
                // 10^4 ((k + 1/2) / 10^4)^(1/e), for a result that moves slowly with the base.
                std::int64_t e = random_.between(100, 30'000);
                if (random_.next() & 1) e = -e;
                const Extended target = static_cast<Extended>(random_.between(1, 1'000'000'000));
                const Extended exponent = static_cast<Extended>(e) / 1e4L;
                const Extended base = 1e4L * expl(logl((target + 0.5L) / 1e4L) / exponent);
                if (!(base >= 1.0L && base < 0x1p63L)) return;
                const auto b = static_cast<std::uint64_t>(llroundl(base));
                const FunctionCase c{Fixed4::fromUnits(e), b};
                Extended r = 0.0L;
                if (extendedQuantity(f_, c, r) && distanceToTie(r) < 1e-6L) nearTies_.push_back(c);
                return;
            }
        }
    }

    ValueFunction f_;
    SeededRandom random_;
    std::vector<FunctionCase> nearTies_;
};

}  // namespace kurvilo
