// fxt on Linux: the system calls are the stand-in layer's, which finds a
// Windows path among this system's files.
#include "tools/fxt/fxt_platform.h"

#include "compat/native_paths.h"

void UseBinaryStandardStreams(void) {}

std::string ShownPath(const std::string &path) {
    return CompatNativePath(path.c_str());
}
