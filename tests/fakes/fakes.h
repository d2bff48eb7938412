// The tests' fakes of the Windows calls only tests need, and their steering
// of the stand-in layer through its hooks: allocations, reads and file
// operations that fail on cue, a process that ends at a file operation as
// when it is killed, what the program wrote to the debugger output and the
// message boxes it showed, and the folder dialog's scripted answers.
#ifndef PARLYTE_FAKES_H
#define PARLYTE_FAKES_H

#include <windows.h>

#include "compat/native_paths.h"

#include <string>
#include <vector>

struct FakeMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};

// Forgets all logs, scripts and planned failures, and puts the hooks in.
void FakeReset(void);

// The allocation with this number (1 for the next LocalAlloc) fails; 0 for none.
void FakeFailAllocation(long number);
long FakeAllocationCount(void);
// Blocks taken with LocalAlloc and not yet freed.
long FakeLiveAllocations(void);

// The ReadFile call with this number (1 for the next one) fails; 0 for none.
void FakeFailRead(long number);
// The file operation with this number (1 for the next one) fails with
// error; 0 for none. Operations are the calls that open, write, flush,
// close, move, make or remove a file or folder.
void FakeFailFileOperation(long number, DWORD error);
// The process ends at once at the file operation with this number, before
// it is made, as a process that is killed: nothing is flushed or undone,
// and the exit status is FakeKilledStatus. 0 for none.
void FakeEndProcessAtFileOperation(long number);
enum { FakeKilledStatus = 86 };
// The process stops before the file operation with this number, as a busy
// machine may stop it: it writes a byte to the descriptor paused, and goes
// on once it reads one from resume. 0 for none.
void FakePauseAtFileOperation(long number, int paused, int resume);
long FakeFileOperationCount(void);
long FakeOpenHandleCount(void);
// Just before a file opened as itself is removed or renamed through its
// handle, where its name ends with name: the file is moved aside (NAME.moved)
// and a link to target takes its place, once.
void FakeSwapInLinkWhenActingOn(const std::string &name, const std::string &target);
// Native form of the path of the last CreateFileA call.
const std::string &FakeLastOpenedPath(void);

const std::string &FakeDebugOutput(void);
const std::vector<FakeMessageBox> &FakeMessageBoxes(void);

// Queues the folder dialog's next answer: a path, "" for a pick without a
// file-system path, or cancelled when the queue is empty.
void FakeScriptFolderPick(const std::string &path);
int FakeFolderDialogCount(void);
const std::string &FakeLastFolderDialogTitle(void);
UINT FakeLastFolderDialogFlags(void);

// What the fakes' files share among themselves.
void ResetFolderDialog(void);

#endif
