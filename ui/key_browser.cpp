// The key list and the four text fields: every key in table order, and the
// texts of the selected key, found by a click, by typing its start or by a
// search for a text.
#include "main_window.h"

#include "res/resource.h"
#include "text/text_store.h"

static HWND KeyList, KeyField, KeyItems;  // the combo box, its edit field and its list
// What the edit field held before the input it handles now: its length and
// how much of it was selected, which that input replaces.
static LRESULT LengthBeforeInput, SelectedBeforeInput;

static const char AbsentText[] = "N/A";

// A game's thousands of keys: the list reserves its storage once and is not
// redrawn after each one, which would take most of the start-up.
static void FillKeyList(void) {
    WPARAM count = 0;
    LPARAM bytes = 0;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        ++count;
        bytes += lstrlenA(entry->key) + 1;
    }
    SendMessageA(KeyList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(KeyList, CB_INITSTORAGE, count, bytes);  // only a hint: a refusal is no failure
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        SendMessageA(KeyList, CB_ADDSTRING, 0, (LPARAM)entry->key);
    SendMessageA(KeyList, WM_SETREDRAW, TRUE, 0);
}

INT_PTR StartKeyBrowser(HWND window, HWND proposedFocus) {
    KeyList = GetDlgItem(window, IDC_KEYLIST);
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(KeyList, &parts)) {
        KeyField = parts.hwndItem;
        KeyItems = parts.hwndList;
    }
    FillKeyList();
    if (proposedFocus == KeyList) return TRUE;
    SetFocus(KeyList);
    return FALSE;
}

// The most of one text a field is given. A game's texts are short; the
// edit control, or the font code under it, gives out on one of tens of
// megabytes (the 32-bit program ended in gdi32 on one of 50 MB). A longer
// text is shown cut, with a line saying so; Find searches the whole of it.
enum { LONGEST_SHOWN_TEXT = 1 << 20, CUT_NOTE_SIZE = 120 };
static const char CutNote[] = "\r\n\r\n[The text is cut here: Parlyte shows the first %d of its %d characters.]";

static void SetTextField(HWND window, int language, const char *text) {
    HWND field = GetDlgItem(window, IDC_ENGLISH + language);
    int length = lstrlenA(text);
    if (length <= LONGEST_SHOWN_TEXT) {
        SetWindowTextA(field, text);
        return;
    }
    char *cut = (char *)LocalAlloc(LMEM_FIXED, LONGEST_SHOWN_TEXT + CUT_NOTE_SIZE);
    if (!cut) {
        SetWindowTextA(field, "");
        return;
    }
    for (int i = 0; i < LONGEST_SHOWN_TEXT; ++i) cut[i] = text[i];
    wsprintfA(cut + LONGEST_SHOWN_TEXT, CutNote, (int)LONGEST_SHOWN_TEXT, length);
    SetWindowTextA(field, cut);
    LocalFree(cut);
}

// The selected item's text in a new buffer, or null when there is no
// selection, the item cannot be read or the buffer cannot be had.
static char *SelectedKey(void) {
    LRESULT selected = SendMessageA(KeyList, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return NULL;
    LRESULT length = SendMessageA(KeyList, CB_GETLBTEXTLEN, (WPARAM)selected, 0);
    if (length == CB_ERR) return NULL;
    char *key = (char *)LocalAlloc(LMEM_FIXED, (SIZE_T)length + 1);
    if (key && SendMessageA(KeyList, CB_GETLBTEXT, (WPARAM)selected, (LPARAM)key) == CB_ERR) {
        LocalFree(key);
        key = NULL;
    }
    return key;
}

void ShowEntryTexts(HWND window) {
    char *key = SelectedKey();
    if (!key) {
        for (int language = 0; language < LANGUAGE_COUNT; ++language) SetTextField(window, language, AbsentText);
        return;
    }
    // A key the table does not hold leaves the fields as they are.
    const TextEntry *entry = FindTextEntry(key);
    if (entry)
        for (int language = 0; language < LANGUAGE_COUNT; ++language)
            SetTextField(window, language, entry->texts[language] ? entry->texts[language] : AbsentText);
    LocalFree(key);
}

void WatchKeyFieldInput(const MSG *input) {
    if (!KeyField || input->hwnd != KeyField) return;
    DWORD start = 0, end = 0;
    SendMessageA(KeyField, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    LengthBeforeInput = GetWindowTextLengthA(KeyField);
    SelectedBeforeInput = end - start;
}

void FindTypedKey(HWND window) {
    int length = GetWindowTextLengthA(KeyList);
    // Typing and pasting put characters in place of the selection; Backspace,
    // Delete and cutting only take some away, and what is left stays as it
    // is, or Backspace could never get past a completed key.
    int added = length > LengthBeforeInput - SelectedBeforeInput;
    char *typed = (char *)LocalAlloc(LMEM_FIXED, (SIZE_T)length + 1);
    if (typed) {
        GetWindowTextA(KeyList, typed, length + 1);
        // The combo box's own prefix search, which ignores letter case.
        LRESULT found = SendMessageA(KeyList, CB_FINDSTRING, (WPARAM)-1, (LPARAM)typed);
        if (found != CB_ERR && added) {
            // The whole key, the rest after what was typed selected, so
            // that the next letter replaces only that.
            SendMessageA(KeyList, CB_SETCURSEL, (WPARAM)found, 0);
            SendMessageA(KeyField, EM_SETSEL, (WPARAM)length, -1);
        } else if (found != CB_ERR) {
            // The list alone: selecting through the combo box would put the
            // whole key back into the field.
            SendMessageA(KeyItems, LB_SETCURSEL, (WPARAM)found, 0);
        }
        LocalFree(typed);
    }
    ShowEntryTexts(window);
}

int SelectedKeyPosition(void) {
    return (int)SendMessageA(KeyList, CB_GETCURSEL, 0, 0);
}

void ShowFoundText(HWND window, const TextMatch *match, int length) {
    SendMessageA(KeyList, CB_SETCURSEL, (WPARAM)match->position, 0);
    ShowEntryTexts(window);
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        int offset = match->offsets[language];
        if (offset < 0 || offset + length > LONGEST_SHOWN_TEXT) continue;
        HWND field = GetDlgItem(window, IDC_ENGLISH + language);
        SendMessageA(field, EM_SETSEL, (WPARAM)offset, (LPARAM)(offset + length));
        SendMessageA(field, EM_SCROLLCARET, 0, 0);
    }
}
