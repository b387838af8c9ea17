// Form1 as the program runs it: the real CorelDRAW binding over the
// stand-in server in its own process, and the real disk of the Wine prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "DrawApplication.h"
#include "Form1Fixture.h"
#include "StandinControl.h"
#include "TestFiles.h"
#include "Win32FolderSystem.h"

namespace e2e {

using trevolo::ControlId;

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

// The program's parts, in the order Main creates them.
struct RealParts {
    ComApartment com;
    trevolo::DrawApplication app;
    trevolo::DispatchDrawSession session{app};
    trevolo::Win32FolderSystem folders;
};

inline bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using testfiles::ListFolder;
using testfiles::ReadBytes;

inline void RemoveFolder(const std::wstring& folder) {
    for (const auto& name : ListFolder(folder)) DeleteFileW((folder + L"\\" + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

// Pages of one rectangle each, `width` x `height` in CorelDRAW's unit.
inline standin::DrawingFile Pages(int count, std::int32_t width = 1000000, std::int32_t height = 500000) {
    standin::DrawingFile drawing;
    drawing.pages.resize(count);
    for (auto& page : drawing.pages) page.objects.push_back({0, 0, width, height, {200, 30, 30}});
    return drawing;
}

inline std::vector<standin::JournalEntry> CallsNamed(const std::wstring& name) {
    std::vector<standin::JournalEntry> calls;
    for (auto& e : standin::ReadJournal())
        if (e.call == name) calls.push_back(e);
    return calls;
}

class EndToEnd : public windowtest::Form1Driver<RealParts> {
protected:
    static constexpr wchar_t kDefaultFolder[] = L"C:\\批量输出";

    void SetUp() override {
        ASSERT_TRUE(standin::WaitForServerExit()) << "a server of an earlier test is still running";
        RemoveFolder(kDefaultFolder);
        windowtest::Form1Driver<RealParts>::SetUp();
        // The program keeps its window above CorelDRAW's, which the server
        // shows on SetVisible; the user's clicks must keep reaching it.
        SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

    // The server starts with the first operation that needs CorelDRAW.
    void Serve(const standin::DrawingFile& drawing) { ASSERT_TRUE(standin::PrepareServer(drawing)); }
};

}  // namespace e2e
