#include "Int16.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

namespace trevolo {

std::optional<std::int16_t> RoundToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; say so explicitly rather than rely on it.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> ToInt16(std::int64_t value) {
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::optional<std::int16_t> ParseInt16(std::wstring_view text, wchar_t decimalSeparator) {
    auto isSpace = [](wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);

    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    // Digits are collected as text and read with strtod so the value is the
    // double nearest to what was typed, as a locale-aware parse gives.
    std::string digits;
    std::size_t wholeDigits = 0, fractionDigits = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++wholeDigits)
        digits += static_cast<char>(text[i]);
    if (i < text.size() && text[i] == decimalSeparator) {
        digits += '.';
        for (++i; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++fractionDigits)
            digits += static_cast<char>(text[i]);
    }
    if (i != text.size() || wholeDigits + fractionDigits == 0) return std::nullopt;

    double value = std::strtod(digits.c_str(), nullptr);
    return RoundToInt16(negative ? -value : value);
}

std::wstring DecimalText(std::int64_t value) {
    return std::to_wstring(value);
}

}  // namespace trevolo
