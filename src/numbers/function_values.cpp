// SPDX-License-Identifier: MIT
#include "numbers/function_values.h"

#include <cmath>

#include "numbers/elementary.h"

namespace kurvilo {

// Why the double result may stand in for the extended one.
//
// Both paths approximate the same true quantity T = f(u / 10000) × 10000 (in units; for the power
// T = (b / 10000)^(e / 10000) × 10000). If the double result r is within Ed of T and the extended
// quantity R that the rounding rule would round is within El of T, then |R − r| <= Ed + El. When
// no half-integer (the rounding rule's tie) lies within that distance of r, R and r have the same
// nearest integer, ties to even never come into play, and that integer is the extended result.
// Each fast attempt therefore computes r, a bound B >= Ed + El, and keeps r only when
// |frac(r) − 0.5| > B; it also keeps only |r| < 2^50, so the extended code could neither overflow
// nor leave the unit range, and it declines every argument at which the extended code could fail.
//
// The error model, with generous margins:
// - rho = 2^-48 bounds the relative error of every libm result used here, double or extended.
//   glibc documents at most 1 ulp (2^-52 relative) for double sin, cos, tan, exp and log on
//   x86-64 and a few ulps of the 64-bit significand (a few times 2^-63) for sinl, cosl, expl and
//   logl: rho is 16 double ulps and thousands of extended ones. These are the library's
//   measured maxima, not proven bounds: on another libm, run bench/function_values_check again.
// - Each double operation adds 2^-53 relative, each extended one 2^-64.
// - The arguments: x* = u / 10000 exactly; the extended path divides the exact u once (2^-64
//   relative); the double path converts u (exact below 2^53, 2^-53 relative beyond) and divides
//   (2^-53). So both lie within 2^-52 |x| of x*: the double argument is the extended one rounded
//   to 53 bits, or closer. The function's derivative on that interval turns this into an error of
//   the result.
// The bounds below then hold with at least a factor 1.8 to spare on each term, which also covers
// the few roundings of computing the bound itself; each derivation is next to its attempt.
namespace {

constexpr double kUnitsPerOne = Fixed4::kUnitsPerOne;
// Relative error bounds: 2 rho plus the operations, and that with room to spare.
constexpr double kTwoFunctionsRelative = 0x1p-46;    // >= 2 rho + 2^-53 + 2^-63 (2^-46.9)
constexpr double kThreeFunctionsRelative = 0x1p-45;  // >= 3 rho + 2^-53 + 2^-63 (2^-46.4)
// The two arguments' distance from x*, per unit of |x|: >= 2^-53 + 2^-64 (2^-52.99).
constexpr double kArgumentRelative = 0x1p-51;
// Absolute slack in units, for anything the relative terms might miss (nothing underflows in the
// ranges kept).
constexpr double kAbsoluteSlack = 0x1p-40;
// Results kept: far inside the unit range, and r − floor(r) is exact below 2^52.
constexpr double kMaxKeptUnits = 0x1p50;

// Angles up to 10^6 in magnitude. Beyond that the argument's rounding to 53 bits eats the margin,
// and the reduction of huge angles is best left to the code that always ran it.
constexpr std::int64_t kMaxAngleUnits = 10'000'000'000;
// e^x for x in [-700, 35]: the double result stays normal, and beyond 35 the rounding rule fails.
constexpr std::int64_t kMinExponentUnits = -7'000'000;
constexpr std::int64_t kMaxExponentUnits = 350'000;
// For the power: the exponent s of e^s in the same range, and its error small enough that
// e^(s + d) = e^s (1 + d (1 + 2^-19)).
constexpr double kMinPowerScaled = -700.0;
constexpr double kMaxPowerScaled = 35.0;
constexpr double kMaxPowerRelative = 0x1p-20;

// Keeps r when every quantity within `bound` of it has r's nearest integer. bound >= 0.5 never
// keeps anything, since |frac(r) − 0.5| <= 0.5.
inline bool keepIfClear(double r, double bound, std::int64_t& units) noexcept {
    if (!(std::fabs(r) < kMaxKeptUnits)) return false;       // NaN too
    auto whole = static_cast<std::int64_t>(r);               // exact: toward zero, |r| < 2^50
    if (static_cast<double>(whole) > r) --whole;             // floor
    const double fraction = r - static_cast<double>(whole);  // exact, in [0, 1)
    if (!(std::fabs(fraction - 0.5) > bound)) return false;
    units = whole + (fraction > 0.5 ? 1 : 0);
    return true;
}

inline double argumentOf(std::int64_t u) noexcept {
    return static_cast<double>(u) / kUnitsPerOne;
}

// sin and cos: the derivative is at most 1 in magnitude, so each argument's error moves the
// result by at most 2^-52.99 |x|; with rho on each library result and the two roundings of
// × 10000, Ed + El <= 10000 (|y| 2^-46.9 + |x| 2^-52.9), y the double function value.
inline double angleBound(double y, double x) noexcept {
    return kUnitsPerOne *
               (std::fabs(y) * kTwoFunctionsRelative + std::fabs(x) * kArgumentRelative) +
           kAbsoluteSlack;
}

template <double (*f)(double)>
inline bool fastAngleUnits(Fixed4 argument, std::int64_t& units) noexcept {
    const std::int64_t u = argument.units();
    if (u > kMaxAngleUnits || u < -kMaxAngleUnits) return false;
    const double x = argumentOf(u);
    const double y = f(x);
    return keepIfClear(y * kUnitsPerOne, angleBound(y, x), units);
}

double doubleSine(double x) {
    return std::sin(x);
}
double doubleCosine(double x) {
    return std::cos(x);
}

}  // namespace

namespace detail {

bool fastSineUnits(Fixed4 argument, std::int64_t& units) noexcept {
    return fastAngleUnits<doubleSine>(argument, units);
}

bool fastCosineUnits(Fixed4 argument, std::int64_t& units) noexcept {
    return fastAngleUnits<doubleCosine>(argument, units);
}

// tan: the extended path divides sinl by cosl (2 rho and a division), the double one calls tan
// (rho): 3 rho in all. The derivative 1 + tan^2 is bounded on the interval of radius h <= 2^-52.9
// |x| around the double argument: with tau the true tangent there and |tan eta| <= 2^-52 |x| =: k
// for |eta| <= h, tan(x + eta) = (tau + tan eta) / (1 − tau tan eta), so when |tau| k <= 1/4 no
// pole lies inside and |tan| <= 2 (|tau| + k) on it; a = 1.01 |t| bounds |tau|. Then
// Ed + El <= 10000 (|t| 2^-46.4 + (1 + 4 (a + k)^2) |x| 2^-52.9). No failure is possible where
// this keeps a result: cosl of a non-zero rational is never 0 within rho, and |r| < 2^50.
bool fastTangentUnits(Fixed4 argument, std::int64_t& units) noexcept {
    const std::int64_t u = argument.units();
    if (u > kMaxAngleUnits || u < -kMaxAngleUnits) return false;
    const double x = argumentOf(u);
    const double t = std::tan(x);
    const double a = std::fabs(t) * 1.01;
    const double k = std::fabs(x) * 0x1p-52;
    if (!(a * k <= 0.25)) return false;
    const double slope = 1.0 + 4.0 * (a + k) * (a + k);
    const double bound = kUnitsPerOne * (std::fabs(t) * kThreeFunctionsRelative +
                                         slope * std::fabs(x) * kArgumentRelative) +
                         kAbsoluteSlack;
    return keepIfClear(t * kUnitsPerOne, bound, units);
}

// ln: an argument error of relative size d moves ln by at most 1.01 d: both arguments are within
// 2^-52 relative (the conversion of u beyond 2^53 and the division), so together 2^-51.9 in the
// result; plus rho on each library result: Ed + El <= 10000 (|l| 2^-46.9 + 2^-51.9). Zero and
// negative arguments, which fail, go to the extended code.
bool fastNaturalLogUnits(Fixed4 argument, std::int64_t& units) noexcept {
    const std::int64_t u = argument.units();
    if (u <= 0) return false;
    const double l = std::log(argumentOf(u));
    const double bound =
        kUnitsPerOne * (std::fabs(l) * kTwoFunctionsRelative + 0x1p-50) + kAbsoluteSlack;
    return keepIfClear(l * kUnitsPerOne, bound, units);
}

// e^x: an argument error of 2^-52.99 |x| moves e^x by a relative e^(2^-52.99 |x|) − 1 <=
// 2^-52.9 |x| for |x| <= 700; with rho on each library result and the roundings of × 10000:
// Ed + El <= |r| (2^-46.9 + |x| 2^-52.9), and |r| stands for |T| within 2^-46.
bool fastExponentialUnits(Fixed4 argument, std::int64_t& units) noexcept {
    const std::int64_t u = argument.units();
    if (u < kMinExponentUnits || u > kMaxExponentUnits) return false;
    const double x = argumentOf(u);
    const double r = std::exp(x) * kUnitsPerOne;
    const double bound =
        std::fabs(r) * (kTwoFunctionsRelative + std::fabs(x) * kArgumentRelative) + kAbsoluteSlack;
    return keepIfClear(r, bound, units);
}

// b^e = e^s with s = ln(b / 10000) × e / 10000. With v = |e| / 10000 and l the double logarithm:
// the double l is within rho |l| + 1.01 × 2^-52 of the true ln (as ln above), the extended one
// within rho |l| + 2^-63.9; the double s adds three roundings (e's conversion, the product, the
// division: 2^-51.4 |s|), the extended one two (2^-63 |s|). So the two exponents together lie
// within sigma = v (|l| 2^-46.9 + 2^-51.8) + |s| 2^-51.3 of the true one. For sigma <= 2^-20,
// e^(s + d) = e^s (1 + d (1 + 2^-19)), so with rho on each exp and the roundings of × 10000,
// Ed + El <= |T| (sigma + 2^-46.9) (1 + 2^-19) <= |T| rel, where rel below exceeds both terms
// nearly twice; |T| <= 2 |r|. The exponent range keeps e^s normal and far from any overflow.
bool fastPositivePowerUnits(std::uint64_t baseUnits, Fixed4 exponent,
                            std::int64_t& units) noexcept {
    if (baseUnits == 0) return false;
    const double l = std::log(static_cast<double>(baseUnits) / kUnitsPerOne);
    const double e = static_cast<double>(exponent.units());
    const double s = l * e / kUnitsPerOne;
    if (!(s >= kMinPowerScaled && s <= kMaxPowerScaled)) return false;
    const double v = std::fabs(e) / kUnitsPerOne;
    const double rel = v * (std::fabs(l) * kTwoFunctionsRelative + 0x1p-50) +
                       std::fabs(s) * 0x1p-50 + kTwoFunctionsRelative;
    if (!(rel <= kMaxPowerRelative)) return false;
    const double r = std::exp(s) * kUnitsPerOne;
    return keepIfClear(r, 2.0 * std::fabs(r) * rel + kAbsoluteSlack, units);
}

}  // namespace detail

Fixed4 extendedSineValue(Fixed4 argument) {
    return applyFunction(sine, argument);
}

Fixed4 extendedCosineValue(Fixed4 argument) {
    return applyFunction(cosine, argument);
}

Fixed4 extendedTangentValue(Fixed4 argument) {
    return applyFunction(tangent, argument);
}

Fixed4 extendedNaturalLogValue(Fixed4 argument) {
    return applyFunction(naturalLog, argument);
}

Fixed4 extendedExponentialValue(Fixed4 argument) {
    return applyFunction(exponential, argument);
}

Fixed4 extendedPositivePowerValue(std::uint64_t baseUnits, Fixed4 exponent) {
    const Extended logBase = naturalLog(static_cast<Extended>(baseUnits) / Fixed4::kUnitsPerOne);
    const Extended scaled =
        logBase * static_cast<Extended>(exponent.units()) / Fixed4::kUnitsPerOne;
    return roundUnits(toUnits(exponential(scaled)));
}

Fixed4 sineValue(Fixed4 argument) {
    std::int64_t units = 0;
    if (detail::fastSineUnits(argument, units)) return Fixed4::fromUnits(units);
    return extendedSineValue(argument);
}

Fixed4 cosineValue(Fixed4 argument) {
    std::int64_t units = 0;
    if (detail::fastCosineUnits(argument, units)) return Fixed4::fromUnits(units);
    return extendedCosineValue(argument);
}

Fixed4 tangentValue(Fixed4 argument) {
    std::int64_t units = 0;
    if (detail::fastTangentUnits(argument, units)) return Fixed4::fromUnits(units);
    return extendedTangentValue(argument);
}

Fixed4 naturalLogValue(Fixed4 argument) {
    std::int64_t units = 0;
    if (detail::fastNaturalLogUnits(argument, units)) return Fixed4::fromUnits(units);
    return extendedNaturalLogValue(argument);
}

Fixed4 exponentialValue(Fixed4 argument) {
    std::int64_t units = 0;
    if (detail::fastExponentialUnits(argument, units)) return Fixed4::fromUnits(units);
    return extendedExponentialValue(argument);
}

Fixed4 positivePowerValue(std::uint64_t baseUnits, Fixed4 exponent) {
    std::int64_t units = 0;
    if (detail::fastPositivePowerUnits(baseUnits, exponent, units)) {
        return Fixed4::fromUnits(units);
    }
    return extendedPositivePowerValue(baseUnits, exponent);
}

}  // namespace kurvilo
