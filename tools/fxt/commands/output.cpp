#include "output.h"

#include "tools/fxt/formats/table.h"
#include "tools/fxt/platform/platform.h"

#include <stdio.h>

namespace {

int WriteStream(FILE *stream, const std::string &utf8, const std::string &bytes) {
    if (IsConsole(stream)) return WriteConsoleText(stream, utf8);
    return fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && fflush(stream) == 0;
}

int WriteStandardOutput(const std::string &utf8, const std::string &bytes) {
    if (WriteStream(stdout, utf8, bytes)) return 1;
    Say("cannot write to standard output");
    return 0;
}

} // namespace

void Say(const std::string &message) {
    std::string line = "fxt: " + message + "\n";
    WriteStream(stderr, line, line);
}

void SayEach(const std::vector<std::string> &messages) {
    for (const std::string &message : messages) Say(message);
}

void SayRefusals(const std::string &path, const Refusals &refusals) {
    for (const std::string &line : RefusalLines(refusals)) Say(NamedPath(path) + ": " + line);
}

int WriteOut(const std::string &bytes, const TextCoding &coding) {
    return WriteReport(bytes, Utf8OfTable(bytes, coding), coding);
}

int WriteReport(const std::string &bytes, const std::string &utf8, const TextCoding &coding) {
    return WriteStandardOutput(utf8, coding.encoding == TABLE_ANSI ? bytes : utf8);
}

int WriteUtf8(const std::string &text) {
    return WriteStandardOutput(text, text);
}

std::string NamedPath(const std::string &path) {
    return path == "-" ? "standard input" : ShownPath(path);
}
