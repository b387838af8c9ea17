// Module1's registry helpers. Everything goes through the ANSI functions of
// advapi32, so key paths, value names and texts cross in the ANSI code page,
// and every open asks for the same rights whether it reads or writes.
// Nothing here shows anything or throws: failures are return codes or an
// empty value, and no key stays open after a call.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "RegistryValue.h"

namespace trevolo {

// Query, set, create sub-key, enumerate, notify and create link.
inline constexpr REGSAM kRegistryRights = 0x3F;

inline constexpr std::int32_t kRegistryText = REG_SZ;        // 1
inline constexpr std::int32_t kRegistryInteger = REG_DWORD;  // 4

// Type 1 stores the value's text form and one NUL byte; type 4 stores the
// value's integer (ERROR_INVALID_DATA when it holds none). The result is
// RegSetValueExA's code, or 0 when the type is neither and nothing is written.
std::int32_t WriteKeyValue(HKEY key, const std::wstring& name, std::int32_t type, const RegistryValue& value);

// 0 and `value` set on success; the registry's code on failure, leaving
// `value` alone (except a text read failing at its second query, which
// empties it); -1 for a value of any other type. A stored text comes back
// whole, its terminating NUL included.
std::int32_t ReadKeyValue(HKEY key, const std::wstring& name, RegistryValue& value);

// Opens or creates the key, with any missing keys on the way; values of an
// existing key stay as they are.
void CreateRegistryKey(HKEY root, const std::wstring& path);

// Stores into an existing key only: a key that is missing, or that refuses
// the rights, gets nothing.
void StoreRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, const RegistryValue& value,
                        std::int32_t type);

// Empty when the key cannot be opened or the value cannot be read.
RegistryValue FetchRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name);

}  // namespace trevolo
