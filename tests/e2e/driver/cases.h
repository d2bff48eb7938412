// The end-to-end cases. Each gets Parlyte's path, an empty work folder to
// start it in, and a game folder made by fxt; it returns CaseResult().
#ifndef PARLYTE_E2E_CASES_H
#define PARLYTE_E2E_CASES_H

#include "browser.h"

typedef int (*CaseFunction)(const CaseContext &context);

struct CaseEntry {
    const char *name;
    CaseFunction run;
};

extern const CaseEntry StartupCases[];
extern const CaseEntry KeyBrowserCases[];
extern const CaseEntry FaultCases[];
extern const CaseEntry ResourceCases[];
extern const CaseEntry FindCases[];

#endif
