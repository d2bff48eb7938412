// fxt's files, through the system's file calls: the stand-in layer's on
// Linux, Windows' own on Windows.
#include "fxt_files.h"

#include "fxt_platform.h"

#include "text/text_store.h"

#include <stdio.h>

namespace {

int ReadStandardInput(std::string *content) {
    char block[LANGUAGE_FILE_BLOCK];
    size_t count;
    while ((count = fread(block, 1, sizeof block, stdin)) > 0) content->append(block, count);
    return !ferror(stdin);
}

int WriteWholeFile(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    BOOL wrote = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL) && written == bytes.size();
    DWORD error = GetLastError();
    BOOL closed = CloseHandle(file);
    SetLastError(error);
    return wrote && closed;
}

// A folder that is there afterwards, made or found.
int MakeFolder(const std::string &path) {
    if (CreateDirectoryA(path.c_str(), NULL)) return 1;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    SetLastError(error);
    return 0;
}

std::string Failed(const std::string &path) {
    return ShownPath(path) + ": " + LastErrorText();
}

} // namespace

std::string LastErrorText(void) {
    DWORD code = GetLastError();
    char *text = SystemErrorText(code);
    std::string line = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
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

int WriteLanguageFiles(const std::string &folder, const std::string images[TABLE_LANGUAGES], std::string *error) {
    std::string data = folder + "GTADATA";
    for (const std::string &each : {folder, data})
        if (!MakeFolder(each)) {
            *error = Failed(each);
            return 0;
        }
    std::string finals[TABLE_LANGUAGES];
    std::string temporaries[TABLE_LANGUAGES];
    for (int i = 0; i < TABLE_LANGUAGES; ++i) {
        finals[i] = folder + LanguageFileNames[i];
        temporaries[i] = finals[i] + ".tmp";
    }
    int written = 1;
    for (int i = 0; written && i < TABLE_LANGUAGES; ++i)
        if (!WriteWholeFile(temporaries[i], images[i])) {
            *error = Failed(temporaries[i]);
            written = 0;
        }
    for (int i = 0; written && i < TABLE_LANGUAGES; ++i)
        if (!MoveFileExA(temporaries[i].c_str(), finals[i].c_str(), MOVEFILE_REPLACE_EXISTING)) {
            *error = Failed(finals[i]);
            written = 0;
        }
    if (!written)
        for (const std::string &temporary : temporaries) DeleteFileA(temporary.c_str());
    return written;
}
