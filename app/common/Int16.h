// The window keeps every value as a 16-bit signed integer. Conversions into it
// round halves to the even neighbour; a value that does not fit fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trevolo {

std::optional<std::int16_t> RoundToInt16(double value);
std::optional<std::int16_t> ToInt16(std::int64_t value);

// The whole text as a number in the user's locale: surrounding spaces
// allowed, `decimalSeparator` between the whole and the fractional part.
std::optional<std::int16_t> ParseInt16(std::wstring_view text, wchar_t decimalSeparator);

// Plain decimal: no leading spaces or zeros, a minus sign when negative.
std::wstring DecimalText(std::int64_t value);

}  // namespace trevolo
