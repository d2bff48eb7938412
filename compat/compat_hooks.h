// The one way the tests reach into the stand-in layer: a table of hooks
// that only the tests' build of the layer calls (PARLYTE_TEST_HOOKS). The
// layer built for users has no hook, and calls none.
#ifndef PARLYTE_COMPAT_HOOKS_H
#define PARLYTE_COMPAT_HOOKS_H

#include <windows.h>

struct CompatHooks {
    // Before each call that opens, writes, flushes, closes, moves, makes or
    // removes a file or folder; 0, with the last error set, fails it.
    int (*fileOperation)(void);
    // Before each ReadFile, and each LocalAlloc: 0 fails it.
    int (*read)(void);
    int (*allocation)(void);
    // A block of the local heap, or a file or search handle, taken (+1) or
    // given back (-1).
    void (*heapBlock)(int change);
    void (*handle)(int change);
    // The native path of each CreateFileA.
    void (*opened)(const char *path);
    // The native path of a file opened as itself, as it is removed or
    // renamed through its handle, just before.
    void (*acting)(const char *path);
    // What OutputDebugStringA is given.
    void (*debugOutput)(const char *text);
};

// Set by the tests; null calls no hook.
void CompatSetHooks(const CompatHooks *hooks);

#endif
