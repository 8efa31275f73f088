#pragma once
// The log, the captions and everything the user types are UTF-16, and every
// length and position counts UTF-16 code units. char16_t keeps that true on
// Linux too, where the rules are unit-tested natively.
#include <string>
#include <string_view>

namespace rapporta {

using Text = std::u16string;
using TextView = std::u16string_view;

}  // namespace rapporta
