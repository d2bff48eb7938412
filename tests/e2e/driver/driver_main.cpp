// e2e_driver CASE PARLYTE.EXE WORKFOLDER GAMEFOLDER TABLEFILE
// Runs one end-to-end case against Parlyte; exit status 0 when it passed.
#include "cases.h"
#include "session.h"

#include <iostream>

int wmain(int argc, wchar_t **argv) {
    if (argc != 6) {
        std::cerr << "usage: e2e_driver CASE PARLYTE.EXE WORKFOLDER GAMEFOLDER TABLEFILE\n";
        return 2;
    }
    std::string name = Narrow(argv[1]);
    CaseContext context = {argv[2], argv[3], argv[4], argv[5]};
    for (const CaseEntry *table : {StartupCases, KeyBrowserCases, FaultCases, ResourceCases})
        for (const CaseEntry *entry = table; entry->name; ++entry)
            if (name == entry->name) return entry->run(context);
    std::cerr << "no case " << name << "\n";
    return 2;
}
