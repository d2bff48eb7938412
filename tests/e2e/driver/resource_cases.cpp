// The exe's version resource, read from the file.
#include "case_checks.h"
#include "cases.h"

namespace {

// What Windows shows in the exe's properties: version 0.1, U.S. English in
// code page 1252, and the names.
int VersionCase(const CaseContext &context) {
    ExeVersion version = ReadExeVersion(context.exe);
    std::map<std::string, std::string> &strings = version.strings;
    Require(!strings.empty(), "the exe has a version resource in U.S. English, code page 1252");
    const VS_FIXEDFILEINFO &fixed = version.fixed;
    Expect(fixed.dwSignature == VS_FFI_SIGNATURE && fixed.dwFileVersionMS == 0x00000001 &&
               fixed.dwFileVersionLS == 0 && fixed.dwProductVersionMS == 0x00000001 && fixed.dwProductVersionLS == 0,
           "file and product version 0.1.0.0");
    Expect(fixed.dwFileType == VFT_APP && fixed.dwFileOS == VOS_NT_WINDOWS32, "an application for Windows");
    const std::map<std::string, std::string> expected = {
        {"FileVersion", "0.1"}, {"ProductVersion", "0.1"}, {"ProductName", "Parlyte"},
        {"OriginalFilename", "Parlyte.exe"}, {"InternalName", "Parlyte"}};
    for (const auto &value : expected)
        Expect(strings[value.first] == value.second, value.first + " \"" + strings[value.first] + "\"");
    const std::string &description = strings["FileDescription"];
    Expect(!description.empty() && description.find('\n') == std::string::npos,
           "a one-line FileDescription: \"" + description + "\"");
    return CaseResult();
}

} // namespace

const CaseEntry ResourceCases[] = {
    {"version", VersionCase},
    {NULL, NULL},
};
