// Stand-in for a file of Corel's Corel SCRIPT runtime of CorelDRAW 9. Only
// its name and version block matter to the add-on install, which writes it
// over CorelDRAW's own; the library itself does nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
