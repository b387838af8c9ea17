#include "Registration.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <string>

#include "coreldraw.h"
#include "win/UniqueHandle.h"

namespace standin {
namespace {

constexpr wchar_t kClsidKey[] = L"CLSID\\{F51A0100-8D23-11D2-89E7-0000861EBBD6}";
constexpr wchar_t kClsidText[] = L"{F51A0100-8D23-11D2-89E7-0000861EBBD6}";
constexpr wchar_t kProgId[] = L"CorelDRAW.Application.9";
constexpr wchar_t kDescription[] = L"CorelDRAW application";

HRESULT SetDefault(const std::wstring& key, const std::wstring& value) {
    win::UniqueRegKey k;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, k.put(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExW(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            DWORD((value.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(rc);
}

bool ExePath(std::wstring& path) {
    wchar_t buf[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return false;
    path.assign(buf, n);
    return true;
}

HRESULT DeleteTree(const wchar_t* key) {
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    if (rc == ERROR_SUCCESS) rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

}  // namespace

HRESULT RegisterServer() {
    std::wstring exe;
    if (!ExePath(exe)) return E_FAIL;
    const std::wstring clsid = kClsidKey;
    const std::wstring command = exe.find(L' ') == std::wstring::npos ? exe : L"\"" + exe + L"\"";
    HRESULT hr = S_OK;
    for (auto [key, value] : {std::pair<std::wstring, std::wstring>{clsid, kDescription},
                              {clsid + L"\\LocalServer32", command},
                              {clsid + L"\\ProgID", kProgId},
                              {kProgId, kDescription},
                              {std::wstring(kProgId) + L"\\CLSID", kClsidText}}) {
        if (FAILED(hr = SetDefault(key, value))) return hr;
    }
    // Registering the library also registers IDrawApplication for the
    // type-library marshaller, which carries its calls between processes.
    Microsoft::WRL::ComPtr<ITypeLib> library;
    if (FAILED(hr = LoadTypeLibEx(exe.c_str(), REGKIND_NONE, &library))) return hr;
    return RegisterTypeLib(library.Get(), exe.data(), nullptr);
}

HRESULT UnregisterServer() {
    HRESULT hr = UnRegisterTypeLib(LIBID_CorelDRAW, 9, 0, LOCALE_NEUTRAL, SYS_WIN32);
    if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY) hr = S_OK;  // not registered
    HRESULT clsid = DeleteTree(kClsidKey), progId = DeleteTree(kProgId);
    return FAILED(hr) ? hr : FAILED(clsid) ? clsid : progId;
}

}  // namespace standin
