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

// What each of the four fields has selected, as "start-end".
std::vector<std::string> FieldSelections(const Browser &browser) {
    std::vector<std::string> selections;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
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

// Whether the character at offset shows in the field: its line is scrolled
// into view, and it lies within the width.
bool ShowsCharacter(const Browser &browser, int language, DWORD offset) {
    HWND field = GetDlgItem(browser.main, IDC_ENGLISH + language);
    LRESULT position = SendMessageW(field, EM_POSFROMCHAR, offset, 0);
    RECT client;
    GetClientRect(field, &client);
    POINT at = {(short)LOWORD(position), (short)HIWORD(position)};
    return position != -1 && PtInRect(&client, at);
}

int KeyPosition(const Browser &browser, const std::string &key) {
    for (size_t i = 0; i < browser.rows.size(); ++i)
        if (browser.rows[i].key == key) return (int)i;
    Fail("the data has no key " + key);
}

// How a search is started, and in which window.
enum Start { FIND_NEXT_BUTTON, ENTER_KEY, F3_IN_DIALOG, SHIFT_F3_IN_DIALOG, F3_IN_MAIN, SHIFT_F3_IN_MAIN };

struct Search {
    const char *text;  // the text searched, typed over the dialog's unless typed is false
    bool typed;
    bool matchCase;
    Start start;
    const char *key;   // the key found, or null for none
    int offsets[LANGUAGE_COUNT];  // where each field selects it, -1 for nothing
};

// Rows worked in turn; each starts from the key the one before selected.
// The offsets are the field's, where CR LF stands for a line feed.
const Search Searches[] = {
    {"frenzy", true, false, FIND_NEXT_BUTTON, "KF_1", {5, -1, -1, -1}},       // English, any letter case
    {"car_t", true, false, ENTER_KEY, "CAR_THEFT", {-1, -1, -1, -1}},          // the key only
    {"tuerie", true, false, ENTER_KEY, "KF_1", {-1, 0, -1, -1}},               // French, round past the last key
    {"AMOKLAUF", true, false, ENTER_KEY, "KF_1", {-1, -1, 0, -1}},             // German, in the selected key itself
    {"strage!", true, false, ENTER_KEY, "KF_1", {-1, -1, -1, 0}},              // Italian
    {"the docks", true, false, ENTER_KEY, "CAR_THEFT", {32, -1, -1, -1}},      // on the second line, after CR LF
    {"\xC9LAN", true, false, ENTER_KEY, "ETE", {-1, 0, -1, -1}},              // É finds é
    {"elan", true, false, ENTER_KEY, nullptr, {}},                             // e does not
    {"N/A", true, false, ENTER_KEY, nullptr, {}},                              // absent texts are no texts
    {"harbour", true, true, ENTER_KEY, nullptr, {}},                           // Match case
    {"harbour", false, true, F3_IN_MAIN, nullptr, {}},                         // its box is the main window's
    {"Harbour", true, true, FIND_NEXT_BUTTON, "WELCOME", {11, 12, 14, 12}},    // round past the last key, in every field
    {"it", true, false, FIND_NEXT_BUTTON, "CAR_THEFT", {26, 10, -1, -1}},
    {"it", false, false, SHIFT_F3_IN_DIALOG, "WELCOME", {20, 21, 23, 21}},     // the keys work in the dialog too
    {"it", false, false, F3_IN_DIALOG, "CAR_THEFT", {26, 10, -1, -1}},
};

// After Cancel, with the last text "it", which WELCOME ("City") and
// CAR_THEFT hold.
const Search Again[] = {
    {"it", false, false, F3_IN_MAIN, "WELCOME", {20, 21, 23, 21}},           // round past the last key
    {"it", false, false, F3_IN_MAIN, "CAR_THEFT", {26, 10, -1, -1}},
    {"it", false, false, SHIFT_F3_IN_MAIN, "WELCOME", {20, 21, 23, 21}},     // backwards
    {"it", false, false, SHIFT_F3_IN_MAIN, "CAR_THEFT", {26, 10, -1, -1}},   // round past the first key
};

void ExpectFound(const Browser &browser, const Search &search, const std::string &what) {
    int position = KeyPosition(browser, search.key);
    Expect(Selection(browser) == position, what + ": " + search.key + " selected");
    Expect(WindowText(browser.edit) == search.key, what + ": the key field shows " + search.key);
    Expect(Fields(browser) == Shown(browser.rows[position]), what + ": the four fields show its texts");
    std::vector<std::string> want, selections = FieldSelections(browser);
    for (int offset : search.offsets)
        want.push_back(offset < 0 ? "0-0" : std::to_string(offset) + "-" + std::to_string(offset + strlen(search.text)));
    Expect(selections == want, what + ": the fields select" + Describe(selections));
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        if (search.offsets[language] < 0) continue;
        Expect(ShowsCharacter(browser, language, search.offsets[language]), what + ": the text found is in view");
        Expect(ShowsColor(GetDlgItem(browser.main, IDC_ENGLISH + language), COLOR_HIGHLIGHT), what + ": the field shows it selected");
    }
}

// The box that says so, and both windows waiting for it; after it the
// focus is back where it was.
void ExpectNotFound(const Browser &browser, HWND dialog, HWND owner, HWND focus, const std::string &text, int selection,
                    const std::string &what) {
    HWND box = WaitForMessageBox(browser.session, "Parlyte");
    Expect(MessageBoxText(box) == "Cannot find \"" + text + "\"", what + ": \"" + MessageBoxText(box) + "\"");
    Expect(MessageBoxIcon(box) == IDI_ASTERISK, what + ": the information icon");
    Expect(GetWindow(box, GW_OWNER) == owner, what + ": the box is owned by " + (owner == browser.main ? "the main window" : "the Find dialog"));
    Expect(!IsWindowEnabled(browser.main) && (!dialog || !IsWindowEnabled(dialog)), what + ": both windows wait for it");
    // The system menu's Find... brings nothing forward past the box.
    PostMessageW(browser.main, WM_SYSCOMMAND, IDC_FIND, 0);
    WaitUntilHandled(browser.main);
    Expect(GetForegroundWindow() == box, what + ": the box stays in front after the system menu's Find...");
    PressButton(box, IDOK);
    WaitUntilHandled(browser.main);
    Expect(Selection(browser) == selection, what + ": the selection is unchanged");
    Expect(FocusOf(browser.session) == focus, what + ": the focus is back where it was");
}

void Run(const Browser &browser, HWND dialog, const Search &search) {
    std::string what = std::string(search.typed ? "" : "again: ") + search.text + (search.matchCase ? " (Match case)" : "");
    int before = Selection(browser);
    HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
    bool fromMain = search.start == F3_IN_MAIN || search.start == SHIFT_F3_IN_MAIN;
    HWND from = fromMain ? browser.main : dialog;
    SetForegroundWindow(from);
    WaitUntilHandled(browser.main);
    if (search.typed) {
        ClickAt(field, 2, 2);
        WaitUntilHandled(browser.main);
        SendMessageW(field, EM_SETSEL, 0, -1);
        PostChars(field, search.text);
        WaitUntilHandled(browser.main);
        bool checked = SendMessageW(GetDlgItem(dialog, IDC_MATCH_CASE), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != search.matchCase) {
            PressButton(dialog, IDC_MATCH_CASE);
            WaitUntilHandled(browser.main);
        }
    }
    HWND focus = FocusOf(browser.session);
    switch (search.start) {
    case FIND_NEXT_BUTTON: PressButton(dialog, IDC_FIND_NEXT); break;
    case ENTER_KEY: PostKey(field, VK_RETURN); break;
    case F3_IN_DIALOG: PressKeys(browser, dialog, {VK_F3}); break;
    case SHIFT_F3_IN_DIALOG: PressKeys(browser, dialog, {VK_SHIFT, VK_F3}); break;
    case F3_IN_MAIN: PressKeys(browser, browser.main, {VK_F3}); break;
    case SHIFT_F3_IN_MAIN: PressKeys(browser, browser.main, {VK_SHIFT, VK_F3}); break;
    }
    WaitUntilHandled(browser.main);
    if (search.key) {
        ExpectFound(browser, search, what);
        if (dialog) Expect(IsWindowVisible(dialog) != 0, what + ": the Find dialog stays open");
        Expect(GetAncestor(FocusOf(browser.session), GA_ROOT) == from, what + ": the focus stays in the window searched from");
    } else {
        ExpectNotFound(browser, dialog, from, focus, search.text, before, what);
    }
}

// Whether the dialog meets the main window's fields and buttons, or one.
bool Covers(HWND dialog, HWND main, int only = 0) {
    RECT own, control;
    GetWindowRect(dialog, &own);
    for (int id : {IDC_ENGLISH, IDC_FRENCH, IDC_GERMAN, IDC_ITALIAN, IDC_ABOUT, IDCANCEL})
        if ((!only || id == only) && GetWindowRect(GetDlgItem(main, id), &control) && IntersectRect(&control, &own, &control))
            return true;
    return false;
}

int FindDialogCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    // F3 before any search opens the dialog.
    PressKeys(browser, browser.main, {VK_F3});
    HWND dialog = WaitForFindDialog(browser);
    Expect(GetWindow(dialog, GW_OWNER) == browser.main, "the Find dialog is owned by the main window");
    Expect(!Covers(dialog, browser.main), "it opens clear of the fields and the buttons");
    Expect(IsWindowEnabled(browser.main) != 0, "the main window stays usable: the dialog is modeless");
    Expect(WindowText(GetDlgItem(dialog, IDC_FIND_TEXT)).empty(), "the text field is empty before any search");
    Expect(WindowText(GetDlgItem(dialog, IDC_MATCH_CASE)) == "Match &case", "a check box \"Match &case\"");
    HWND findNext = GetDlgItem(dialog, IDC_FIND_NEXT);
    Expect(WindowText(findNext) == "&Find Next" && (GetWindowLongW(findNext, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON,
           "the default push button \"&Find Next\"");
    Expect(!IsWindowEnabled(findNext), "Find Next is unavailable while the field is empty");
    Expect(WindowText(GetDlgItem(dialog, IDCANCEL)) == "Cancel", "a button \"Cancel\", IDCANCEL");
    Expect(FocusOf(browser.session) == GetDlgItem(dialog, IDC_FIND_TEXT), "the text field has the focus");
    bool hideNoSelection = true;
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        hideNoSelection &= (GetWindowLongW(GetDlgItem(browser.main, IDC_ENGLISH + language), GWL_STYLE) & ES_NOHIDESEL) != 0;
    Expect(hideNoSelection, "the four fields show their selection without the focus (ES_NOHIDESEL)");

    for (const Search &search : Searches) {
        Run(browser, dialog, search);
        if (search.text == std::string("frenzy")) Expect(IsWindowEnabled(findNext) != 0, "Find Next is available");
    }

    // The About box keeps the Find dialog waiting too.
    PressButton(browser.main, IDC_ABOUT);
    HWND about = WaitForMessageBox(browser.session, "About Parlyte");
    Expect(!IsWindowEnabled(dialog), "with the About box up, the Find dialog takes no input");
    PressButton(about, IDOK);
    WaitUntilHandled(browser.main);
    Expect(IsWindowEnabled(dialog) != 0, "after the About box, the Find dialog takes input again");

    PressButton(dialog, IDCANCEL);
    WaitUntilHandled(browser.main);
    Expect(!IsWindow(dialog), "Cancel closes the Find dialog");
    for (const Search &search : Again) Run(browser, NULL, search);

    // Ctrl+F opens it again with the last text, selected; Escape closes it.
    PressKeys(browser, browser.main, {VK_CONTROL, 'F'});
    dialog = WaitForFindDialog(browser);
    HWND field = GetDlgItem(dialog, IDC_FIND_TEXT);
    DWORD start = 1, end = 0;
    SendMessageW(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    Expect(WindowText(field) == "it" && start == 0 && end == 2, "Ctrl+F opens it with the last text, selected");
    SendMessageW(field, EM_SETSEL, 1, 1);
    PressKeys(browser, dialog, {VK_CONTROL, 'F'});
    SendMessageW(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    Expect(start == 0 && end == 2 && FocusOf(browser.session) == field, "Ctrl+F in the dialog selects its text");
    PostKey(field, VK_ESCAPE);
    WaitUntilHandled(browser.main);
    Expect(!IsWindow(dialog), "Escape closes the Find dialog");

    // The system menu, by the keyboard: Alt+Space, then its item's letter.
    PressKeys(browser, browser.main, {VK_MENU, VK_SPACE});
    SendKeys({'F'});
    dialog = WaitForFindDialog(browser);
    Expect(IsWindowVisible(dialog) != 0, "the system menu's \"&Find...\" opens it");
    PressButton(dialog, IDCANCEL);

    // Over a window as large as the screen, Find Next moves it off the field
    // it found the text in. (Maximized, the window would not grow on a
    // display without a window manager.)
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(browser.main, NULL, 0, 0, work.right, work.bottom, SWP_NOZORDER);
    PressKeys(browser, browser.main, {VK_CONTROL, 'F'});
    dialog = WaitForFindDialog(browser);
    Run(browser, dialog, {"auto", true, false, ENTER_KEY, "CAR_THEFT", {-1, -1, -1, 7}});
    Expect(!Covers(dialog, browser.main, IDC_ITALIAN), "over the whole screen, it has moved off the Italian field");
    PressButton(dialog, IDCANCEL);
    Close(browser);
    return CaseResult();
}

// A text of tens of megabytes: shown cut with a line saying so, found by
// Find all the same where only its end holds what is looked for, and
// nothing gives out on the way.
int HugeTextCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    int huge = KeyPosition(browser, "HUGE"), small = KeyPosition(browser, "SMALL");
    const std::string &text = *browser.rows[huge].texts[LANGUAGE_ENGLISH];
    ClickItem(browser, huge);
    Require(IsRunning(browser.session), "Parlyte still runs once the key of the long text is clicked");
    std::string shown = Fields(browser)[LANGUAGE_ENGLISH];
    std::string note = "\r\n\r\n[The text is cut here: Parlyte shows the first 8192 of its " +
                       std::to_string(text.size()) + " characters.]";
    Expect(shown.size() == 8192 + note.size() && shown.compare(0, 8192, text, 0, 8192) == 0 &&
               shown.compare(8192, std::string::npos, note) == 0,
           "the English field shows the text's first 8,192 characters, then says it is cut");
    ClickItem(browser, small);
    PressKeys(browser, browser.main, {VK_CONTROL, 'F'});
    HWND dialog = WaitForFindDialog(browser);
    PostChars(GetDlgItem(dialog, IDC_FIND_TEXT), "needle");
    WaitUntilHandled(browser.main);
    PressButton(dialog, IDC_FIND_NEXT);
    WaitUntilHandled(browser.main);
    Require(IsRunning(browser.session), "Parlyte still runs once Find has searched the long text");
    Expect(Selection(browser) == huge, "Find finds the text at the end of the long one");
    Expect(FieldSelections(browser)[LANGUAGE_ENGLISH] == "0-0", "beyond what the field shows, nothing is selected");
    PressButton(dialog, IDCANCEL);
    Close(browser);
    return CaseResult();
}

} // namespace

const CaseEntry FindCases[] = {
    {"find", FindDialogCase},
    {"huge-text", HugeTextCase},
    {NULL, NULL},
};
