// The window's lists and page fields turned into ExportSettings: what the
// Click of Combo1 to Combo4 and the Change of Text3 and Text4 do.
#pragma once

#include <cstdint>
#include <string_view>

#include "DrawSession.h"
#include "ExportSettings.h"

namespace trevolo {

void ChooseExportFilter(int index, ExportSettings& settings);  // Combo1
void ChooseImageType(int index, ExportSettings& settings);     // Combo2
void ChooseResolution(int index, ExportSettings& settings);    // Combo4

// Which step of the size reading failed; every step after it was left out.
enum class SizeReadingFailure { None, Unreachable, NoSelection, NoSize, WidthTooLarge, HeightTooLarge };

// Combo3. Index 0 measures the selection of CorelDRAW's current page and
// stops at the first step that fails; the session is closed only when the
// reading got that far.
SizeReadingFailure ChooseExportSize(int index, DrawSession& session, ExportSettings& settings);

// What the user is told about a failed size reading.
std::wstring_view SizeReadingMessage(SizeReadingFailure failure);

// Text3 and Text4: the whole text as a page number; a text that is no
// number or does not fit leaves the field as it was.
void TakePageNumber(std::wstring_view text, wchar_t decimalSeparator, std::int16_t& field);

}  // namespace trevolo
