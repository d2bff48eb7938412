// The hooks the tests put into the stand-in layer, and the recorders of what
// the program showed: message boxes and the debugger output.
#include "fakes.h"

#include "compat/compat_hooks.h"

#include <stdarg.h>
#include <stdio.h>
#include <unistd.h>

#include <string>

namespace {

long allocationCount, failingAllocation, liveAllocations;
long readCount, failingRead;
long operationCount, failingOperation, endingOperation, pausingOperation;
int pausedDescriptor, resumeDescriptor;
DWORD failingOperationError;
long openHandles;
std::string lastOpenedPath;
std::string swappedName, swapTarget;
std::string debugOutput;
std::vector<FakeMessageBox> messageBoxes;

int FileOperation(void) {
    ++operationCount;
    if (operationCount == endingOperation) _exit(FakeKilledStatus);
    if (operationCount == pausingOperation) {
        char byte = 0;
        if (write(pausedDescriptor, &byte, 1) != 1 || read(resumeDescriptor, &byte, 1) != 1) _exit(FakeKilledStatus);
    }
    if (operationCount != failingOperation) return 1;
    SetLastError(failingOperationError);
    return 0;
}

int Read(void) { return ++readCount != failingRead; }
int Allocation(void) { return ++allocationCount != failingAllocation; }
void HeapBlock(int change) { liveAllocations += change; }
void Handle(int change) { openHandles += change; }
void Opened(const char *path) { lastOpenedPath = path; }
void Acting(const char *path) {
    std::string acted = path;
    if (swappedName.empty() || acted.size() < swappedName.size() ||
        acted.compare(acted.size() - swappedName.size(), swappedName.size(), swappedName) != 0)
        return;
    swappedName.clear();
    if (rename(path, (acted + ".moved").c_str()) != 0 || symlink(swapTarget.c_str(), path) != 0) _exit(FakeKilledStatus);
}
void DebugOutput(const char *text) { debugOutput += text; }

const CompatHooks Hooks = {FileOperation, Read, Allocation, HeapBlock, Handle, Opened, Acting, DebugOutput};

} // namespace

void FakeReset(void) {
    CompatSetHooks(&Hooks);
    SetLastError(0);
    allocationCount = failingAllocation = 0;
    readCount = failingRead = 0;
    operationCount = failingOperation = endingOperation = pausingOperation = 0;
    lastOpenedPath.clear();
    swappedName.clear();
    debugOutput.clear();
    messageBoxes.clear();
    CompatIgnoreCaseEverywhere();
    ResetFolderDialog();
}

void FakeFailAllocation(long number) { failingAllocation = number == 0 ? 0 : allocationCount + number; }
long FakeAllocationCount(void) { return allocationCount; }
long FakeLiveAllocations(void) { return liveAllocations; }
void FakeFailRead(long number) { failingRead = number == 0 ? 0 : readCount + number; }

void FakeFailFileOperation(long number, DWORD error) {
    failingOperation = number == 0 ? 0 : operationCount + number;
    failingOperationError = error;
}

void FakeEndProcessAtFileOperation(long number) { endingOperation = number == 0 ? 0 : operationCount + number; }
void FakePauseAtFileOperation(long number, int paused, int resume) {
    pausingOperation = number == 0 ? 0 : operationCount + number;
    pausedDescriptor = paused;
    resumeDescriptor = resume;
}

void FakeSwapInLinkWhenActingOn(const std::string &name, const std::string &target) {
    swappedName = name;
    swapTarget = target;
}

long FakeFileOperationCount(void) { return operationCount; }
long FakeOpenHandleCount(void) { return openHandles; }
const std::string &FakeLastOpenedPath(void) { return lastOpenedPath; }
const std::string &FakeDebugOutput(void) { return debugOutput; }
const std::vector<FakeMessageBox> &FakeMessageBoxes(void) { return messageBoxes; }

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    messageBoxes.push_back(FakeMessageBox{text ? text : "", caption ? caption : "", type});
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
