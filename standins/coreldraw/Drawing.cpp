#include "Drawing.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace standin {
namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T>
bool ParseNumber(std::string_view word, T& value, int base = 10) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    return ec == std::errc() && ptr == end;
}

bool ParseHex(std::string_view word, std::uint32_t& value) {
    if (word.size() < 3 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X')) return false;
    return ParseNumber(word.substr(2), value, 16);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseColour(std::string_view word, Colour& colour) {
    if (word.size() != 7 || word[0] != '#') return false;
    std::uint8_t parts[3];
    for (int i = 0; i < 3; ++i) {
        int hi = HexDigit(word[1 + 2 * i]), lo = HexDigit(word[2 + 2 * i]);
        if (hi < 0 || lo < 0) return false;
        parts[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    colour = {parts[0], parts[1], parts[2]};
    return true;
}

bool FitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

// One directive; `error` says what is wrong with it.
bool ParseLine(const std::vector<std::string_view>& w, DrawingFile& file, std::string& error) {
    const std::string_view key = w[0];
    const std::size_t n = w.size();
    if (key == "nodocument" && n == 1) {
        file.documentOpen = false;
        return true;
    }
    if (key == "pagecount" && n == 2) {
        std::int32_t count;
        if (!ParseNumber(w[1], count)) return error = "page count is not a 32-bit number", false;
        file.reportedPageCount = count;
        return true;
    }
    if (key == "exitafter" && n == 2) {
        std::int32_t calls;
        if (!ParseNumber(w[1], calls) || calls < 0) return error = "call count is not a number of 0 or more", false;
        file.exitAfterCalls = calls;
        return true;
    }
    if (key == "fail" && (n == 2 || n == 4 || n == 6)) {
        FailRule rule;
        rule.call = std::string(w[1]);
        for (std::size_t i = 2; i < n; i += 2) {
            if (w[i] == "page" && !rule.page) {
                std::int32_t page;
                if (!ParseNumber(w[i + 1], page)) return error = "page is not a 32-bit number", false;
                rule.page = page;
            } else if (w[i] == "hresult" && !rule.hresult) {
                std::uint32_t hr;
                if (!ParseHex(w[i + 1], hr)) return error = "hresult is not 0x followed by hex digits", false;
                rule.hresult = hr;
            } else {
                return error = "expected: fail <call> [page <n>] [hresult 0x<hex>]", false;
            }
        }
        file.failures.push_back(rule);
        return true;
    }
    if (key == "page" && (n == 1 || n == 3)) {
        Page page;
        if (n == 3 && (!ParseNumber(w[1], page.width) || !ParseNumber(w[2], page.height) || page.width <= 0 ||
                       page.height <= 0))
            return error = "page width and height must be positive 32-bit numbers", false;
        file.pages.push_back(page);
        return true;
    }
    if (key == "rect" && n == 6) {
        if (file.pages.empty()) return error = "rect before the first page", false;
        Rectangle r;
        if (!ParseNumber(w[1], r.left) || !ParseNumber(w[2], r.top) || !ParseNumber(w[3], r.width) ||
            !ParseNumber(w[4], r.height))
            return error = "rect position and size must be 32-bit numbers", false;
        if (r.width < 0 || r.height < 0) return error = "rect width and height must not be negative", false;
        if (!FitsInt32(std::int64_t{r.left} + r.width) || !FitsInt32(std::int64_t{r.top} + r.height))
            return error = "rect reaches beyond the 32-bit coordinate range", false;
        if (!ParseColour(w[5], r.colour)) return error = "colour must be #RRGGBB", false;
        file.pages.back().objects.push_back(r);
        return true;
    }
    error = "unknown directive or wrong number of words";
    return false;
}

}  // namespace

std::string FormatDrawingFile(const DrawingFile& file) {
    std::string out = "# CorelDRAW stand-in drawing\n";
    char buf[160];
    if (!file.documentOpen) out += "nodocument\n";
    if (file.reportedPageCount) out += "pagecount " + std::to_string(*file.reportedPageCount) + "\n";
    if (file.exitAfterCalls) out += "exitafter " + std::to_string(*file.exitAfterCalls) + "\n";
    for (const FailRule& rule : file.failures) {
        out += "fail " + rule.call;
        if (rule.page) out += " page " + std::to_string(*rule.page);
        if (rule.hresult) {
            std::snprintf(buf, sizeof buf, " hresult 0x%08X", static_cast<unsigned>(*rule.hresult));
            out += buf;
        }
        out += "\n";
    }
    for (const Page& page : file.pages) {
        out += "page " + std::to_string(page.width) + " " + std::to_string(page.height) + "\n";
        for (const Rectangle& r : page.objects) {
            std::snprintf(buf, sizeof buf, "rect %ld %ld %ld %ld #%02X%02X%02X\n", static_cast<long>(r.left),
                          static_cast<long>(r.top), static_cast<long>(r.width), static_cast<long>(r.height),
                          r.colour.red, r.colour.green, r.colour.blue);
            out += buf;
        }
    }
    return out;
}

bool ParseDrawingFile(std::string_view text, DrawingFile& file, std::string& error) {
    DrawingFile parsed;
    int number = 0;
    // A byte-order mark from an editor is not part of the first directive.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        ++number;
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        auto words = Words(line.substr(0, line.find('\r')));
        // A word starting with '#' begins a comment, except a rect's colour.
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i][0] == '#' && !(i == 5 && words[0] == "rect")) {
                words.resize(i);
                break;
            }
        }
        if (words.empty()) continue;
        std::string why;
        if (!ParseLine(words, parsed, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    file = std::move(parsed);
    return true;
}

}  // namespace standin
