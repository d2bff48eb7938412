// The local heap, the ANSI string helpers, error codes and their texts, and
// the debugger output, over the C library.
#include "compat_internal.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef PARLYTE_TEST_HOOKS
const CompatHooks *TheCompatHooks;

void CompatSetHooks(const CompatHooks *hooks) {
    TheCompatHooks = hooks;
}
#endif

namespace {

thread_local DWORD lastError;

// The system's own wording for the codes a failed file call can set.
const char *SystemMessageText(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.\r\n";
    case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.\r\n";
    case ERROR_ACCESS_DENIED: return "Access is denied.\r\n";
    case ERROR_WRITE_PROTECT: return "The media is write protected.\r\n";
    case ERROR_READ_FAULT: return "The system cannot read from the specified device.\r\n";
    case ERROR_SHARING_VIOLATION:
        return "The process cannot access the file because it is being used by another process.\r\n";
    case ERROR_FILE_EXISTS: return "The file exists.\r\n";
    case ERROR_DISK_FULL: return "There is not enough space on the disk.\r\n";
    case ERROR_DIR_NOT_EMPTY: return "The directory is not empty.\r\n";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.\r\n";
    case ERROR_OPEN_FAILED: return "The system cannot open the device or file specified.\r\n";
    case ERROR_CALL_NOT_IMPLEMENTED: return "This function is not supported on this system.\r\n";
    case ERROR_ALREADY_EXISTS: return "Cannot create a file when that file already exists.\r\n";
    case ERROR_IO_DEVICE: return "The request could not be performed because of an I/O device error.\r\n";
    default: return NULL;
    }
}

} // namespace

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (!HOOK_ALLOWS(allocation)) return NULL;
    void *block = (flags & LMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
    if (block) HOOK_TELL(heapBlock, +1);
    return block;
}

HLOCAL LocalFree(HLOCAL block) {
    if (block) HOOK_TELL(heapBlock, -1);
    free(block);
    return NULL;
}

int lstrlenA(LPCSTR text) { return text ? (int)strlen(text) : 0; }

LPSTR lstrcpyA(LPSTR to, LPCSTR from) {
    if (!to || !from) return NULL;
    return strcpy(to, from);
}

LPSTR lstrcatA(LPSTR to, LPCSTR from) {
    if (!to || !from) return NULL;
    return strcat(to, from);
}

DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

// Only the form the programs use: the system's text, in a buffer this call
// allocates from the local heap.
DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD code, DWORD, LPSTR buffer, DWORD, void *) {
    char own[256];
    const char *text = SystemMessageText(code);
    if (!text && (code & ~0xFFFFu) == CompatErrnoCode(0)) {
        snprintf(own, sizeof own, "%s.\r\n", strerror((int)(code & 0xFFFF)));
        text = own;
    }
    if (!text || !(flags & FORMAT_MESSAGE_ALLOCATE_BUFFER)) return 0;
    DWORD length = (DWORD)strlen(text);
    char *copy = (char *)LocalAlloc(LMEM_FIXED, length + 1);
    if (!copy) return 0;
    memcpy(copy, text, length + 1);
    *(char **)buffer = copy;
    return length;
}

// The debugger output goes nowhere without a debugger.
void OutputDebugStringA(LPCSTR text) {
    HOOK_TELL(debugOutput, text ? text : "");
    (void)text;
}
