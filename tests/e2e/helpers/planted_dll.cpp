// A DLL someone may plant beside a program, under the name of one the
// program loads: when its code runs, it leaves the file "planted-dll-ran"
// in the current folder, then refuses to load, so that the real one is used.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    HANDLE mark = CreateFileW(L"planted-dll-ran", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    CloseHandle(mark);
    return FALSE;
}
