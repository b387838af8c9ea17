// Text across byte-oriented boundaries: the system's ANSI code page (936, GBK,
// on the Chinese Windows this program is for) for the registry, UTF-8 for our
// own text files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win {

inline std::string ToCodePage(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

inline std::string ToAnsi(std::wstring_view text) { return ToCodePage(CP_ACP, text); }
inline std::wstring FromAnsi(std::string_view bytes) { return FromCodePage(CP_ACP, bytes); }
inline std::string ToUtf8(std::wstring_view text) { return ToCodePage(CP_UTF8, text); }
inline std::wstring FromUtf8(std::string_view bytes) { return FromCodePage(CP_UTF8, bytes); }

}  // namespace win
