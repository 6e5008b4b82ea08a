// SPDX-License-Identifier: MIT
// Reading an item of a list control that the model keeps as texts. A missing item is a failure
// like any other: it ends the tick at the tick boundary.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "numbers/failures.h"

namespace kurvilo {

// "List index out of bounds (%d)"
class EStringListError : public Failure {
  public:
    explicit EStringListError(std::size_t index);
    const char* kind() const noexcept override { return "EStringListError"; }
};

// The item at index; EStringListError when the list is shorter.
const std::string& listItem(const std::vector<std::string>& items, std::size_t index);

}  // namespace kurvilo
