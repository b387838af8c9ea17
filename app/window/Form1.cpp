#include "Form1.h"

#include <commctrl.h>

#include <utility>

#include "FormLayout.h"
#include "SettingsHandlers.h"

namespace trevolo {
namespace {

constexpr wchar_t kFormClass[] = L"TrevoloForm1";
constexpr wchar_t kFrameClass[] = L"TrevoloFrame";
constexpr int kIconResource = 1;
constexpr UINT_PTR kTimer1 = 1;
// Control ids stay clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstControlId = 100;
// The size-reading failure is shown after the list has finished its choice.
constexpr UINT kShowFailure = WM_APP + 1;
// Where a frame's caption starts, in pixels.
constexpr int kFrameCaptionLeft = 8;
constexpr int kFrameCaptionPadding = 2;

COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.Red, colour.Green, colour.Blue);
}

COLORREF TextColourOf(const ControlLook& look) {
    return look.Text ? ToColorRef(*look.Text) : GetSysColor(COLOR_WINDOWTEXT);
}

bool IsFocusable(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::TextBox || kind == ControlKind::ListWithText;
}

bool RegisterClasses(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = proc;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // A shared icon: the class outlives any one window and its own icons.
    form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    WNDCLASSEXW frame = form;
    frame.hIcon = nullptr;
    form.lpszClassName = kFormClass;
    frame.lpszClassName = kFrameClass;
    for (WNDCLASSEXW* cls : {&form, &frame}) {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (GetClassInfoExW(instance, cls->lpszClassName, &existing)) continue;
        if (!RegisterClassExW(cls)) return false;
    }
    return true;
}

wchar_t DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1) return separator[0];
    return L'.';
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

Form1::Form1(DrawSession& session, FolderSystem& folders) : session_(session), folders_(folders) {}

Form1::~Form1() {
    // Children before their frames, frames before the window.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) it->reset();
    window_.reset();
}

bool Form1::Create(HINSTANCE instance) {
    bigIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    if (!RegisterClasses(instance, &Form1::WndProc)) return false;

    {
        win::WindowDC screen(nullptr);
        if (screen.get()) {
            dpiX_ = GetDeviceCaps(screen.get(), LOGPIXELSX);
            dpiY_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
        }
    }
    // No caption or border of its own, so the client area is the whole window.
    if (!CreateWindowExW(0, kFormClass, std::wstring(kFormCaption).c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                         TwipsToPixels(kClientWidthTwips, dpiX_), TwipsToPixels(kClientHeightTwips, dpiY_),
                         nullptr, nullptr, instance, this))
        return false;
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    if (!CreateControls(instance)) {
        window_.reset();
        return false;
    }
    SetTimer(window_.get(), kTimer1, kTimer1IntervalMs, nullptr);
    return true;
}

bool Form1::CreateControls(HINSTANCE instance) {
    // Created in tab order: each frame then holds its children in that order.
    for (const ControlRow& row : ControlTable()) {
        HWND parent = row.Container ? Control(*row.Container) : window_.get();
        const int id = kFirstControlId + static_cast<int>(Index(row.Id));
        const int left = TwipsToPixels(row.Left, dpiX_), top = TwipsToPixels(row.Top, dpiY_);
        const int width = TwipsToPixels(row.Width, dpiX_), height = TwipsToPixels(row.Height, dpiY_);
        const std::vector<std::wstring_view> entries = ListEntriesOf(row.Id);
        HFONT font = FontFor(row.Look.Font);

        const wchar_t* cls = nullptr;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, exStyle = 0;
        int createHeight = height;
        switch (row.Kind) {
        case ControlKind::Frame:
            cls = kFrameClass;
            style |= WS_CLIPCHILDREN;
            exStyle = WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Button:
            cls = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::TextBox:
            cls = WC_EDITW;
            style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Label:
            cls = WC_STATICW;
            style |= SS_NOTIFY | (row.Look.SizesToCaption ? SS_LEFTNOWORDWRAP : SS_LEFT);
            break;
        case ControlKind::ListWithText:
            cls = WC_COMBOBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            // A list's window height is that of its dropped-down list.
            createHeight = height + static_cast<int>(entries.size() + 1) * (PointsToPixels(row.Look.Font.TenthsOfPoint, dpiY_) + 4);
            break;
        }
        HWND control = CreateWindowExW(exStyle, cls, row.Kind == ControlKind::ListWithText ? L"" : row.Caption.c_str(),
                                       style, left, top, width, createHeight, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                       row.Kind == ControlKind::Frame ? this : nullptr);
        if (!control) return false;
        controls_[Index(row.Id)].reset(control);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

        if (row.Kind == ControlKind::ListWithText) {
            for (std::wstring_view entry : entries)
                SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(entry).c_str()));
            SetWindowTextW(control, row.Caption.c_str());
            // The text field's height follows from the font; give it the table's.
            // What the list reports and what it takes need not agree, so it is
            // corrected against the height it shows.
            LRESULT field = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            for (int attempt = 0; attempt < 3 && field != CB_ERR; ++attempt) {
                RECT shown{};
                GetWindowRect(control, &shown);
                const int off = height - (shown.bottom - shown.top);
                if (off == 0) break;
                field += off;
                SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
            }
        }
        if (row.Look.SizesToCaption) {
            win::WindowDC dc(control);
            win::SelectedObject selected(dc.get(), font);
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), row.Caption.c_str(), static_cast<int>(row.Caption.size()), &extent);
            SetWindowPos(control, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return true;
}

HFONT Form1::FontFor(const FontStyle& font) {
    auto key = std::make_tuple(std::wstring(font.Face), font.TenthsOfPoint, font.Bold);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    LOGFONTW lf{};
    lf.lfHeight = -PointsToPixels(font.TenthsOfPoint, dpiY_);
    lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    font.Face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return fonts_.emplace(std::move(key), win::UniqueFont(CreateFontIndirectW(&lf))).first->second.get();
}

HBRUSH Form1::BrushFor(COLORREF colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second.get();
    return brushes_.emplace(colour, win::UniqueBrush(CreateSolidBrush(colour))).first->second.get();
}

std::optional<ControlId> Form1::FindControl(HWND hwnd) const {
    // A list's text field and the parts of other controls count as the control.
    // A dropped-down list is not a child of its list control.
    for (; hwnd && hwnd != window_.get(); hwnd = GetParent(hwnd)) {
        for (std::size_t i = 0; i < kControlCount; ++i) {
            if (controls_[i].get() == hwnd) return static_cast<ControlId>(i);
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (RowOf(static_cast<ControlId>(i)).Kind == ControlKind::ListWithText &&
                GetComboBoxInfo(controls_[i].get(), &info) && info.hwndList == hwnd)
                return static_cast<ControlId>(i);
        }
    }
    return std::nullopt;
}

LRESULT CALLBACK Form1::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self && !GetParent(hwnd)) self->window_.reset(hwnd);
    }
    auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT Form1::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool isForm = hwnd == window_.get();
    switch (msg) {
    // Frames pass their controls' notifications here as well.
    case WM_COMMAND:
        if (lParam) OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), msg);
    case WM_ERASEBKGND:
        EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_GETFONT:
        if (isForm) return reinterpret_cast<LRESULT>(FontFor(kDefaultFont));
        if (std::optional<ControlId> frame = FindControl(hwnd)) return reinterpret_cast<LRESULT>(FontFor(RowOf(*frame).Look.Font));
        break;
    case WM_PAINT: {
        if (isForm) break;
        win::PaintDC paint(hwnd);
        if (paint.get()) PaintFrame(hwnd, paint.get());
        return 0;
    }
    case WM_PRINTCLIENT:
        // PrintWindow and screen readers draw a frame through this.
        if (isForm) break;
        if (lParam & PRF_ERASEBKGND) EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
        PaintFrame(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1 && hooks_.Timer1Tick) hooks_.Timer1Tick();
        return 0;
    case kShowFailure:
        ShowPendingFailure();
        return 0;
    case WM_ACTIVATE:
        if (!isForm) break;
        // Focus returns to the control that had it, as in a dialog.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (FindControl(focus)) savedFocus_ = focus;
        } else if (savedFocus_ && IsWindow(savedFocus_) && IsChild(window_.get(), savedFocus_)) {
            SetFocus(savedFocus_);
        } else if (!FindControl(GetFocus())) {
            MoveFocus(false);
        }
        return 0;
    case WM_DESTROY:
        if (!isForm) break;
        KillTimer(hwnd, kTimer1);
        if (hooks_.Closed) hooks_.Closed();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        // The system has destroyed the controls along with the window.
        if (isForm) ReleaseHandles();
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Form1::ReleaseHandles() {
    for (auto& control : controls_) control.release();
    window_.release();
    savedFocus_ = nullptr;
}

void Form1::OnCommand(HWND control, WORD code) {
    const std::optional<ControlId> id = FindControl(control);
    if (!id) return;
    switch (RowOf(*id).Kind) {
    case ControlKind::ListWithText:
        // A choice from the list; typing into the text field is not one.
        if (code == CBN_SELCHANGE) OnListClick(*id);
        break;
    case ControlKind::TextBox:
        if (code == EN_CHANGE && (*id == ControlId::Text3 || *id == ControlId::Text4)) OnPageTextChange(*id);
        break;
    case ControlKind::Button:
        if (code == BN_CLICKED) OnButtonClick(*id);
        break;
    case ControlKind::Label:
        if (code == STN_CLICKED && *id == ControlId::VORLAN && hooks_.VorlanClick) hooks_.VorlanClick();
        break;
    default:
        break;
    }
}

void Form1::OnButtonClick(ControlId id) {
    switch (id) {
    case ControlId::Command1: ReadPageCount(session_, *this, settings_); break;
    case ControlId::Command2: MakeOutputFolder(*this, folders_); break;
    case ControlId::Command3: RunBatchExport(session_, *this, settings_, folders_); break;
    default: break;
    }
}

void Form1::OnListClick(ControlId id) {
    const int index = ListIndex(id);
    switch (id) {
    case ControlId::Combo1: ChooseExportFilter(index, settings_); break;
    case ControlId::Combo2: ChooseImageType(index, settings_); break;
    case ControlId::Combo4: ChooseResolution(index, settings_); break;
    case ControlId::Combo3: {
        const SizeReadingFailure failure = ChooseExportSize(index, session_, settings_);
        if (failure != SizeReadingFailure::None) {
            pendingFailure_ = SizeReadingMessage(failure);
            PostMessageW(window_.get(), kShowFailure, 0, 0);
        }
        break;
    }
    default: break;
    }
}

void Form1::ShowPendingFailure() {
    const std::wstring message = std::exchange(pendingFailure_, std::wstring());
    if (message.empty()) return;
    if (hooks_.ReportFailure) hooks_.ReportFailure(message);
    else MessageBoxW(window_.get(), message.c_str(), std::wstring(kFormCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void Form1::OnPageTextChange(ControlId id) {
    std::int16_t& field = id == ControlId::Text3 ? settings_.StartPage : settings_.EndPage;
    TakePageNumber(Text(id), DecimalSeparator(), field);
}

LRESULT Form1::OnControlColour(HDC dc, HWND control, UINT msg) {
    const std::optional<ControlId> id = FindControl(control);
    if (!id) return DefWindowProcW(GetParent(control), msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const ControlRow& row = RowOf(*id);
    const bool onContainer = row.Kind == ControlKind::Label || row.Kind == ControlKind::Button;
    COLORREF background = GetSysColor(COLOR_WINDOW);
    if (row.Look.Background) {
        background = ToColorRef(*row.Look.Background);
    } else if (row.Look.Transparent || onContainer) {
        const std::optional<Rgb> containerColour = row.Container ? RowOf(*row.Container).Look.Background : kFormBackground;
        background = ToColorRef(containerColour.value_or(kFormBackground));
    }
    SetTextColor(dc, TextColourOf(row.Look));
    SetBkColor(dc, background);
    if (row.Look.Transparent) SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(BrushFor(background));
}

void Form1::EraseBackground(HWND hwnd, HDC dc) {
    Rgb colour = kFormBackground;
    if (hwnd != window_.get()) {
        if (std::optional<ControlId> id = FindControl(hwnd); id && RowOf(*id).Look.Background)
            colour = *RowOf(*id).Look.Background;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, BrushFor(ToColorRef(colour)));
}

void Form1::PaintFrame(HWND frame, HDC dc) {
    if (const std::optional<ControlId> id = FindControl(frame)) {
        const ControlRow& row = RowOf(*id);
        win::SelectedObject selected(dc, FontFor(row.Look.Font));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT client{};
        GetClientRect(frame, &client);
        // The border runs through the middle of the caption line.
        RECT border = client;
        border.top = metrics.tmHeight / 2;
        DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
        if (!row.Caption.empty()) {
            SIZE extent{};
            GetTextExtentPoint32W(dc, row.Caption.c_str(), static_cast<int>(row.Caption.size()), &extent);
            RECT behind{kFrameCaptionLeft - kFrameCaptionPadding, 0,
                        kFrameCaptionLeft + extent.cx + kFrameCaptionPadding, metrics.tmHeight};
            FillRect(dc, &behind, BrushFor(ToColorRef(row.Look.Background.value_or(kFormBackground))));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, TextColourOf(row.Look));
            TextOutW(dc, kFrameCaptionLeft, 0, row.Caption.c_str(), static_cast<int>(row.Caption.size()));
        }
    }
}

bool Form1::PreTranslateMessage(MSG& msg) {
    if (!window_ || !(msg.hwnd == window_.get() || IsChild(window_.get(), msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return IsDialogMessageW(window_.get(), &msg) != FALSE;
}

void Form1::MoveFocus(bool backwards) {
    const std::vector<ControlRow>& table = ControlTable();
    const int count = static_cast<int>(table.size());
    const std::optional<ControlId> current = FindControl(GetFocus());
    int at = backwards ? 0 : -1;
    for (int i = 0; i < count && current; ++i)
        if (table[static_cast<std::size_t>(i)].Id == *current) at = i;
    for (int step = 1; step <= count; ++step) {
        const ControlRow& row = table[static_cast<std::size_t>(((at + (backwards ? -step : step)) % count + count) % count)];
        HWND control = Control(row.Id);
        if (IsFocusable(row.Kind) && IsWindowVisible(control) && IsWindowEnabled(control)) {
            FocusControl(row.Id);
            return;
        }
    }
}

void Form1::FocusControl(ControlId id) {
    HWND control = Control(id);
    SetFocus(control);
    // Text arrives selected, as in a dialog.
    switch (RowOf(id).Kind) {
    case ControlKind::TextBox: SendMessageW(control, EM_SETSEL, 0, -1); break;
    case ControlKind::ListWithText: SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1)); break;
    default: break;
    }
}

std::wstring Form1::Text(ControlId id) const {
    return WindowText(Control(id));
}

void Form1::SetText(ControlId id, const std::wstring& text) {
    // An edit box reports a change even for an equal text; only a real change counts.
    if (Text(id) == text) return;
    SetWindowTextW(Control(id), text.c_str());
}

int Form1::ListIndex(ControlId id) const {
    if (RowOf(id).Kind != ControlKind::ListWithText) return -1;
    return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

}  // namespace trevolo
