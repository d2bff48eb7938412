// The local heap, the ANSI string helpers, error codes and their texts, the
// debugger output, message boxes and wsprintfA, over the C library.
#include "compat_control.h"
#include "compat_internal.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

thread_local DWORD lastError;
long allocationCount;
long failingAllocation;
long liveAllocations;
std::string debugOutput;
std::vector<CompatMessageBox> messageBoxes;

// The system's own wording for the codes a failed file call can set.
const char *SystemMessageText(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return "The system cannot find the file specified.\r\n";
    case ERROR_PATH_NOT_FOUND: return "The system cannot find the path specified.\r\n";
    case ERROR_ACCESS_DENIED: return "Access is denied.\r\n";
    case ERROR_SHARING_VIOLATION:
        return "The process cannot access the file because it is being used by another process.\r\n";
    case ERROR_FILE_EXISTS: return "The file exists.\r\n";
    case ERROR_DISK_FULL: return "There is not enough space on the disk.\r\n";
    case ERROR_ALREADY_EXISTS: return "Cannot create a file when that file already exists.\r\n";
    default: return NULL;
    }
}

} // namespace

void ResetSystemCalls(void) {
    lastError = 0;
    allocationCount = 0;
    failingAllocation = 0;
    debugOutput.clear();
    messageBoxes.clear();
}

void CompatReset(void) {
    ResetSystemCalls();
    ResetFileCalls();
    ResetFolderDialog();
}

void CompatFailAllocation(long number) {
    failingAllocation = number == 0 ? 0 : allocationCount + number;
}

long CompatAllocationCount(void) { return allocationCount; }
long CompatLiveAllocations(void) { return liveAllocations; }
const std::string &CompatDebugOutput(void) { return debugOutput; }
const std::vector<CompatMessageBox> &CompatMessageBoxes(void) { return messageBoxes; }

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if (++allocationCount == failingAllocation) return NULL;
    void *block = (flags & LMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
    if (block) ++liveAllocations;
    return block;
}

HLOCAL LocalFree(HLOCAL block) {
    if (block) --liveAllocations;
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

// Only the form the program uses: the system's text, in a buffer this call
// allocates from the local heap.
DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD code, DWORD, LPSTR buffer, DWORD, void *) {
    const char *text = SystemMessageText(code);
    if (!text || !(flags & FORMAT_MESSAGE_ALLOCATE_BUFFER)) return 0;
    DWORD length = (DWORD)strlen(text);
    char *copy = (char *)LocalAlloc(LMEM_FIXED, length + 1);
    if (!copy) return 0;
    memcpy(copy, text, length + 1);
    *(char **)buffer = copy;
    return length;
}

void OutputDebugStringA(LPCSTR text) { debugOutput += text ? text : ""; }

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    messageBoxes.push_back(CompatMessageBox{text ? text : "", caption ? caption : "", type});
    return IDOK;
}

// wsprintfA writes at most 1024 characters and the terminator.
int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(buffer, 1025, format, arguments);
    va_end(arguments);
    return length > 1024 ? 1024 : length;
}
