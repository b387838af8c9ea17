/* Stand-in for the outside skin library Classface: it accepts the program's
   ClassXP calls and restyles nothing. When CLASSFACE_JOURNAL names a file,
   each call appends the line "ClassXP <first> <second>" (CR LF) to it, so
   tests can see which calls came. Plain C, so that the library stays small. */
#include <windows.h>

static void Record(int first, int second) {
    WCHAR journal[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"CLASSFACE_JOURNAL", journal, MAX_PATH);
    HANDLE file;
    char line[48];
    DWORD written = 0;
    if (length == 0 || length >= MAX_PATH) return;
    file = CreateFileW(journal, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, line, (DWORD)wsprintfA(line, "ClassXP %d %d\r\n", first, second), &written, NULL);
    CloseHandle(file);
}

int WINAPI ClassXP(int window, int enable) {
    Record(window, enable);
    return 0;
}
