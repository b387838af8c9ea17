// CorelDrawStandin.exe: "/regserver" and "/unregserver" (or with "-") manage
// its registration; otherwise (COM starts it with "-Embedding") it serves one
// client, as CorelDRAW's own local server does, and ends when that client has
// released everything or has died.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "Application.h"
#include "Registration.h"
#include "Server.h"
#include "com/ComObject.h"
#include "coreldraw.h"
#include "win/UniqueHandle.h"

namespace {

DWORD g_mainThread = 0;

enum class Command { Serve, Register, Unregister };

Command ParseCommand() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Command command = Command::Serve;
    for (int i = 1; argv && i < argc; ++i) {
        const wchar_t* arg = argv[i];
        if (*arg != L'/' && *arg != L'-') continue;
        if (CompareStringOrdinal(arg + 1, -1, L"regserver", -1, TRUE) == CSTR_EQUAL) command = Command::Register;
        if (CompareStringOrdinal(arg + 1, -1, L"unregserver", -1, TRUE) == CSTR_EQUAL) command = Command::Unregister;
    }
    LocalFree(argv);
    return command;
}

// The process that started this one. Under Wine that is the COM client
// itself, whose death nothing else reports: a dead client's references are
// never released. (Under Windows it is the DCOM launcher, which stays.)
// Null when it cannot be found; `gone` when it has already ended.
win::UniqueKernelHandle OpenParent(bool& gone) {
    gone = false;
    win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return {};
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD parentId = 0;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == GetCurrentProcessId()) parentId = entry.th32ParentProcessID;
    if (!parentId) return {};
    win::UniqueKernelHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parentId));
    FILETIME parentStart, ourStart, unused;
    if (!parent) {
        gone = GetLastError() == ERROR_INVALID_PARAMETER;  // no process has that id any more
        return {};
    }
    // A parent that started after us is a later process that got the id.
    if (GetProcessTimes(parent.get(), &parentStart, &unused, &unused, &unused) &&
        GetProcessTimes(GetCurrentProcess(), &ourStart, &unused, &unused, &unused) &&
        CompareFileTime(&parentStart, &ourStart) > 0) {
        gone = true;
        return {};
    }
    return parent;
}

// Runs until the last object is released (WM_QUIT) or the parent ends.
void RunMessageLoop(HANDLE parent) {
    for (;;) {
        DWORD waited = MsgWaitForMultipleObjectsEx(parent ? 1 : 0, parent ? &parent : nullptr, INFINITE, QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
        if (parent && waited == WAIT_OBJECT_0) return;
        if (waited == WAIT_FAILED) return;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int Serve() {
    bool parentGone = false;
    win::UniqueKernelHandle parent = OpenParent(parentGone);
    if (parentGone) return 0;
    standin::Server::Get().Load();

    g_mainThread = GetCurrentThreadId();
    com::Module::SetOnIdle([] { PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0); });
    auto* factory = com::ClassFactory<standin::Application>::NewRegistered();
    if (!factory) return 1;
    // One client per process, as each test wants a fresh server.
    DWORD cookie = 0;
    HRESULT hr = CoRegisterClassObject(CLSID_Application, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
    if (SUCCEEDED(hr)) {
        RunMessageLoop(parent.get());
        CoRevokeClassObject(cookie);
    }
    factory->Release();
    return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const Command command = ParseCommand();
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int rc;
    switch (command) {
        case Command::Register: rc = SUCCEEDED(standin::RegisterServer()) ? 0 : 1; break;
        case Command::Unregister: rc = SUCCEEDED(standin::UnregisterServer()) ? 0 : 1; break;
        default:
            rc = Serve();
            standin::Server::Get().ReleaseTypeInfo();
            break;
    }
    CoUninitialize();
    return rc;
}
