#include "UserInput.h"

#include <vector>

namespace input {
namespace {

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT Mouse(DWORD flags, POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

}  // namespace

void Pump(const std::function<bool(MSG&)>& filter) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (filter && filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool(MSG&)>& filter, const std::function<bool()>& done) {
    const ULONGLONG until = GetTickCount64() + 5000;
    for (;;) {
        Pump(filter);
        if (done()) return true;
        if (GetTickCount64() > until) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Click(HWND hwnd, POINT client) {
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    Send({Mouse(MOUSEEVENTF_MOVE, screen), Mouse(MOUSEEVENTF_LEFTDOWN, screen), Mouse(MOUSEEVENTF_LEFTUP, screen)});
}

void ClickCentre(HWND hwnd, const RECT& r) {
    Click(hwnd, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Press(WORD vk, bool shift) {
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    inputs.push_back(Key(vk, false));
    inputs.push_back(Key(vk, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    Send(inputs);
}

void Type(std::wstring_view text) {
    for (wchar_t c : text) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = c;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        Send({down, up});
    }
}

}  // namespace input
