// Form1's layout read back from the live window: each control's container,
// place, text, font, colours and tab order, against the control table and
// against values written out here in pixels at 96 dots per inch.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Form1Fixture.h"

namespace windowtest {
namespace {

using trevolo::ControlKind;
using trevolo::ControlRow;

struct Box {
    int left, top, width, height;
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};
void PrintTo(const Box& b, std::ostream* os) {
    *os << "(" << b.left << ", " << b.top << ", " << b.width << " x " << b.height << ")";
}

// A window's rectangle in its parent's client coordinates.
Box BoxOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

LOGFONTW FontOf(HWND hwnd) {
    LOGFONTW lf{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    EXPECT_NE(font, nullptr);
    if (font) GetObjectW(font, sizeof lf, &lf);
    return lf;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

int ScreenDpi(int index) {
    win::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), index);
}

SIZE TextExtent(HWND hwnd, const std::wstring& text) {
    win::WindowDC dc(hwnd);
    win::SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

class Form1LayoutTest : public Form1Test {
protected:
    int dpiX = ScreenDpi(LOGPIXELSX);
    int dpiY = ScreenDpi(LOGPIXELSY);
};

TEST_F(Form1LayoutTest, TheWindowIsBorderlessWithTheTablesClientArea) {
    HWND hwnd = form.Handle();
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME)) << std::hex << style;
    RECT client{}, outer{};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(client.right, trevolo::TwipsToPixels(3570, dpiX));
    EXPECT_EQ(client.bottom, trevolo::TwipsToPixels(4965, dpiY));
    EXPECT_EQ(outer.right - outer.left, client.right);
    EXPECT_EQ(outer.bottom - outer.top, client.bottom);
    EXPECT_EQ(TextOf(hwnd), L"Pagora(免费)");
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(Form1LayoutTest, TheIconIs32By32At24BitsPerPixel) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    // GRPICONDIR: reserved, type, count, then one 14-byte entry per image.
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(dir, nullptr);
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    ASSERT_EQ(count, 1);
    const BYTE* entry = dir + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 24);

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0)), &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(Form1LayoutTest, EveryControlMatchesItsRow) {
    for (const ControlRow& row : trevolo::ControlTable()) {
        SCOPED_TRACE(NameOf(row.Id));
        HWND hwnd = Control(row.Id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), row.Container ? Control(*row.Container) : form.Handle());
        EXPECT_TRUE(IsWindowVisible(hwnd));

        Box expected{trevolo::TwipsToPixels(row.Left, dpiX), trevolo::TwipsToPixels(row.Top, dpiY),
                     trevolo::TwipsToPixels(row.Width, dpiX), trevolo::TwipsToPixels(row.Height, dpiY)};
        if (row.Look.SizesToCaption) {
            const SIZE extent = TextExtent(hwnd, row.Caption);
            expected.width = extent.cx;
            expected.height = extent.cy;
        }
        EXPECT_EQ(BoxOf(hwnd), expected);
        EXPECT_EQ(TextOf(hwnd), row.Caption);

        const LOGFONTW font = FontOf(hwnd);
        EXPECT_EQ(std::wstring(font.lfFaceName), row.Look.Font.Face);
        EXPECT_EQ(font.lfHeight, -trevolo::PointsToPixels(row.Look.Font.TenthsOfPoint, dpiY));
        EXPECT_EQ(font.lfWeight, row.Look.Font.Bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);

        std::vector<std::wstring> entries;
        for (int i = 0, n = static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)); row.Kind == ControlKind::ListWithText && i < n; ++i) {
            wchar_t text[64] = {};
            SendMessageW(hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        const auto table = trevolo::ListEntriesOf(row.Id);
        EXPECT_EQ(entries, std::vector<std::wstring>(table.begin(), table.end()));
    }
}

TEST_F(Form1LayoutTest, SpotChecksInPixelsAt96Dpi) {
    if (dpiX != 96 || dpiY != 96) GTEST_SKIP() << "screen at " << dpiX << " x " << dpiY << " dpi";
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 238);
    EXPECT_EQ(client.bottom, 331);
    struct Case {
        ControlId id;
        Box box;
    } cases[] = {
        {ControlId::Frame1_0, {8, 30, 223, 41}},   {ControlId::Frame1_2, {8, 168, 223, 87}},
        {ControlId::Frame1_3, {8, 250, 223, 75}},  {ControlId::Text1, {162, 12, 55, 22}},
        {ControlId::Combo4, {92, 70, 125, 20}},    {ControlId::Command2, {4, 14, 151, 21}},
        {ControlId::Text4, {194, 36, 23, 20}},     {ControlId::Command6, {112, 58, 105, 25}},
        {ControlId::VORLAN, {6, 38, 211, 33}},
    };
    for (const Case& c : cases) EXPECT_EQ(BoxOf(Control(c.id)), c.box) << NameOf(c.id);
    EXPECT_EQ(BoxOf(Control(ControlId::Label4)).left, 10);
    EXPECT_EQ(BoxOf(Control(ControlId::Label4)).top, 74);

    struct Font {
        ControlId id;
        int height, weight;
    } fonts[] = {
        {ControlId::Text1, -14, 700},   {ControlId::Text3, -12, 700}, {ControlId::VORLAN, -14, 400},
        {ControlId::Command1, -12, 400}, {ControlId::Label1, -12, 400}, {ControlId::Frame1_1, -12, 400},
    };
    for (const Font& f : fonts) {
        const LOGFONTW font = FontOf(Control(f.id));
        EXPECT_EQ(font.lfHeight, f.height) << NameOf(f.id);
        EXPECT_EQ(font.lfWeight, f.weight) << NameOf(f.id);
        EXPECT_STREQ(font.lfFaceName, L"宋体") << NameOf(f.id);
    }
}

TEST_F(Form1LayoutTest, FramesHoldTheirControlsInTabOrder) {
    std::map<std::string, std::vector<std::string>> held;
    for (ControlId frame : {ControlId::Frame1_0, ControlId::Frame1_1, ControlId::Frame1_2, ControlId::Frame1_3})
        for (HWND child = GetWindow(Control(frame), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            held[NameOf(frame)].push_back(NameOf(*Owner(child)));
    EXPECT_THAT(held["Frame1(0)"], testing::ElementsAre("Command1", "Text1"));
    EXPECT_THAT(held["Frame1(1)"], testing::ElementsAre("Label1", "Combo1", "Combo2", "Label2", "Combo3", "Label3",
                                                        "Combo4", "Label4"));
    EXPECT_THAT(held["Frame1(2)"], testing::ElementsAre("Text2", "Command2", "Label5", "Text3", "Label6", "Text4",
                                                        "Command3", "Command6"));
    EXPECT_THAT(held["Frame1(3)"], testing::ElementsAre("Command4", "Command5", "VORLAN"));
}

TEST_F(Form1LayoutTest, TabMovesThroughTheControlsInTabOrder) {
    auto focused = [&] {
        const std::optional<ControlId> id = Owner(GetFocus());
        return id ? NameOf(*id) : std::string("(none)");
    };
    EXPECT_EQ(focused(), "Command1");
    std::vector<std::string> visited;
    for (int i = 0; i < 14; ++i) {
        Press(VK_TAB);
        visited.push_back(focused());
    }
    EXPECT_THAT(visited, testing::ElementsAre("Text1", "Combo1", "Combo2", "Combo3", "Combo4", "Text2", "Command2",
                                              "Text3", "Text4", "Command3", "Command4", "Command5", "Command6",
                                              "Command1"));
    Press(VK_TAB, true);
    EXPECT_EQ(focused(), "Command6");
    Press(VK_TAB, true);
    EXPECT_EQ(focused(), "Command5");
}

TEST_F(Form1LayoutTest, ControlsAnswerWithTheirColours) {
    const COLORREF beige = RGB(236, 233, 216), blue = RGB(0, 0, 255), darkBlue = RGB(0, 0, 192);
    const COLORREF black = GetSysColor(COLOR_WINDOWTEXT), white = GetSysColor(COLOR_WINDOW);
    struct Case {
        ControlId id;
        COLORREF text, background;
    } cases[] = {
        {ControlId::Text1, blue, white},     {ControlId::Text2, blue, white},    {ControlId::Text3, blue, white},
        {ControlId::Text4, blue, white},     {ControlId::Combo1, darkBlue, white}, {ControlId::Combo4, darkBlue, white},
        {ControlId::Label1, black, beige},   {ControlId::Label6, black, beige},  {ControlId::VORLAN, blue, beige},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(c.id));
        HWND hwnd = Control(c.id);
        UINT msg = WM_CTLCOLORSTATIC;
        if (trevolo::RowOf(c.id).Kind == ControlKind::TextBox) msg = WM_CTLCOLOREDIT;
        if (trevolo::RowOf(c.id).Kind == ControlKind::ListWithText) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            GetComboBoxInfo(hwnd, &info);
            hwnd = info.hwndItem;
            msg = WM_CTLCOLOREDIT;
        }
        SetTextColor(dc, RGB(1, 2, 3));
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), msg, reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(hwnd)));
        EXPECT_EQ(GetTextColor(dc), c.text);
        LOGBRUSH lb{};
        ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
        EXPECT_EQ(lb.lbColor, c.background);
    }
    DeleteDC(dc);
}

// A frame drawn into a bitmap: the colours of its pixels.
std::vector<COLORREF> FramePixels(HWND frame, SIZE& size) {
    RECT client{};
    GetClientRect(frame, &client);
    size = {client.right, client.bottom};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(frame, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST_F(Form1LayoutTest, FramesAreBeigeWithBlueCaptions) {
    const COLORREF beige = RGB(236, 233, 216);
    auto bluish = [](COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 100 && GetGValue(c) < 100; };
    struct Case {
        ControlId frame;
        bool captioned;
    } cases[] = {{ControlId::Frame1_0, false}, {ControlId::Frame1_1, true}, {ControlId::Frame1_2, true}, {ControlId::Frame1_3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(NameOf(c.frame));
        SIZE size{};
        const std::vector<COLORREF> pixels = FramePixels(Control(c.frame), size);
        // Inside the border, below the caption line.
        EXPECT_EQ(pixels[static_cast<std::size_t>(size.cy - 4) * size.cx + 3], beige);
        std::size_t blue = 0;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < size.cx; ++x) blue += bluish(pixels[static_cast<std::size_t>(y) * size.cx + x]);
        if (c.captioned) EXPECT_GT(blue, 20u);
        else EXPECT_EQ(blue, 0u);
    }
}

TEST_F(Form1LayoutTest, TimerAndBannerReachTheirHooks) {
    int ticks = 0, clicks = 0;
    form.Hooks().Timer1Tick = [&] { ++ticks; };
    form.Hooks().VorlanClick = [&] { ++clicks; };
    EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
    RECT client{};
    GetClientRect(Control(ControlId::VORLAN), &client);
    input::ClickCentre(Control(ControlId::VORLAN), client);
    EXPECT_TRUE(PumpUntil([&] { return clicks > 0; }));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace windowtest
