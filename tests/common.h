// SPDX-License-Identifier: MIT
// Shared test helpers: readable Fixed4 values in failure messages, and an expectation that a
// call fails with a named failure kind and message.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "numbers/failures.h"
#include "numbers/fixed4.h"
#include "numbers/separator.h"

namespace kurvilo {

inline void PrintTo(Fixed4 value, std::ostream* os) {
    *os << toText(value) << " (" << value.units() << " units)";
}

inline Fixed4 units(std::int64_t u) {
    return Fixed4::fromUnits(u);
}

// "ok:<text form>" or "<Kind>: <message>": one string that says what a call gave, so a table
// can hold values and failures side by side.
inline std::string outcome(const std::function<Fixed4()>& call) {
    try {
        return "ok:" + toText(call());
    } catch (const Failure& f) {
        return std::string(f.kind()) + ": " + f.what();
    }
}

#define EXPECT_FAILURE(statement, Kind)                                                         \
    do {                                                                                        \
        try {                                                                                   \
            (void)(statement);                                                                  \
            ADD_FAILURE() << #statement " gave no failure, expected " #Kind;                    \
        } catch (const ::kurvilo::Kind&) {                                                      \
        } catch (const ::kurvilo::Failure& other) {                                             \
            ADD_FAILURE() << #statement " failed with " << other.kind() << ", expected " #Kind; \
        }                                                                                       \
    } while (false)

// Restores "." as the decimal separator when a test that changed it ends.
class SeparatorGuard {
  public:
    ~SeparatorGuard() { setDecimalSeparator(U'.'); }
};

}  // namespace kurvilo
