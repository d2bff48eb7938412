// The end-to-end cases. Each gets Parlyte's path, an empty work folder to
// start it in, and a game folder made by fxt; it returns CaseResult().
#ifndef PARLYTE_E2E_CASES_H
#define PARLYTE_E2E_CASES_H

#include <string>

struct CaseContext {
    std::wstring exe;
    std::wstring workFolder;
    std::wstring gameFolder;
    std::wstring tableFile;  // the game folder as fxt dump prints it
};

typedef int (*CaseFunction)(const CaseContext &context);

struct CaseEntry {
    const char *name;
    CaseFunction run;
};

// Writes Parlyte.ini into the work folder with this game folder.
void WriteSettings(const CaseContext &context, const std::wstring &gameFolder);
std::wstring SettingsPath(const CaseContext &context);

extern const CaseEntry StartupCases[];
extern const CaseEntry KeyBrowserCases[];

#endif
