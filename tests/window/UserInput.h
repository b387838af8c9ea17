// The user's mouse and keyboard for window tests: input goes in through
// SendInput, as a real user's does, and the thread's messages are pumped
// until the window has taken it in.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace input {

// Runs the thread's message loop, with `filter` seeing each message first as
// the program's loop lets its window do, until nothing is waiting.
void Pump(const std::function<bool(MSG&)>& filter);
// Pumps until `done` holds; false when it did not within a few seconds.
bool PumpUntil(const std::function<bool(MSG&)>& filter, const std::function<bool()>& done);

// A left click at a point of `hwnd`'s client area.
void Click(HWND hwnd, POINT client);
void ClickCentre(HWND hwnd, const RECT& clientRect);
// One key pressed and released, with Shift held when `shift`.
void Press(WORD vk, bool shift = false);
// Each character typed as its own keystroke.
void Type(std::wstring_view text);

}  // namespace input
