#include "Journal.h"

#include <charconv>
#include <cstdio>
#include <cwchar>

#include "StandinFiles.h"
#include "win/Ansi.h"
#include "win/UniqueHandle.h"

namespace standin {
namespace {

struct NamedType {
    VARTYPE vt;
    const wchar_t* name;
};
constexpr NamedType kTypes[] = {
    {VT_EMPTY, L"VT_EMPTY"}, {VT_NULL, L"VT_NULL"},         {VT_I2, L"VT_I2"},           {VT_I4, L"VT_I4"},
    {VT_R4, L"VT_R4"},       {VT_R8, L"VT_R8"},             {VT_CY, L"VT_CY"},           {VT_DATE, L"VT_DATE"},
    {VT_BSTR, L"VT_BSTR"},   {VT_DISPATCH, L"VT_DISPATCH"}, {VT_ERROR, L"VT_ERROR"},     {VT_BOOL, L"VT_BOOL"},
    {VT_VARIANT, L"VT_VARIANT"}, {VT_UNKNOWN, L"VT_UNKNOWN"}, {VT_DECIMAL, L"VT_DECIMAL"}, {VT_I1, L"VT_I1"},
    {VT_UI1, L"VT_UI1"},     {VT_UI2, L"VT_UI2"},           {VT_UI4, L"VT_UI4"},         {VT_I8, L"VT_I8"},
    {VT_UI8, L"VT_UI8"},     {VT_INT, L"VT_INT"},           {VT_UINT, L"VT_UINT"},
};
constexpr std::wstring_view kByRef = L"VT_BYREF|";
constexpr std::wstring_view kArray = L"VT_ARRAY|";

template <typename T>
std::wstring Number(T value) {
    char buf[64];
    auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::wstring(buf, end);
}

std::wstring Hex32(std::uint32_t value) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"0x%08X", static_cast<unsigned>(value));
    return buf;
}

// CY, DATE and DECIMAL as the invariant locale writes them.
std::wstring AsText(const VARIANT& v) {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&v), LOCALE_INVARIANT, 0, VT_BSTR))) return L"?";
    std::wstring out(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
    VariantClear(&text);
    return out;
}

std::wstring ValueText(const VARIANT& v) {
    const VARTYPE vt = V_VT(&v);
    if (vt & VT_ARRAY) return L"array";
    const bool ref = vt & VT_BYREF;
    if (ref && !V_BYREF(&v)) return L"null";
    switch (vt & ~VT_BYREF) {
        case VT_EMPTY:
        case VT_NULL: return {};
        case VT_I1: return Number(int(ref ? *V_I1REF(&v) : V_I1(&v)));
        case VT_UI1: return Number(unsigned(ref ? *V_UI1REF(&v) : V_UI1(&v)));
        case VT_I2: return Number(ref ? *V_I2REF(&v) : V_I2(&v));
        case VT_UI2: return Number(ref ? *V_UI2REF(&v) : V_UI2(&v));
        case VT_I4: return Number(ref ? *V_I4REF(&v) : V_I4(&v));
        case VT_UI4: return Number(ref ? *V_UI4REF(&v) : V_UI4(&v));
        case VT_INT: return Number(ref ? *V_INTREF(&v) : V_INT(&v));
        case VT_UINT: return Number(ref ? *V_UINTREF(&v) : V_UINT(&v));
        case VT_I8: return Number(ref ? *V_I8REF(&v) : V_I8(&v));
        case VT_UI8: return Number(ref ? *V_UI8REF(&v) : V_UI8(&v));
        case VT_R4: return Number(ref ? *V_R4REF(&v) : V_R4(&v));
        case VT_R8: return Number(ref ? *V_R8REF(&v) : V_R8(&v));
        case VT_BOOL: return Number(int(ref ? *V_BOOLREF(&v) : V_BOOL(&v)));
        case VT_ERROR: return Hex32(std::uint32_t(ref ? *V_ERRORREF(&v) : V_ERROR(&v)));
        case VT_BSTR: {
            BSTR s = ref ? *V_BSTRREF(&v) : V_BSTR(&v);
            return s ? std::wstring(s, SysStringLen(s)) : std::wstring();
        }
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            IUnknown* p = ref ? *V_UNKNOWNREF(&v) : V_UNKNOWN(&v);
            return p ? L"object" : L"null";
        }
        case VT_VARIANT: {
            // The inner variant's type and value. A variant cannot hold one by
            // value, so such a type is nonsense whose pointer must not be read.
            if (!ref) return L"?";
            JournalArg inner = DescribeArgument(*V_VARIANTREF(&v));
            return VarTypeText(inner.vt) + L":" + inner.value;
        }
        case VT_CY:
        case VT_DATE:
        case VT_DECIMAL: return AsText(v);
        default: return L"?";
    }
}

std::string Escape(std::wstring_view text) {
    std::string out;
    for (char c : win::ToUtf8(text)) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

std::wstring Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return win::FromUtf8(out);
}

}  // namespace

std::wstring VarTypeText(VARTYPE vt) {
    std::wstring out;
    if (vt & VT_BYREF) out += kByRef;
    if (vt & VT_ARRAY) out += kArray;
    const VARTYPE base = vt & ~(VT_BYREF | VT_ARRAY);
    for (const NamedType& t : kTypes)
        if (t.vt == base) return out + t.name;
    wchar_t buf[8];
    std::swprintf(buf, 8, L"0x%04X", unsigned(base));
    return out + buf;
}

std::optional<VARTYPE> VarTypeFromText(std::wstring_view text) {
    VARTYPE flags = 0;
    if (text.substr(0, kByRef.size()) == kByRef) {
        flags |= VT_BYREF;
        text.remove_prefix(kByRef.size());
    }
    if (text.substr(0, kArray.size()) == kArray) {
        flags |= VT_ARRAY;
        text.remove_prefix(kArray.size());
    }
    for (const NamedType& t : kTypes)
        if (text == t.name) return VARTYPE(flags | t.vt);
    if (text.size() == 6 && text.substr(0, 2) == L"0x") {
        std::string digits(text.begin() + 2, text.end());
        unsigned value = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + 4, value, 16);
        if (ec == std::errc() && ptr == digits.data() + 4) return VARTYPE(flags | value);
    }
    return std::nullopt;
}

JournalArg DescribeArgument(const VARIANT& v) {
    return {V_VT(&v), ValueText(v)};
}

std::string FormatJournalLine(const JournalEntry& e) {
    std::string line = std::to_string(e.processId) + "\t" + Escape(e.call) + "\t" +
                       win::ToUtf8(Hex32(std::uint32_t(e.hr))) + "\t" + Escape(e.result);
    for (const JournalArg& a : e.args) line += "\t" + win::ToUtf8(VarTypeText(a.vt)) + ":" + Escape(a.value);
    return line;
}

std::optional<JournalEntry> ParseJournalLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    if (fields.size() < 4) return std::nullopt;
    JournalEntry e;
    auto [pidEnd, pidError] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), e.processId);
    if (pidError != std::errc() || pidEnd != fields[0].data() + fields[0].size()) return std::nullopt;
    e.call = Unescape(fields[1]);
    std::string_view hr = fields[2];
    std::uint32_t code = 0;
    if (hr.size() != 10 || hr.substr(0, 2) != "0x") return std::nullopt;
    auto [hrEnd, hrError] = std::from_chars(hr.data() + 2, hr.data() + hr.size(), code, 16);
    if (hrError != std::errc() || hrEnd != hr.data() + hr.size()) return std::nullopt;
    e.hr = HRESULT(code);
    e.result = Unescape(fields[3]);
    for (std::size_t i = 4; i < fields.size(); ++i) {
        std::size_t colon = fields[i].find(':');
        if (colon == std::string_view::npos) return std::nullopt;
        auto vt = VarTypeFromText(win::FromUtf8(fields[i].substr(0, colon)));
        if (!vt) return std::nullopt;
        e.args.push_back({*vt, Unescape(fields[i].substr(colon + 1))});
    }
    return e;
}

bool AppendToJournal(const JournalEntry& entry) {
    CreateDirectoryW(kStandinFolder, nullptr);
    win::UniqueFile file(CreateFileW(kJournalPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    JournalEntry stamped = entry;
    stamped.processId = GetCurrentProcessId();
    const std::string line = FormatJournalLine(stamped) + "\n";
    DWORD written = 0;
    return WriteFile(file.get(), line.data(), DWORD(line.size()), &written, nullptr) && written == line.size();
}

}  // namespace standin
