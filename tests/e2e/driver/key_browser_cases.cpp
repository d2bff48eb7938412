// The key browser: the list, the four fields, and finding keys by typing.
#include "cases.h"
#include "session.h"

const CaseEntry KeyBrowserCases[] = {
    {NULL, NULL},
};
