// fxt's table file, through the system's file calls: the stand-in layer's on
// Linux, Windows' own on Windows.
#include "fxt_files.h"

#include "text/text_store.h"

#include <algorithm>
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

int ReadWholeHandle(HANDLE file, std::string *content) {
    char block[LANGUAGE_FILE_BLOCK];
    DWORD count = 0;
    BOOL read;
    while ((read = ReadFile(file, block, sizeof block, &count, NULL)) && count > 0) content->append(block, count);
    return read;
}

int ReadWholeFile(const std::string &path, std::string *content) {
    content->clear();
    if (path == "-") return ReadStandardInput(content);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int read = ReadWholeHandle(file, content);
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return read;
}

bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

static char UpperCase(char ch) {
    return ch >= 'a' && ch <= 'z' ? (char)(ch - 32) : ch;
}

bool SameButForCase(const std::string &left, const std::string &right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i)
        if (UpperCase(left[i]) != UpperCase(right[i])) return false;
    return true;
}

std::vector<std::string> NamesInAnyCase(const std::string &folder, const std::string &name) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (SameButForCase(found.cFileName, name)) names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
