#include <windows.h>
#include <objbase.h>

#include "DispatchDrawSession.h"
#include "DrawApplication.h"
#include "Form1.h"
#include "Win32FolderSystem.h"

namespace {

int RunProgram(HINSTANCE instance, int show) {
    trevolo::DrawApplication application;
    trevolo::DispatchDrawSession session(application);
    trevolo::Win32FolderSystem folders;
    trevolo::Form1 form(session, folders);
    if (!form.Create(instance)) return 1;
    form.Hooks().Closed = [] { PostQuitMessage(0); };
    ShowWindow(form.Handle(), show);

    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (form.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // CorelDRAW is driven from this thread only.
    if (FAILED(CoInitialize(nullptr))) return 1;
    // The window, the session and the application object are gone before COM.
    const int result = RunProgram(instance, show);
    CoUninitialize();
    return result;
}
