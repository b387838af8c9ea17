// Self-registration into the current prefix's HKEY_CLASSES_ROOT: the class
// with this executable as its local server, its ProgID and the type library
// built into the executable. Unregistration removes exactly those.
#pragma once

#include <windows.h>

namespace standin {

HRESULT RegisterServer();
HRESULT UnregisterServer();

}  // namespace standin
