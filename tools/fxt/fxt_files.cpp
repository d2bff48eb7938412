// fxt's table file, through the system's file calls: the stand-in layer's on
// Linux, Windows' own on Windows.
#include "fxt_files.h"

#include "text/text_store.h"

#include <stdio.h>

namespace {

int ReadStandardInput(std::string *content) {
    char block[LANGUAGE_FILE_BLOCK];
    size_t count;
    while ((count = fread(block, 1, sizeof block, stdin)) > 0) content->append(block, count);
    return !ferror(stdin);
}

} // namespace

std::string ErrorText(DWORD code) {
    char *text = SystemErrorText(code);
    std::string line = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string LastErrorText(void) {
    return ErrorText(GetLastError());
}

int ReadWholeFile(const std::string &path, std::string *content) {
    content->clear();
    if (path == "-") return ReadStandardInput(content);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char block[LANGUAGE_FILE_BLOCK];
    DWORD count = 0;
    BOOL read;
    while ((read = ReadFile(file, block, sizeof block, &count, NULL)) && count > 0) content->append(block, count);
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return read;
}
