// The test driver's view of a running Parlyte: starting it, finding its
// windows with bounded waits, reading what they show and sending the input a
// person sends. Runs under Wine as a Win64 console program.
#ifndef PARLYTE_E2E_SESSION_H
#define PARLYTE_E2E_SESSION_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

extern DWORD WindowTimeout;  // milliseconds, for every wait

// Checks report to standard output; a failed requirement ends the case.
void Expect(bool condition, const std::string &what);
[[noreturn]] void Fail(const std::string &what);
void Require(bool condition, const std::string &what);
int CaseResult(void);

std::string Narrow(const std::wstring &text);
std::wstring Widen(const std::string &text);

// The started program; killed when a case fails.
struct Session {
    PROCESS_INFORMATION process;
    std::wstring workFolder;
};

// Starts the program and checks that it runs as a process of its exe's kind.
Session StartParlyte(const std::wstring &exe, const std::wstring &workFolder);
// 32 or 64 for a Windows program of that kind, else 0.
int ProgramBits(const std::wstring &exe);
DWORD WaitForExit(Session &session);
bool IsRunning(const Session &session);
// The window that has the keyboard focus in Parlyte's thread.
HWND FocusOf(const Session &session);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

HWND FindTopWindow(const Session &session, const std::function<bool(HWND)> &matches);
HWND WaitForTopWindow(const Session &session, const std::function<bool(HWND)> &matches, const std::string &what);

bool IsMainWindow(HWND window);
bool IsFolderDialog(HWND window);
bool IsMessageBox(HWND window);
HWND WaitForMainWindow(const Session &session);
HWND WaitForFolderDialog(const Session &session);
HWND WaitForMessageBox(const Session &session, const std::string &caption);
std::string MessageBoxText(HWND box);
// The icon a message box shows, as the system's icon it is (IDI_HAND, ...).
LPCWSTR MessageBoxIcon(HWND box);

// What the screen shows of an area of a window's client area, as 0xRRGGBB
// pixels by rows from the top.
std::vector<DWORD> ClientPixels(HWND window, RECT area);
// Whether a system colour (COLOR_WINDOW, ...) shows there, or in all the
// client area.
bool ShowsColor(HWND window, int color, const RECT *area = nullptr);
// Saves what the screen shows of the window as a BMP file.
void SaveScreenshot(HWND window, const std::wstring &path);

// Clicks a push button the way the mouse does, through the target's queue.
void PressButton(HWND dialog, int id);
void PostKey(HWND target, WPARAM key);
// Keys pressed in order and let go in the other, through the system's input
// as from a keyboard: to the window with the focus in the foreground.
void SendKeys(std::initializer_list<WORD> keys);
void PostChars(HWND target, const std::string &text);
void ClickAt(HWND target, int x, int y);
// The mouse moved to a screen point, a button pressed or let go there.
void SendMouse(POINT at, DWORD buttons);
// Whether holds() within 2 s: for input through the system's queue.
bool Eventually(const std::function<bool()> &holds);
// Waits until everything posted to the window's thread before this call has
// been handled.
void WaitUntilHandled(HWND dialog);

// The Unix path of a Z: path.
std::string UnixPath(const std::wstring &path);
// Runs a shell command on the Unix side of Wine and returns what it printed;
// the work folder, a Z: path, holds its output file.
std::string RunUnixCommand(const std::string &command, const std::wstring &workFolder);

std::string ReadFileBytes(const std::wstring &path);
void WriteFileBytes(const std::wstring &path, const std::string &bytes);

#endif
