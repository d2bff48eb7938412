// Hooks through which native tests steer the stand-in layer and read what the
// program showed: allocations and reads that fail on cue, the debugger output,
// the message boxes, and the folder dialog's scripted answers.
#ifndef PARLYTE_COMPAT_CONTROL_H
#define PARLYTE_COMPAT_CONTROL_H

#include <windows.h>

#include "native_paths.h"

#include <string>
#include <vector>

struct CompatMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};

// Forgets all logs, scripts and planned failures.
void CompatReset(void);

// The allocation with this number (1 for the next LocalAlloc) fails; 0 for none.
void CompatFailAllocation(long number);
long CompatAllocationCount(void);
// Blocks taken with LocalAlloc and not yet freed.
long CompatLiveAllocations(void);

// The ReadFile call with this number (1 for the next one) fails; 0 for none.
void CompatFailRead(long number);
// The file operation with this number (1 for the next one) fails with
// error; 0 for none. Operations are the calls that open, write, flush,
// close, move, make or remove a file or folder.
void CompatFailFileOperation(long number, DWORD error);
// The process ends at once at the file operation with this number, before
// it is made, as a process that is killed: nothing is flushed or undone,
// and the exit status is CompatKilledStatus. 0 for none.
void CompatEndProcessAtFileOperation(long number);
enum { CompatKilledStatus = 86 };
long CompatFileOperationCount(void);
long CompatOpenHandleCount(void);
// Native form of the path of the last CreateFileA call.
const std::string &CompatLastOpenedPath(void);

const std::string &CompatDebugOutput(void);
const std::vector<CompatMessageBox> &CompatMessageBoxes(void);

// Queues the folder dialog's next answer: a path, "" for a pick without a
// file-system path, or cancelled when the queue is empty.
void CompatScriptFolderPick(const std::string &path);
int CompatFolderDialogCount(void);
const std::string &CompatLastFolderDialogTitle(void);
UINT CompatLastFolderDialogFlags(void);

#endif
