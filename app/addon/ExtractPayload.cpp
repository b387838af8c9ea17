#include "ExtractPayload.h"

#include <windows.h>

#include <new>
#include <utility>

#include "win/UniqueHandle.h"

namespace trevolo {

namespace {

std::int32_t LastError(DWORD fallback = ERROR_GEN_FAILURE) {
    const DWORD error = GetLastError();
    return static_cast<std::int32_t>(error != ERROR_SUCCESS ? error : fallback);
}

// Fails where opening the target for writing would: a folder, a read-only
// file (checked by its attribute, since not every file system refuses to
// rename over one: Wine running as root does not), or a file that another
// program holds open without letting others write, such as a loaded library.
std::int32_t CheckTargetWritable(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? 0 : static_cast<std::int32_t>(error);
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return ERROR_ACCESS_DENIED;
    win::UniqueFile probe(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe ? 0 : LastError();
}

// The temporary file, deleted on every path that does not hand it over.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const noexcept { return path_; }
    void Release() noexcept { path_.clear(); }

private:
    std::wstring path_;
};

std::int32_t WriteAll(HANDLE file, const void* bytes, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr)) return LastError();
    if (written != size) return ERROR_DISK_FULL;
    if (!FlushFileBuffers(file)) return LastError();
    return 0;
}

}  // namespace

std::int32_t ExtractPayload(std::int16_t number, const std::wstring& type, const std::wstring& targetPath) {
    try {
        HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(number)), type.c_str());
        if (!resource) return LastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        HGLOBAL loaded = LoadResource(nullptr, resource);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        const DWORD size = SizeofResource(nullptr, resource);
        if (!bytes) return LastError(ERROR_RESOURCE_DATA_NOT_FOUND);

        if (std::int32_t error = CheckTargetWritable(targetPath)) return error;

        // Same folder, so the replacement is a rename on one volume.
        TemporaryFile temporary(targetPath + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp");
        {
            win::UniqueFile file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) {
                const std::int32_t error = LastError();
                temporary.Release();  // not created, so nothing of ours to delete
                return error;
            }
            if (std::int32_t error = WriteAll(file.get(), bytes, size)) return error;
        }
        if (!MoveFileExW(temporary.path().c_str(), targetPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return LastError();
        temporary.Release();
        return 0;
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace trevolo
