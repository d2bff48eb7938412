// What the stand-in layer's files share among themselves: the tests' hooks
// where they are built in, and nothing where they are not.
#ifndef PARLYTE_COMPAT_INTERNAL_H
#define PARLYTE_COMPAT_INTERNAL_H

#include <windows.h>

#ifdef PARLYTE_TEST_HOOKS
#include "compat_hooks.h"

extern const CompatHooks *TheCompatHooks;

#define HOOK_ALLOWS(name) (!TheCompatHooks || TheCompatHooks->name())
#define HOOK_TELL(name, argument) (TheCompatHooks ? TheCompatHooks->name(argument) : (void)0)
#else
#define HOOK_ALLOWS(name) 1
#define HOOK_TELL(name, argument) ((void)0)
#endif

#endif
