// CorelDRAW's main window, as far as a script can see it: a top-level window
// titled "CorelDRAW 9 - <drawing>" that shows the current page while the
// application is visible.
#pragma once

#include <windows.h>

#include <string>

#include "DrawServer.h"
#include "win/UniqueHandle.h"

namespace standin {

class DocumentWindow {
public:
    // Brings the window in line with the server after a call: created when
    // first shown, then its title, its visibility and a repaint.
    void Update(const DrawServer& server);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Paint(HWND hwnd);

    win::UniqueWindow hwnd_;
    const DrawServer* server_ = nullptr;
    std::wstring title_;
    const Page* paintedPage_ = nullptr;  // null: no page shown
};

}  // namespace standin
