// The Find dialog: opened by Ctrl+F, F3 and the system menu; searches for a
// text in the keys and the four languages, as table rows worked one after
// the other on tests/data/find.tsv; F3 and Shift+F3 once it is closed.
#include "cases.h"
#include "session.h"

#include "res/resource.h"

namespace {

bool IsFindDialog(HWND window) {
    return ClassName(window) == "#32770" && WindowText(window) == "Find" && GetDlgItem(window, IDC_FIND_TEXT);
}

HWND WaitForFindDialog(const Browser &browser) {
    return WaitForTopWindow(browser.session, IsFindDialog, "Find dialog");
}

// Keys pressed together, as a person presses them, to the window with the
// focus in Parlyte's foreground window.
void PressTogether(const Browser &browser, HWND foreground, std::initializer_list<WORD> keys) {
    SetForegroundWindow(foreground);
    SendKeys(keys);
    WaitUntilHandled(browser.main);
    WaitUntilHandled(browser.main);
}

// What each of the four fields has selected, as "start-end".
std::vector<std::string> FieldSelections(const Browser &browser) {
    std::vector<std::string> selections;
    for (int language = 0; language < TABLE_LANGUAGES; ++language) {
        DWORD start = 0, end = 0;
        SendMessageW(GetDlgItem(browser.main, IDC_ENGLISH + language), EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        selections.push_back(std::to_string(start) + "-" + std::to_string(end));
    }
    return selections;
}

std::string Describe(const std::vector<std::string> &selections) {
    std::string text;
    for (const std::string &selection : selections) text += " " + selection;
    return text;
}

// Whether the character at offset shows in the field, which shows one line:
// its line is the one scrolled into view, and it lies within the width.
bool ShowsCharacter(const Browser &browser, int language, DWORD offset) {
    HWND field = GetDlgItem(browser.main, IDC_ENGLISH + language);
    LRESULT position = SendMessageW(field, EM_POSFROMCHAR, offset, 0);
    RECT client;
    GetClientRect(field, &client);
    int x = (short)LOWORD(position);
    return position != -1 && x >= client.left && x < client.right &&
           SendMessageW(field, EM_LINEFROMCHAR, offset, 0) == SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0);
}

int KeyPosition(const Browser &browser, const std::string &key) {
    for (size_t i = 0; i < browser.rows.size(); ++i)
        if (browser.rows[i].key == key) return (int)i;
    Fail("the data has no key " + key);
}

// How a search is started.
enum Start { FIND_NEXT_BUTTON, ENTER_KEY, F3_KEY, SHIFT_F3_KEYS };

struct Search {
    const char *text;  // the text searched, typed over the dialog's unless typed is false
    bool typed;
    bool matchCase;
    Start start;
    const char *key;   // the key found, or null for none
    int language;      // the field holding it, -1 for the key only
    DWORD offset;
};

// Rows worked in turn; each starts from the key the one before selected.
const Search Searches[] = {
    {"frenzy", true, false, FIND_NEXT_BUTTON, "KF_1", 0, 5},       // English, any letter case
    {"car_t", true, false, ENTER_KEY, "CAR_THEFT", -1, 0},         // the key only
    {"tuerie", true, false, ENTER_KEY, "KF_1", 1, 0},              // French, round past the last key
    {"AMOKLAUF", true, false, ENTER_KEY, "KF_1", 2, 0},            // German, in the selected key itself
    {"strage!", true, false, ENTER_KEY, "KF_1", 3, 0},             // Italian
    {"the docks", true, false, ENTER_KEY, "CAR_THEFT", 0, 31},     // on the text's second line
    {"\xC9LAN", true, false, ENTER_KEY, "ETE", 1, 0},              // É finds é
    {"elan", true, false, ENTER_KEY, nullptr, 0, 0},               // e does not
    {"N/A", true, false, ENTER_KEY, nullptr, 0, 0},                // absent texts are no texts
    {"harbour", true, true, ENTER_KEY, nullptr, 0, 0},             // Match case
    {"Harbour", true, true, FIND_NEXT_BUTTON, "WELCOME", 0, 11},   // round past the last key
    {"it", true, false, FIND_NEXT_BUTTON, "CAR_THEFT", 0, 25},
};

// After Cancel, with the last text "it", which WELCOME ("City") and
// CAR_THEFT hold.
const Search Again[] = {
    {"it", false, false, F3_KEY, "WELCOME", 0, 20},           // round past the last key
    {"it", false, false, F3_KEY, "CAR_THEFT", 0, 25},
    {"it", false, false, SHIFT_F3_KEYS, "WELCOME", 0, 20},    // backwards
    {"it", false, false, SHIFT_F3_KEYS, "CAR_THEFT", 0, 25},  // round past the first key
};

void ExpectFound(const Browser &browser, const Search &search, const std::string &what) {
    int position = KeyPosition(browser, search.key);
    Expect(Selection(browser) == position, what + ": " + search.key + " selected");
    Expect(WindowText(browser.edit) == search.key, what + ": the key field shows " + search.key);
    Expect(Fields(browser) == Shown(browser.rows[position]), what + ": the four fields show its texts");
    std::vector<std::string> want(TABLE_LANGUAGES, "0-0"), selections = FieldSelections(browser);
    if (search.language >= 0)
        want[search.language] = std::to_string(search.offset) + "-" + std::to_string(search.offset + strlen(search.text));
    Expect(selections == want, what + ": the fields select" + Describe(selections));
    if (search.language >= 0)
        Expect(ShowsCharacter(browser, search.language, search.offset), what + ": the text found is in view");
}

void ExpectNotFound(const Browser &browser, HWND owner, const std::string &text, int selection, const std::string &what) {
    HWND box = WaitForMessageBox(browser.session, "Parlyte");
    Expect(MessageBoxText(box) == "Cannot find \"" + text + "\"", what + ": \"" + MessageBoxText(box) + "\"");
    Expect(MessageBoxIcon(box) == IDI_ASTERISK, what + ": the information icon");
    Expect(GetWindow(box, GW_OWNER) == owner, what + ": the box is owned by " + (owner == browser.main ? "the main window" : "the Find dialog"));
    PressButton(box, IDOK);
    WaitUntilHandled(browser.main);
    Expect(Selection(browser) == selection, what + ": the selection is unchanged");
}

void Run(const Browser &browser, HWND dialog, const Search &search) {
    std::string what = std::string(search.typed ? "" : "again: ") + search.text + (search.matchCase ? " (Match case)" : "");
    int before = Selection(browser);
    HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
    if (search.typed) {
        SendMessageW(field, EM_SETSEL, 0, -1);
        PostChars(field, search.text);
        WaitUntilHandled(browser.main);
        bool checked = SendMessageW(GetDlgItem(dialog, IDC_MATCH_CASE), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != search.matchCase) {
            PressButton(dialog, IDC_MATCH_CASE);
            WaitUntilHandled(browser.main);
        }
    }
    switch (search.start) {
    case FIND_NEXT_BUTTON: PressButton(dialog, IDC_FIND_NEXT); break;
    case ENTER_KEY: PostKey(field, VK_RETURN); break;
    case F3_KEY: PressTogether(browser, browser.main, {VK_F3}); break;
    case SHIFT_F3_KEYS: PressTogether(browser, browser.main, {VK_SHIFT, VK_F3}); break;
    }
    WaitUntilHandled(browser.main);
    if (search.key) {
        ExpectFound(browser, search, what);
        if (dialog) Expect(IsWindowVisible(dialog) != 0, what + ": the Find dialog stays open");
    } else {
        ExpectNotFound(browser, dialog ? dialog : browser.main, search.text, before, what);
    }
}

int FindDialogCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    // F3 before any search opens the dialog.
    PressTogether(browser, browser.main, {VK_F3});
    HWND dialog = WaitForFindDialog(browser);
    Expect(GetWindow(dialog, GW_OWNER) == browser.main, "the Find dialog is owned by the main window");
    Expect(IsWindowEnabled(browser.main) != 0, "the main window stays usable: the dialog is modeless");
    Expect(WindowText(GetDlgItem(dialog, IDC_FIND_TEXT)).empty(), "the text field is empty before any search");
    Expect(WindowText(GetDlgItem(dialog, IDC_MATCH_CASE)) == "Match &case", "a check box \"Match &case\"");
    HWND findNext = GetDlgItem(dialog, IDC_FIND_NEXT);
    Expect(WindowText(findNext) == "&Find Next" && (GetWindowLongW(findNext, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON,
           "the default push button \"&Find Next\"");
    Expect(!IsWindowEnabled(findNext), "Find Next is unavailable while the field is empty");
    Expect(WindowText(GetDlgItem(dialog, IDCANCEL)) == "Cancel", "a button \"Cancel\", IDCANCEL");
    Expect(FocusOf(browser.session) == GetDlgItem(dialog, IDC_FIND_TEXT), "the text field has the focus");

    for (const Search &search : Searches) {
        Run(browser, dialog, search);
        if (search.text == std::string("frenzy")) Expect(IsWindowEnabled(findNext) != 0, "Find Next is available");
    }

    PressButton(dialog, IDCANCEL);
    WaitUntilHandled(browser.main);
    Expect(!IsWindow(dialog), "Cancel closes the Find dialog");
    for (const Search &search : Again) Run(browser, NULL, search);

    // Ctrl+F opens it again with the last text, selected; Escape closes it.
    PressTogether(browser, browser.main, {VK_CONTROL, 'F'});
    dialog = WaitForFindDialog(browser);
    HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
    DWORD start = 1, end = 0;
    SendMessageW(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    Expect(WindowText(field) == "it" && start == 0 && end == 2, "Ctrl+F opens it with the last text, selected");
    PostKey(field, VK_ESCAPE);
    WaitUntilHandled(browser.main);
    Expect(!IsWindow(dialog), "Escape closes the Find dialog");

    // The system menu, by the keyboard: Alt+Space, then its item's letter.
    PressTogether(browser, browser.main, {VK_MENU, VK_SPACE});
    SendKeys({'F'});
    dialog = WaitForFindDialog(browser);
    Expect(IsWindowVisible(dialog) != 0, "the system menu's \"&Find...\" opens it");
    PressButton(dialog, IDCANCEL);
    Close(browser);
    return CaseResult();
}

} // namespace

const CaseEntry FindCases[] = {
    {"find", FindDialogCase},
    {NULL, NULL},
};
