// fxt on Windows.
#include "tools/fxt/fxt_platform.h"

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
