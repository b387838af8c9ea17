#include "DocumentWindow.h"

#include <algorithm>
#include <vector>

#include "Raster.h"
#include "win/Ansi.h"

namespace standin {
namespace {

constexpr wchar_t kClassName[] = L"CorelDrawStandinWindow";
constexpr int kMargin = 16;

}  // namespace

void DocumentWindow::Update(const DrawServer& server) {
    server_ = &server;
    if (!hwnd_ && !server.Visible()) return;
    if (!hwnd_) {
        static const ATOM windowClass = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &DocumentWindow::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
            wc.lpszClassName = kClassName;
            return RegisterClassExW(&wc);
        }();
        if (!windowClass) return;
        title_ = win::FromUtf8(server.Title());
        hwnd_.reset(CreateWindowExW(0, kClassName, title_.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), this));
        if (!hwnd_) return;
    }
    bool repaint = false;
    if (std::wstring title = win::FromUtf8(server.Title()); title != title_) {
        title_ = title;
        SetWindowTextW(hwnd_.get(), title_.c_str());
        repaint = true;  // another drawing
    }
    // Asked of the window itself: closing it hides it behind the script's back.
    if (server.Visible() != (IsWindowVisible(hwnd_.get()) != FALSE))
        ShowWindow(hwnd_.get(), server.Visible() ? SW_SHOWNORMAL : SW_HIDE);
    // Most calls change nothing on screen; a batch export makes thousands.
    const Page* page = server.DocumentVisible() ? server.CurrentPage() : nullptr;
    if (repaint || page != paintedPage_) {
        paintedPage_ = page;
        InvalidateRect(hwnd_.get(), nullptr, FALSE);
    }
}

LRESULT CALLBACK DocumentWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DocumentWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers the whole client area
        case WM_PAINT:
            if (self) {
                try {
                    self->Paint(hwnd);
                } catch (...) {
                    // No memory for the page's pixels: the page is left undrawn.
                }
                return 0;
            }
            break;
        case WM_CLOSE:
            // Only a script ends this application; closing the window hides it.
            ShowWindow(hwnd, SW_HIDE);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void DocumentWindow::Paint(HWND hwnd) {
    win::PaintDC paint(hwnd);
    const HDC dc = paint.get();
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    const Page* page = server_ && server_->DocumentVisible() ? server_->CurrentPage() : nullptr;
    const int availableWidth = client.right - 2 * kMargin, availableHeight = client.bottom - 2 * kMargin;
    if (page && availableWidth > 0 && availableHeight > 0) {
        // The whole page, fitted into the window as ZoomToPage shows it.
        const double scale = std::min(double(availableWidth) / page->width, double(availableHeight) / page->height);
        const int w = std::max(1, int(page->width * scale)), h = std::max(1, int(page->height * scale));
        PageRaster raster(*page, Box{0, 0, page->width, page->height}, w, h);
        const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
        std::vector<std::uint8_t> bits(stride * h), row(std::size_t(w) * 3);
        for (int y = 0; y < h; ++y) {
            raster.Row(y, row.data());
            for (int x = 0; x < w; ++x) {
                bits[y * stride + 3 * x] = row[3 * x + 2];
                bits[y * stride + 3 * x + 1] = row[3 * x + 1];
                bits[y * stride + 3 * x + 2] = row[3 * x];
            }
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        const int left = (client.right - w) / 2, top = (client.bottom - h) / 2;
        SetDIBitsToDevice(dc, left, top, w, h, 0, 0, 0, h, bits.data(), &info, DIB_RGB_COLORS);
    }
}

}  // namespace standin
