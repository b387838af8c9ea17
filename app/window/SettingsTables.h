// What each entry of the window's four lists stands for. A list's index is
// the entry's position; an index outside its table stands for nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace trevolo {

template <typename Value>
struct ListEntry {
    std::wstring_view Text;
    Value Setting;
};

// An output size of Combo3: fixed, or measured from the drawing.
struct ExportSize {
    bool Measured = false;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
};

const std::vector<ListEntry<std::int16_t>>& ExportFilterEntries();  // Combo1
const std::vector<ListEntry<std::int16_t>>& ImageTypeEntries();     // Combo2
const std::vector<ListEntry<ExportSize>>& ExportSizeEntries();      // Combo3
const std::vector<ListEntry<std::int16_t>>& ResolutionEntries();    // Combo4

template <typename Value>
std::optional<Value> SettingAt(const std::vector<ListEntry<Value>>& entries, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return std::nullopt;
    return entries[static_cast<std::size_t>(index)].Setting;
}

}  // namespace trevolo
