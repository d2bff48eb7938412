// e2e_driver CASE BITS PARLYTE.EXE WORKFOLDER GAMEFOLDER TABLEFILE
// Runs one end-to-end case against Parlyte, a BITS-bit (32 or 64) program;
// exit status 0 when it passed.
#include "cases.h"
#include "session.h"

#include <iostream>

int wmain(int argc, wchar_t **argv) {
    if (argc != 7) {
        std::cerr << "usage: e2e_driver CASE BITS PARLYTE.EXE WORKFOLDER GAMEFOLDER TABLEFILE\n";
        return 2;
    }
    std::string name = Narrow(argv[1]);
    int bits = _wtoi(argv[2]);
    CaseContext context = {argv[3], argv[4], argv[5], argv[6]};
    for (const CaseEntry *table : {StartupCases, KeyBrowserCases, FaultCases, ResourceCases, FindCases})
        for (const CaseEntry *entry = table; entry->name; ++entry)
            if (name == entry->name) {
                Require(ProgramBits(context.exe) == bits, Narrow(context.exe) + " is a " + std::to_string(bits) +
                                                              "-bit Windows program");
                return entry->run(context);
            }
    std::cerr << "no case " << name << "\n";
    return 2;
}
