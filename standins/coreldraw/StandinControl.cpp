#include "StandinControl.h"

#include <tlhelp32.h>

#include <string>

#include "win/Ansi.h"
#include "win/UniqueHandle.h"

namespace standin {
namespace {

constexpr wchar_t kServerExe[] = L"CorelDrawStandin.exe";

bool ReadAll(const wchar_t* path, std::string& bytes) {
    win::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char buf[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buf, sizeof buf, &read, nullptr) && read > 0) bytes.append(buf, read);
    return true;
}

}  // namespace

bool PrepareServer(const DrawingFile& file) {
    CreateDirectoryW(kStandinFolder, nullptr);
    const std::string text = FormatDrawingFile(file);
    win::UniqueFile out(CreateFileW(kDrawingPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
    DWORD written = 0;
    if (!out || !WriteFile(out.get(), text.data(), DWORD(text.size()), &written, nullptr) || written != text.size())
        return false;
    return ClearJournal();
}

bool ClearJournal() {
    return DeleteFileW(kJournalPath) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::vector<JournalEntry> ReadJournal() {
    std::vector<JournalEntry> entries;
    std::string bytes;
    if (!ReadAll(kJournalPath, bytes)) return entries;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.empty()) continue;
        if (auto entry = ParseJournalLine(line)) {
            entries.push_back(std::move(*entry));
        } else {
            JournalEntry unreadable;
            unreadable.call = L"?";
            unreadable.result = win::FromUtf8(line);
            entries.push_back(std::move(unreadable));
        }
    }
    return entries;
}

bool WaitForServerExit(DWORD timeoutMs) {
    std::vector<win::UniqueKernelHandle> servers;
    {
        win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return false;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
            if (CompareStringOrdinal(entry.szExeFile, -1, kServerExe, -1, TRUE) != CSTR_EQUAL) continue;
            win::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
            if (process) servers.push_back(std::move(process));
        }
    }
    std::vector<HANDLE> handles;
    for (const auto& s : servers) handles.push_back(s.get());
    if (handles.empty()) return true;
    return WaitForMultipleObjects(DWORD(handles.size()), handles.data(), TRUE, timeoutMs) < WAIT_OBJECT_0 + handles.size();
}

}  // namespace standin
