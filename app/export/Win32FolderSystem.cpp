#include "Win32FolderSystem.h"

#include <windows.h>

namespace trevolo {
namespace {

// "X:\": Windows marks the root of an NTFS drive hidden and system, but the
// root is no entry a user hid.
bool IsDriveRoot(const std::wstring& path) {
    return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

// The API would stop at an embedded NUL and act on a shorter path.
bool HoldsNul(const std::wstring& path) { return path.find(L'\0') != std::wstring::npos; }

}  // namespace

bool Win32FolderSystem::Exists(const std::wstring& path) {
    if (HoldsNul(path)) return false;
    // The attributes of "C:\x\" are those of the folder x; for a file the
    // trailing backslash makes the call fail, as it should.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if (IsDriveRoot(path)) return true;
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool Win32FolderSystem::CreateFolder(const std::wstring& path) {
    if (HoldsNul(path)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

}  // namespace trevolo
