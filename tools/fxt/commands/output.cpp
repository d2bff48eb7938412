#include "output.h"

#include "tools/fxt/platform/platform.h"

#include <stdio.h>

static int WriteBytes(FILE *stream, const std::string &bytes) {
    return fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && fflush(stream) == 0;
}

void Say(const std::string &message) {
    std::string line = "fxt: " + message + "\n";
    fputs(line.c_str(), stderr);
}

void SayEach(const std::vector<std::string> &messages) {
    for (const std::string &message : messages) Say(message);
}

int WriteOut(const std::string &bytes, TableEncoding encoding) {
    return WriteText(bytes, EncodedTable(bytes, encoding));
}

int WriteText(const std::string &windows1252, const std::string &encoded) {
    if (WritesToConsole() ? WriteConsoleCharacters(windows1252) : WriteBytes(stdout, encoded)) return 1;
    Say("cannot write to standard output");
    return 0;
}

std::string NamedPath(const std::string &path) {
    return path == "-" ? "standard input" : ShownPath(path);
}
