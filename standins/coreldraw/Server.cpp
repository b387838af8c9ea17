#include "Server.h"

#include "StandinFiles.h"
#include "win/Ansi.h"
#include "coreldraw.h"
#include "win/UniqueHandle.h"

namespace standin {
namespace {

// Bigger drawing files are not a stand-in's business.
constexpr DWORD kMaxDrawingFile = 16 * 1024 * 1024;

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadFileBytes(const wchar_t* path, std::string& bytes) {
    win::UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                               : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxDrawingFile) return ReadResult::Failed;
    bytes.resize(std::size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return ReadResult::Failed;
    return ReadResult::Read;
}

}  // namespace

Server& Server::Get() {
    static Server server;
    return server;
}

void Server::Load() {
    LoadTypeInfo();
    DrawingFile file;
    std::string text, error;
    switch (ReadFileBytes(kDrawingPath, text)) {
        case ReadResult::Missing: break;  // CorelDRAW's start: one new, empty drawing
        case ReadResult::Failed: error = "the drawing file cannot be read"; break;
        case ReadResult::Read: ParseDrawingFile(text, file, error); break;
    }
    if (!error.empty()) {
        file = DrawingFile{};
        file.documentOpen = false;
        JournalEntry entry;
        entry.call = L"LoadDrawing";
        entry.hr = E_INVALIDARG;
        entry.result = win::FromUtf8(error);
        AppendToJournal(entry);
    }
    drawing_ = std::make_unique<DrawServer>(std::move(file));
}

void Server::LoadTypeInfo() {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return;
    Microsoft::WRL::ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(exe, REGKIND_NONE, &library))) return;
    if (FAILED(library->GetTypeInfoOfGuid(IID_IDrawApplication, &dispatchInfo_))) return;
    // A dual interface's type information is its dispatch side; the vtable
    // side, which DispInvoke calls through, is its implemented type -1.
    HREFTYPE vtable = 0;
    if (FAILED(dispatchInfo_->GetRefTypeOfImplType(-1, &vtable)) ||
        FAILED(dispatchInfo_->GetRefTypeInfo(vtable, &interfaceInfo_)))
        dispatchInfo_.Reset();
}

void Server::ReleaseTypeInfo() {
    dispatchInfo_.Reset();
    interfaceInfo_.Reset();
}

void Server::Admit(JournalEntry entry) {
    if (drawing_->AdmitCall()) return;
    entry.hr = kServerExits;
    entry.result = L"the server exits";
    AppendToJournal(entry);
    ExitProcess(3);
}

void Server::Answered(const JournalEntry& entry) {
    AppendToJournal(entry);
    window_.Update(*drawing_);
}

}  // namespace standin
