// A shown Form1 and the user's ways of driving it, over the CorelDRAW and
// disk that `Parts` supplies: fakes here, the real binding and file system
// in the end-to-end tests.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FakeDrawSession.h"
#include "Form1.h"
#include "FormLayout.h"
#include "UserInput.h"

namespace windowtest {

using trevolo::ControlId;
using trevolo::ExportSettings;

inline std::vector<std::string> Names(std::initializer_list<const char*> names) {
    return {names.begin(), names.end()};
}

// Control names are ASCII.
inline std::string NameOf(ControlId id) {
    const std::wstring_view name = trevolo::RowOf(id).Name;
    return std::string(name.begin(), name.end());
}

// All eight fields, for messages that show every one of them.
inline std::vector<int> Fields(const ExportSettings& s) {
    return {s.PageCount, s.ExportFilter, s.ImageType, s.ExportWidth, s.ExportHeight, s.Resolution, s.StartPage, s.EndPage};
}

// The fakes of the window's own tests.
struct FakeParts {
    fake::FakeDrawSession session;
    fake::FakeFolderSystem folders;
};

// Parts comes first among the bases, so its session and disk exist before
// the window that uses them and outlive it.
template <typename Parts>
class Form1Driver : public Parts, public testing::Test {
protected:
    void SetUp() override {
        form.Hooks().ReportFailure = [this](const std::wstring& message) { reported.push_back(message); };
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
        ShowWindow(form.Handle(), SW_SHOW);
        SetForegroundWindow(form.Handle());
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form.Handle(); }));
    }

    bool PumpUntil(const std::function<bool()>& done) {
        return input::PumpUntil([this](MSG& msg) { return form.PreTranslateMessage(msg); }, done);
    }
    void Pump() {
        input::Pump([this](MSG& msg) { return form.PreTranslateMessage(msg); });
    }

    HWND Control(ControlId id) const { return form.Control(id); }

    // The control a window belongs to: a list's text field counts as the list.
    std::optional<ControlId> Owner(HWND hwnd) const {
        for (; hwnd; hwnd = GetParent(hwnd))
            for (const trevolo::ControlRow& row : trevolo::ControlTable())
                if (Control(row.Id) == hwnd) return row.Id;
        return std::nullopt;
    }

    // Opens the list with a click on its button and clicks the entry.
    void Pick(ControlId list, int index) {
        HWND combo = Control(list);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        input::ClickCentre(combo, info.rcButton);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
            << "the list did not drop down";
        RECT item{};
        ASSERT_NE(SendMessageW(info.hwndList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)), LB_ERR);
        input::ClickCentre(info.hwndList, item);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }))
            << "the list did not close";
        Pump();
        ASSERT_EQ(form.ListIndex(list), index);
    }

    // A Click with nothing chosen, as the list raises it after losing its choice.
    void ClickWithNothingChosen(ControlId list) {
        HWND combo = Control(list);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        Pump();
    }

    // Puts the caret into a text field with a click and selects its whole text
    // with the keyboard.
    void ClickAndSelectAll(ControlId id) {
        HWND field = Control(id);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(field, &info)) field = info.hwndItem;
        RECT client{};
        GetClientRect(field, &client);
        input::ClickCentre(field, client);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == field; })) << "the field did not take the focus";
        input::Press(VK_HOME);
        input::Press(VK_END, true);
        Pump();
    }

    void Type(std::wstring_view text) {
        input::Type(text);
        Pump();
    }
    // Replaces the whole text of a field by typing.
    void TypeInto(ControlId field, std::wstring_view text) {
        ClickAndSelectAll(field);
        Type(text);
    }
    void Press(WORD vk, bool shift = false) {
        input::Press(vk, shift);
        Pump();
    }

    void ClickButton(ControlId id) {
        RECT client{};
        GetClientRect(Control(id), &client);
        input::ClickCentre(Control(id), client);
        Pump();
    }

    trevolo::Form1 form{Parts::session, Parts::folders};
    std::vector<std::wstring> reported;
};

using Form1Test = Form1Driver<FakeParts>;

}  // namespace windowtest
