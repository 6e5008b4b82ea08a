// SPDX-License-Identifier: MIT
#include "sim/list_items.h"

namespace kurvilo {

EStringListError::EStringListError(std::size_t index)
    : Failure("List index out of bounds (" + std::to_string(index) + ")") {}

const std::string& listItem(const std::vector<std::string>& items, std::size_t index) {
    if (index >= items.size()) throw EStringListError(index);
    return items[index];
}

}  // namespace kurvilo
