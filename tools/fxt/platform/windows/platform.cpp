// fxt on Windows.
#include "tools/fxt/platform/platform.h"

#include "tools/fxt/formats/encoding.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

void UseBinaryStandardStreams(void) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string ShownPath(const std::string &path) {
    std::string shown = path;
    for (char &ch : shown)
        if (ch == '/') ch = '\\';
    return shown;
}

// Windows finds names in any letter case by itself.
void FindNamesInAnyCaseBelow(const std::string &) {}

// Found when it is called, so that fxt.exe still starts where it is not.
std::string FinalPathOf(HANDLE file) {
    typedef DWORD(WINAPI * FinalPathCall)(HANDLE, LPSTR, DWORD, DWORD);
    static FinalPathCall call =
        (FinalPathCall)(void (*)(void))GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA");
    char path[MAX_PATH * 4];
    DWORD length = call ? call(file, path, sizeof path, 0) : 0;
    return length > 0 && length < sizeof path ? std::string(path, length) : "";
}

bool WritesToConsole(void) {
    DWORD mode;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

int WriteConsoleCharacters(const std::string &windows1252) {
    std::wstring characters;
    characters.reserve(windows1252.size());
    for (char byte : windows1252) characters += (wchar_t)Windows1252Character((unsigned char)byte);
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    for (size_t done = 0; done < characters.size();) {
        DWORD chunk = (DWORD)std::min<size_t>(characters.size() - done, 16384), written = 0;
        if (!WriteConsoleW(console, characters.data() + done, chunk, &written, NULL) || written == 0) return 0;
        done += written;
    }
    return 1;
}
