// Files through the system's calls: the stand-in layer's on Linux, Windows'
// own on Windows. Standard input through the C library, whose text for a
// failure is the one there is.
#include "files.h"

#include "text/text_store.h"
#include "tools/fxt/platform/platform.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

namespace {

int ReadStandardInput(std::string *content, std::string *error) {
    char block[LANGUAGE_FILE_BLOCK];
    size_t count;
    while ((count = fread(block, 1, sizeof block, stdin)) > 0) content->append(block, count);
    if (!ferror(stdin)) return 1;
    *error = strerror(errno);
    return 0;
}

} // namespace

std::string ErrorText(DWORD code) {
    std::string line = SystemErrorText(code);
    if (line.empty()) line = "error " + std::to_string(code);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

std::string LastErrorText(void) {
    return ErrorText(GetLastError());
}

int ReadWholeHandle(HANDLE file, std::string *content) {
    char block[LANGUAGE_FILE_BLOCK];
    DWORD count = 0;
    BOOL read;
    while ((read = ReadFile(file, block, sizeof block, &count, NULL)) && count > 0) content->append(block, count);
    return read;
}

int ReadWholeFile(const std::string &path, std::string *content, std::string *error) {
    content->clear();
    if (path == "-") return ReadStandardInput(content, error);
    HANDLE file =
        OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL);
    int read = file != INVALID_HANDLE_VALUE && ReadWholeHandle(file, content);
    if (!read) *error = LastErrorText();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return read;
}

bool Exists(const std::string &path) {
    return PathAttributes(path) != INVALID_FILE_ATTRIBUTES;
}
