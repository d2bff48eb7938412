// Parlyte's main window as the key-browser cases and the benchmarks work
// it: opened on a game folder, its list and fields read, and the input a
// person sends.
#ifndef PARLYTE_E2E_BROWSER_H
#define PARLYTE_E2E_BROWSER_H

#include "session.h"

#include "tools/fxt/formats/table.h"

struct CaseContext {
    std::wstring exe;
    std::wstring workFolder;
    std::wstring gameFolder;
    std::wstring tableFile;  // the game folder as fxt dump prints it
};

// Writes Parlyte.ini into the work folder with this game folder.
void WriteSettings(const CaseContext &context, const std::wstring &gameFolder);
std::wstring SettingsPath(const CaseContext &context);

struct Browser {
    Session session;
    HWND main;
    HWND combo;
    HWND list;
    HWND edit;
    std::vector<TableRow> rows;
};

// Starts Parlyte on the context's game folder and waits for its window.
Browser OpenBrowser(const CaseContext &context);
// Presses Exit and expects the exit code 0.
void Close(Browser &browser);

std::vector<std::string> ListItems(const Browser &browser);
std::vector<std::string> Fields(const Browser &browser);
// What the four fields show for a row: its texts, CR LF for each bare line
// feed, or "N/A".
std::vector<std::string> Shown(const TableRow &row);
int Selection(const Browser &browser);
// The first key in list order that starts with prefix, in any letter case,
// or -1.
int FirstMatch(const Browser &browser, const std::string &prefix);

// Input, each waited for until handled; typing and pasting replace the
// key field's whole text.
void ClickItem(const Browser &browser, int index);
void PressKey(const Browser &browser, WPARAM key);
void Type(const Browser &browser, const std::string &text);
void Paste(const Browser &browser, const std::string &text);
// Keys pressed together, as a person presses them, to the window with the
// focus in Parlyte's window foreground.
void PressKeys(const Browser &browser, HWND foreground, std::initializer_list<WORD> keys);

#endif
