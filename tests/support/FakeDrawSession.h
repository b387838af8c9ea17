// Test doubles for the operations of the export folder: a DrawSession that
// records every call and fails the ones it is told to, a form whose texts are
// plain data, and a folder system in memory. Portable, for native and Wine runs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "ExportOperations.h"
#include "Int16.h"

namespace fake {

// One argument as the caller handed it; int and double stay apart, so a
// whole-number width and an unrounded one are told apart.
using CallArg = std::variant<bool, std::int32_t, double, std::wstring>;

struct DrawCall {
    std::string name;
    std::vector<CallArg> args;
    bool ok = true;  // what the fake answered

    bool operator==(const DrawCall& o) const { return name == o.name && args == o.args && ok == o.ok; }
};

inline void PrintTo(const DrawCall& call, std::ostream* os) {
    *os << call.name << '(';
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        if (i) *os << ", ";
        std::visit([os](const auto& v) { *os << testing::PrintToString(v); }, call.args[i]);
    }
    *os << ')' << (call.ok ? "" : " failed");
}

// FileExport's ten arguments in call order, as the fake records them.
inline std::vector<CallArg> ArgsOf(const trevolo::FileExportArgs& a) {
    auto dimension = [](const trevolo::ExportDimension& d) {
        return std::visit([](auto v) { return CallArg{v}; }, d);
    };
    return {a.FileName,    a.FilterId,    dimension(a.Width), dimension(a.Height), a.XResolution,
            a.YResolution, a.ImageType,   a.AntiAliasing,     a.Overwrite,         a.SelectionOnly};
}

class FakeDrawSession final : public trevolo::DrawSession {
public:
    struct Size {
        std::int32_t x = 0, y = 0;
    };

    // What the drawing answers.
    bool reachable = true;  // false: Open fails, so every call after it fails
    bool documentOpen = true;
    std::int32_t pageCount = 1;
    Size size;                                // GetSize on a page not in pageSizes
    std::map<std::int32_t, Size> pageSizes;   // GetSize per page
    // Runs after each call is recorded, before it answers: lets a test change
    // the form while the operation runs.
    std::function<void(const DrawCall&)> onCall;

    // The call fails from now on.
    void Fail(std::string name) { failing_.insert(std::move(name)); }
    // The call fails while `page` is current: the last page handed to
    // SetCurrentPage, whether that worked or not.
    void FailOnPage(std::string name, std::int32_t page) { failingOnPage_.insert({std::move(name), page}); }

    const std::vector<DrawCall>& Calls() const { return calls_; }
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const auto& c : calls_) names.push_back(c.name);
        return names;
    }
    std::size_t Count(std::string_view name) const {
        std::size_t n = 0;
        for (const auto& c : calls_) n += c.name == name;
        return n;
    }
    std::vector<DrawCall> CallsNamed(std::string_view name) const {
        std::vector<DrawCall> out;
        for (const auto& c : calls_)
            if (c.name == name) out.push_back(c);
        return out;
    }
    std::int32_t CurrentPage() const { return currentPage_; }

    bool Open() override {
        open_ = reachable;
        return Record("Open", {}, reachable);
    }
    void Close() override {
        open_ = false;
        Record("Close", {}, true);
    }
    bool IsOpen() const override { return open_; }

    bool IsDocument(bool& answer) override {
        if (!Answer("IsDocument", {})) return false;
        answer = documentOpen;
        return true;
    }
    bool FileNew() override {
        if (!Answer("FileNew", {})) return false;
        documentOpen = true;
        return true;
    }
    bool SetDocVisible(bool show) override { return Answer("SetDocVisible", {show}); }
    bool SetVisible(bool visible) override { return Answer("SetVisible", {visible}); }
    bool ZoomToPage() override { return Answer("ZoomToPage", {}); }
    bool GetPageCount(std::int32_t& count) override {
        if (!Answer("GetPageCount", {})) return false;
        count = pageCount;
        return true;
    }
    bool SetCurrentPage(std::int32_t page) override {
        currentPage_ = page;
        return Answer("SetCurrentPage", {page});
    }
    bool SelectAllObjects() override { return Answer("SelectAllObjects", {}); }
    bool GetSize(std::int32_t& xSize, std::int32_t& ySize) override {
        if (!Answer("GetSize", {})) return false;
        const auto it = pageSizes.find(currentPage_);
        const Size s = it == pageSizes.end() ? size : it->second;
        xSize = s.x;
        ySize = s.y;
        return true;
    }
    bool FileExport(const trevolo::FileExportArgs& args) override { return Answer("FileExport", ArgsOf(args)); }

private:
    bool Answer(std::string name, std::vector<CallArg> args) {
        const bool ok = open_ && !failing_.count(name) && !failingOnPage_.count({name, currentPage_});
        return Record(std::move(name), std::move(args), ok);
    }
    bool Record(std::string name, std::vector<CallArg> args, bool ok) {
        calls_.push_back({std::move(name), std::move(args), ok});
        if (onCall) onCall(calls_.back());
        return ok;
    }

    bool open_ = false;
    std::int32_t currentPage_ = 1;
    std::set<std::string> failing_;
    std::set<std::pair<std::string, std::int32_t>> failingOnPage_;
    std::vector<DrawCall> calls_;
};

class FakeFormControls final : public trevolo::FormControls {
public:
    using ControlId = trevolo::ControlId;

    // The window's initial texts; nothing chosen in the lists.
    std::map<ControlId, std::wstring> texts{
        {ControlId::Text1, L"1"},
        {ControlId::Text2, L"批量输出\\"},
        {ControlId::Text3, L"1"},
        {ControlId::Text4, L"1"},
        {ControlId::Combo1, L"TIF 类型文件"},
        {ControlId::Combo2, L"CMYK 色彩(32位元)"},
        {ControlId::Combo3, L"1：1 原样"},
        {ControlId::Combo4, L"300 dpi"},
    };
    std::map<ControlId, int> listIndexes;
    // Raised by SetText when the text changes, as the window raises Change.
    std::function<void(ControlId)> onChange;
    std::vector<ControlId> changes;  // every Change raised, in order

    std::wstring Text(ControlId id) const override {
        const auto it = texts.find(id);
        return it == texts.end() ? std::wstring() : it->second;
    }
    void SetText(ControlId id, const std::wstring& text) override {
        std::wstring& current = texts[id];
        if (current == text) return;
        current = text;
        changes.push_back(id);
        if (onChange) onChange(id);
    }
    int ListIndex(ControlId id) const override {
        const auto it = listIndexes.find(id);
        return it == listIndexes.end() ? -1 : it->second;
    }
};

// The window's Change handling of Text3 and Text4: the page range follows the
// text when it is a 16-bit number, and keeps its value otherwise.
inline void FollowRangeTexts(FakeFormControls& form, trevolo::ExportSettings& settings) {
    form.onChange = [&form, &settings](trevolo::ControlId id) {
        std::int16_t* field = id == trevolo::ControlId::Text3   ? &settings.StartPage
                              : id == trevolo::ControlId::Text4 ? &settings.EndPage
                                                                : nullptr;
        if (!field) return;
        if (const auto value = trevolo::ParseInt16(form.Text(id), L'.')) *field = *value;
    };
}

struct FolderCall {
    std::string name;  // "Exists" or "CreateFolder"
    std::wstring path;
    bool operator==(const FolderCall& o) const { return name == o.name && path == o.path; }
};

inline void PrintTo(const FolderCall& call, std::ostream* os) {
    *os << call.name << '(' << testing::PrintToString(call.path) << ')';
}

class FakeFolderSystem final : public trevolo::FolderSystem {
public:
    std::set<std::wstring> existing;  // paths Exists answers true for, exactly as written
    bool creationFails = false;
    std::function<void()> afterExists;  // e.g. to change Text2 between test and creation
    std::vector<FolderCall> calls;

    bool Exists(const std::wstring& path) override {
        calls.push_back({"Exists", path});
        const bool found = existing.count(path) != 0;
        if (afterExists) afterExists();
        return found;
    }
    bool CreateFolder(const std::wstring& path) override {
        calls.push_back({"CreateFolder", path});
        if (creationFails || existing.count(path)) return false;
        existing.insert(path);
        return true;
    }
};

}  // namespace fake
