// What the stand-in CorelDRAW server starts from: a drawing of pages with
// coloured rectangles, and the faults a test asks it to show. Both come from
// one small text file (README.md beside this file describes it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// CorelDRAW's unit of length: a tenth of a micrometre, 254000 to the inch.
inline constexpr std::int64_t kUnitsPerInch = 254000;

struct Colour {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const Colour& a, const Colour& b) {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

// Page coordinates, y growing downwards from the page's top-left corner.
struct Rectangle {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    Colour colour;
};

struct Page {
    std::int32_t width = 2100000;  // A4 portrait
    std::int32_t height = 2970000;
    std::vector<Rectangle> objects;  // later ones paint over earlier ones
};

// A call the server refuses: always, or only while `page` is the current page.
// The refusal is an automation exception unless `hresult` names what Invoke
// returns instead.
struct FailRule {
    std::string call;
    std::optional<std::int32_t> page;
    std::optional<std::uint32_t> hresult;
};

struct DrawingFile {
    bool documentOpen = true;
    std::vector<Page> pages;  // none: one empty A4 page
    std::optional<std::int32_t> reportedPageCount;  // what GetPageCount answers instead of the truth
    std::vector<FailRule> failures;
    std::optional<std::int32_t> exitAfterCalls;  // the server dies on the call after this many
};

std::string FormatDrawingFile(const DrawingFile& file);
// On malformed text: false, and `error` names the line and what is wrong.
bool ParseDrawingFile(std::string_view text, DrawingFile& file, std::string& error);

}  // namespace standin
