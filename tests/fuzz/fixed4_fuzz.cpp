// SPDX-License-Identifier: MIT
// libFuzzer harness for the Fixed4 parse, its text form and the integer parse. The first byte
// picks the decimal separator; the rest is the text. The parse either rejects a text with
// EConvertError or gives a value whose text form parses back to it; the UTF-8 and UTF-32 parses
// agree; the integer parse and its failure-free twin agree. Anything else is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "numbers/failures.h"
#include "numbers/fixed4.h"
#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace {

[[noreturn]] void finding(const char* what, std::string_view text) {
    std::fprintf(stderr, "finding: %s: '%.*s'\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

// The parse's outcome as one comparable value: the unit count, or failed.
struct Outcome {
    bool ok = false;
    std::int64_t units = 0;
    bool operator==(const Outcome&) const = default;
};

template <class Text>
Outcome parseOutcome(const Text& text) {
    try {
        return {true, kurvilo::parseFixed4(text).units()};
    } catch (const kurvilo::EConvertError&) {
        return {};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr char32_t kSeparators[] = {U'.', U',', U'\u066B', U'\'', U'\u00B7'};
    kurvilo::setDecimalSeparator(kSeparators[data[0] % std::size(kSeparators)]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const Outcome utf8 = parseOutcome(text);
    const Outcome utf32 = parseOutcome(std::u32string_view(kurvilo::toUtf32(text)));
    if (!(utf8 == utf32)) finding("the UTF-8 and UTF-32 parses disagree", text);
    if (utf8.ok) {
        const std::string form = kurvilo::toText(kurvilo::Fixed4::fromUnits(utf8.units));
        if (parseOutcome(std::string_view(form)) != utf8) {
            finding("a text form that does not parse back", form);
        }
    }

    std::int32_t value = 0;
    const bool parsed = kurvilo::tryParseInteger(text, value);
    try {
        const std::int32_t thrown = kurvilo::parseInteger(text);
        if (!parsed || thrown != value) finding("the integer parses disagree", text);
        if (kurvilo::parseInteger(kurvilo::integerText(thrown)) != thrown) {
            finding("an integer text that does not parse back", text);
        }
    } catch (const kurvilo::EConvertError&) {
        if (parsed) finding("the integer parses disagree", text);
    }
    (void)kurvilo::readSpinControl(text, -200);
    return 0;
}
