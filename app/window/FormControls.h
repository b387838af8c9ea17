// The main window's controls as the operations see them: texts to read and
// write, and the chosen index of a list. Writing the text of Text3 or Text4
// raises its Change handling whenever the text changes, as typing does.
#pragma once

#include <string>

namespace trevolo {

enum class ControlId {
    Frame1_0, Command1, Text1,
    Frame1_1, Label1, Combo1, Combo2, Label2, Combo3, Label3, Combo4, Label4,
    Frame1_2, Text2, Command2, Label5, Text3, Label6, Text4, Command3,
    Frame1_3, Command4, Command5, VORLAN, Command6,
};

class FormControls {
public:
    virtual ~FormControls() = default;
    virtual std::wstring Text(ControlId id) const = 0;
    virtual void SetText(ControlId id, const std::wstring& text) = 0;
    // -1 when nothing is chosen.
    virtual int ListIndex(ControlId id) const = 0;
};

}  // namespace trevolo
