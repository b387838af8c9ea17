// Form1's controls as a table: one row per control, in tab order, with its
// place in twips relative to its container, caption and looks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FormControls.h"

namespace trevolo {

enum class ControlKind { Frame, Button, TextBox, Label, ListWithText };

struct Rgb {
    std::uint8_t Red, Green, Blue;
};
inline constexpr Rgb kBeige{236, 233, 216};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kDarkBlue{0, 0, 192};

// Every font of the window is in the GB2312 character set.
struct FontStyle {
    std::wstring_view Face;
    int TenthsOfPoint;
    bool Bold;
};
inline constexpr FontStyle kDefaultFont{L"宋体", 90, false};

struct ControlLook {
    std::optional<Rgb> Text;        // none: the system's colour
    std::optional<Rgb> Background;  // none: the system's colour, or the container's when transparent
    FontStyle Font = kDefaultFont;
    bool Transparent = false;
    bool SizesToCaption = false;
};

struct ControlRow {
    ControlId Id;
    std::wstring_view Name;
    ControlKind Kind;
    std::optional<ControlId> Container;  // none: the window itself
    int Left, Top, Width, Height;        // twips
    std::wstring Caption;
    ControlLook Look;
    int Tab;
};

inline constexpr int kClientWidthTwips = 3570;
inline constexpr int kClientHeightTwips = 4965;
inline constexpr unsigned kTimer1IntervalMs = 500;
inline constexpr std::wstring_view kFormCaption = L"Pagora(免费)";
inline constexpr Rgb kFormBackground = kBeige;

const std::vector<ControlRow>& ControlTable();
const ControlRow& RowOf(ControlId id);

// The entries of a list, in list order; empty for any other control.
std::vector<std::wstring_view> ListEntriesOf(ControlId id);

// The banner's caption: the maker's name followed directly by the web address.
std::wstring BannerCaption();

// Twips to pixels at the screen's dots per inch, to the nearest pixel.
int TwipsToPixels(int twips, int dotsPerInch);
// A font's height in pixels at the screen's dots per inch (positive).
int PointsToPixels(int tenthsOfPoint, int dotsPerInch);

}  // namespace trevolo
