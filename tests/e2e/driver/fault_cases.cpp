// Faults start-up must survive: language files that cannot be read, each
// told in the system's own words.
#include "case_checks.h"
#include "cases.h"

namespace {

int LockedLanguageFileCase(const CaseContext &context) {
    std::wstring game = context.workFolder + L"\\game";
    CopyGameData(context.gameFolder, game, NULL);
    // Held open by this process without sharing, as another program may.
    HANDLE held = CreateFileW((game + L"\\GTADATA\\GERMAN.FXT").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    Require(held != INVALID_HANDLE_VALUE, "GERMAN.FXT is held without sharing");
    ExpectLoadFailure(context, game, ERROR_SHARING_VIOLATION);
    CloseHandle(held);
    return CaseResult();
}

int LanguageFileIsAFolderCase(const CaseContext &context) {
    std::wstring game = context.workFolder + L"\\game";
    CopyGameData(context.gameFolder, game, L"ITALIAN.FXT");
    Require(CreateDirectoryW((game + L"\\GTADATA\\ITALIAN.FXT").c_str(), NULL) != 0, "ITALIAN.FXT is a folder");
    ExpectLoadFailure(context, game, ERROR_ACCESS_DENIED);
    return CaseResult();
}

// A pipe by a language file's name, as a game folder on a Linux disk may
// hold: the system's text for a file it cannot open, not a wait for ever.
int PipeLanguageFileCase(const CaseContext &context) {
    std::wstring game = context.workFolder + L"\\game";
    CopyGameData(context.gameFolder, game, L"GERMAN.FXT");
    RunUnixCommand("mkfifo '" + UnixPath(game + L"\\GTADATA\\GERMAN.FXT") + "'", context.workFolder);
    ExpectLoadFailure(context, game, ERROR_OPEN_FAILED);
    return CaseResult();
}

} // namespace

const CaseEntry FaultCases[] = {
    {"locked-language-file", LockedLanguageFileCase},
    {"language-file-is-a-folder", LanguageFileIsAFolderCase},
    {"pipe-language-file", PipeLanguageFileCase},
    {NULL, NULL},
};
