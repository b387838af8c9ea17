// Presses Trevolo's buttons from outside, as a user would click them, for the
// demo run: `DemoDriver pagecount export close` presses "重新获取当前总页码数",
// then "开始批量输出", then closes the window.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kCaption[] = L"Pagora(免费)";

struct Action {
    const wchar_t* name;
    const wchar_t* button;  // nullptr: close the window
};
constexpr Action kActions[] = {
    {L"pagecount", L"重新获取当前总页码数"},
    {L"export", L"开始批量输出"},
    {L"close", nullptr},
};

HWND WaitForWindow() {
    for (int i = 0; i < 300; ++i) {
        if (HWND w = FindWindowW(nullptr, kCaption)) return w;
        Sleep(100);
    }
    return nullptr;
}

struct ButtonSearch {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND child, LPARAM p) {
    auto* search = reinterpret_cast<ButtonSearch*>(p);
    wchar_t text[128] = {};
    GetWindowTextW(child, text, 128);
    if (wcscmp(text, search->caption) != 0) return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindButton(HWND top, const wchar_t* caption) {
    ButtonSearch search{caption, nullptr};
    EnumChildWindows(top, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HWND top = WaitForWindow();
    if (!top) {
        std::fprintf(stderr, "Trevolo's window did not appear\n");
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        const Action* action = nullptr;
        for (const Action& a : kActions)
            if (wcscmp(argv[i], a.name) == 0) action = &a;
        if (!action) {
            std::fprintf(stderr, "unknown action %ls\n", argv[i]);
            return 2;
        }
        if (!action->button) {
            PostMessageW(top, WM_CLOSE, 0, 0);
            continue;
        }
        HWND button = FindButton(top, action->button);
        DWORD_PTR ignored = 0;
        // The click returns when the operation behind it has run to its end.
        if (!button || !SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 600000, &ignored)) {
            std::fprintf(stderr, "could not press %ls\n", argv[i]);
            return 1;
        }
        std::printf("pressed %ls\n", argv[i]);
    }
    return 0;
}
