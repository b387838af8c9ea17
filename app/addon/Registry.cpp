#include "Registry.h"

#include <new>

#include "win/Ansi.h"
#include "win/UniqueHandle.h"

namespace trevolo {

std::int32_t WriteKeyValue(HKEY key, const std::wstring& name, std::int32_t type, const RegistryValue& value) {
    try {
        switch (type) {
        case kRegistryText: {
            // c_str() supplies the one NUL byte that ends the stored text.
            const std::string bytes = win::ToAnsi(value.Text());
            return RegSetValueExA(key, win::ToAnsi(name).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(bytes.c_str()), static_cast<DWORD>(bytes.size() + 1));
        }
        case kRegistryInteger: {
            const auto* number = std::get_if<std::int32_t>(&value.data());
            if (!number) return ERROR_INVALID_DATA;
            return RegSetValueExA(key, win::ToAnsi(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(number),
                                  sizeof *number);
        }
        default:
            return 0;
        }
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

std::int32_t ReadKeyValue(HKEY key, const std::wstring& name, RegistryValue& value) {
    try {
        const std::string ansiName = win::ToAnsi(name);
        DWORD type = 0;
        DWORD size = 0;
        LONG rc = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS) return rc;

        switch (type) {
        case REG_SZ: {
            std::string buffer(size, '\0');
            rc = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
            if (rc != ERROR_SUCCESS) {
                // The value grew since the first query.
                value = RegistryValue();
                return rc;
            }
            // A double-byte character gives one character for two bytes, so
            // this keeps the whole text with its NUL and drops only the
            // buffer's unused zeros, if any.
            std::wstring text = win::FromAnsi(buffer);
            if (text.size() > size) text.resize(size);
            value = RegistryValue(std::move(text));
            return rc;
        }
        case REG_DWORD: {
            // The buffer's own size, not the stored one: a longer value must
            // fail with ERROR_MORE_DATA rather than run past the integer.
            std::int32_t number = 0;
            DWORD numberSize = sizeof number;
            rc = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &numberSize);
            if (rc == ERROR_SUCCESS) value = RegistryValue(number);
            return rc;
        }
        default:
            return -1;
        }
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

void CreateRegistryKey(HKEY root, const std::wstring& path) {
    try {
        win::UniqueRegKey key;
        DWORD disposition = 0;
        RegCreateKeyExA(root, win::ToAnsi(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kRegistryRights, nullptr,
                        key.put(), &disposition);
    } catch (const std::bad_alloc&) {
    }
}

void StoreRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, const RegistryValue& value,
                        std::int32_t type) {
    try {
        win::UniqueRegKey key;
        if (RegOpenKeyExA(root, win::ToAnsi(path).c_str(), 0, kRegistryRights, key.put()) != ERROR_SUCCESS) return;
        WriteKeyValue(key.get(), name, type, value);
    } catch (const std::bad_alloc&) {
    }
}

RegistryValue FetchRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    try {
        RegistryValue value;
        win::UniqueRegKey key;
        if (RegOpenKeyExA(root, win::ToAnsi(path).c_str(), 0, kRegistryRights, key.put()) == ERROR_SUCCESS)
            ReadKeyValue(key.get(), name, value);
        return value;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace trevolo
