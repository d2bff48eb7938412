// file_holder PATH READY RELEASE: holds PATH open for reading, sharing
// reading only, as another program may hold a game's file. Makes the file
// READY once it holds it, lets go when the file RELEASE appears (or after a
// minute), and removes READY as it ends.
#include <windows.h>

#include <stdio.h>

int wmain(int argc, wchar_t **argv) {
    if (argc != 4) {
        fputs("usage: file_holder PATH READY RELEASE\n", stderr);
        return 2;
    }
    HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (held == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "file_holder: cannot open the file: error %lu\n", GetLastError());
        return 1;
    }
    HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    CloseHandle(ready);
    for (int waited = 0; waited < 60000 && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES; waited += 20) Sleep(20);
    CloseHandle(held);
    DeleteFileW(argv[2]);
    return 0;
}
