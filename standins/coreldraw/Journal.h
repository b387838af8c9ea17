// The journal of the stand-in server: one UTF-8 line per call, appended as the
// call is answered, so that a test can read it after the server is gone.
//
//   <process id> TAB <call> TAB <HRESULT> TAB <result> [TAB <VARTYPE>:<value>]...
//
// The HRESULT is 0x and eight hex digits; the arguments follow in call order
// (the first declared parameter first), each as it arrived: its variant type
// by name ("VT_R8", "VT_BYREF|VT_I4") and its value as text. Backslash, tab,
// carriage return and line feed in texts are written \\ \t \r \n.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct JournalArg {
    VARTYPE vt = VT_EMPTY;
    std::wstring value;
};

struct JournalEntry {
    DWORD processId = 0;
    std::wstring call;
    HRESULT hr = S_OK;
    std::wstring result;
    std::vector<JournalArg> args;
};

// "VT_I4", "VT_BYREF|VT_I4", "VT_ARRAY|VT_VARIANT"; a type without a name as 0x and four hex digits.
std::wstring VarTypeText(VARTYPE vt);
std::optional<VARTYPE> VarTypeFromText(std::wstring_view text);

// A variant as the journal shows it. Numbers in plain decimal (doubles in
// their shortest exact form), VARIANT_BOOL as its number, a by-reference
// value as the value it points to.
JournalArg DescribeArgument(const VARIANT& v);

std::string FormatJournalLine(const JournalEntry& entry);
std::optional<JournalEntry> ParseJournalLine(std::string_view line);

// Appends the line of a call answered by this process (whose id it records);
// false if the journal cannot be written.
bool AppendToJournal(const JournalEntry& entry);

}  // namespace standin
