// SPDX-License-Identifier: MIT
#include "numbers/failures.h"

namespace kurvilo {

EConvertError EConvertError::notAFloat(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    return EConvertError(message);
}

EConvertError EConvertError::notAnInteger(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 32);
    message += '\'';
    message += text;
    message += "' is not a valid integer value";
    return EConvertError(message);
}

EFormulaTooLong::EFormulaTooLong(std::size_t limit)
    : Failure("Formula text longer than " + std::to_string(limit) + " characters") {}

}  // namespace kurvilo
