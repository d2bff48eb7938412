// fxt on Linux: the system calls are the stand-in layer's, which finds a
// Windows path among this system's files. A terminal shows the UTF-8 bytes
// fxt writes, so standard output is never treated as a console.
#include "tools/fxt/platform/platform.h"

#include "compat/native_paths.h"

void UseBinaryStandardStreams(void) {}

std::string ShownPath(const std::string &path) {
    return CompatNativePath(path.c_str());
}

void FindNamesInAnyCaseBelow(const std::string &folder) {
    CompatIgnoreCaseOnlyBelow(folder);
}

std::string FinalPathOf(HANDLE file) {
    char path[4096];
    DWORD length = GetFinalPathNameByHandleA(file, path, sizeof path, 0);
    return length > 0 && length < sizeof path ? std::string(path, length) : "";
}

bool WritesToConsole(void) {
    return false;
}

int WriteConsoleCharacters(const std::string &) {
    return 0;
}
