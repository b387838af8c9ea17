// The files the stand-in server and the tests share, inside the Wine prefix.
#pragma once

namespace standin {

inline constexpr wchar_t kStandinFolder[] = L"C:\\standin";
// Read once, when a server process starts.
inline constexpr wchar_t kDrawingPath[] = L"C:\\standin\\drawing.txt";
// One line appended per call, UTF-8.
inline constexpr wchar_t kJournalPath[] = L"C:\\standin\\journal.txt";

}  // namespace standin
