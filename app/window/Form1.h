// Form1: Trevolo's one window, a borderless top-level window that carries
// every control of the control table and owns ExportSettings and the
// DrawSession slot. The frame control supplies its title bar and border.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "DrawSession.h"
#include "ExportOperations.h"
#include "ExportSettings.h"
#include "FormControls.h"
#include "FormLayout.h"
#include "win/UniqueHandle.h"

namespace trevolo {

// Behaviour supplied from outside the window. Empty ones do nothing, except
// ReportFailure, which then shows a message box.
struct Form1Hooks {
    // Tells the user why a size reading of "1：1 原样" changed nothing.
    std::function<void(const std::wstring& message)> ReportFailure;
    std::function<void()> Timer1Tick;
    std::function<void()> VorlanClick;
    // The window has been destroyed.
    std::function<void()> Closed;
};

class Form1 final : public FormControls {
public:
    Form1(DrawSession& session, FolderSystem& folders);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates the window and all its controls, hidden; false when the window
    // could not be made.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return window_.get(); }
    HWND Control(ControlId id) const { return controls_[Index(id)].get(); }

    // Keyboard navigation for the message loop: Tab and Shift+Tab follow the
    // control table's tab order across the frames. True when the message
    // was used up.
    bool PreTranslateMessage(MSG& msg);

    ExportSettings& Settings() { return settings_; }
    DrawSession& Session() { return session_; }
    Form1Hooks& Hooks() { return hooks_; }

    std::wstring Text(ControlId id) const override;
    void SetText(ControlId id, const std::wstring& text) override;
    int ListIndex(ControlId id) const override;

private:
    static constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Command6) + 1;
    static std::size_t Index(ControlId id) { return static_cast<std::size_t>(id); }

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool CreateControls(HINSTANCE instance);
    HFONT FontFor(const FontStyle& font);
    HBRUSH BrushFor(COLORREF colour);
    std::optional<ControlId> FindControl(HWND hwnd) const;

    void OnCommand(HWND control, WORD code);
    void OnButtonClick(ControlId id);
    void OnListClick(ControlId id);
    void OnPageTextChange(ControlId id);
    LRESULT OnControlColour(HDC dc, HWND control, UINT msg);
    void PaintFrame(HWND frame, HDC dc);
    void EraseBackground(HWND hwnd, HDC dc);
    void MoveFocus(bool backwards);
    void FocusControl(ControlId id);
    void ShowPendingFailure();
    void ReleaseHandles();

    DrawSession& session_;
    FolderSystem& folders_;
    ExportSettings settings_;
    Form1Hooks hooks_;
    int dpiX_ = 96;
    int dpiY_ = 96;
    std::wstring pendingFailure_;
    HWND savedFocus_ = nullptr;

    // GDI objects outlive the windows that use them: declared first, destroyed last.
    std::map<std::tuple<std::wstring, int, bool>, win::UniqueFont> fonts_;
    std::map<COLORREF, win::UniqueBrush> brushes_;
    win::UniqueIcon bigIcon_;
    win::UniqueIcon smallIcon_;
    win::UniqueWindow window_;
    std::array<win::UniqueWindow, kControlCount> controls_;
};

}  // namespace trevolo
