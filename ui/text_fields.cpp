// The four read-only fields: a key's texts with CR LF where the game has a
// bare line feed, a scroll bar only where a text is taller than its field,
// and no selection left behind but the one Find made.
#include "main_window.h"

#include "res/resource.h"

// The most of one text a field is given. A game's texts are a few hundred
// characters; wrapping a paragraph takes Wine's edit control time that grows
// with the square of its length (69 s for one of 64 KB), and the font code
// under it gave out on a text of 50 MB. A longer text is shown cut, with a
// line saying so; Find searches the whole of it.
enum { LONGEST_SHOWN_TEXT = 1 << 13, CUT_NOTE_SIZE = 120 };
static const char CutNote[] = "\r\n\r\n[The text is cut here: Parlyte shows the first %d of its %d characters.]";

// Where Find selected its occurrence in each field, kept when the field
// loses the focus; empty (start == end) where it selected nothing.
static DWORD FoundStart[LANGUAGE_COUNT], FoundEnd[LANGUAGE_COUNT];

static HWND TextField(HWND window, int language) {
    return GetDlgItem(window, IDC_ENGLISH + language);
}

static int LanguageOf(HWND field) {
    return GetDlgCtrlID(field) - IDC_ENGLISH;
}

// The fields are made without WS_VSCROLL, so that the edit control leaves
// their scroll bar alone: it would set it several times over for each
// text, and Wine draws a themed bar each time (about 3 ms each, four
// fields). The bar is kept here: its range is the text's lines and its
// page the lines the field shows, so the system shows it only while the
// text is taller; its thumb follows the first line shown.
static WNDPROC EditProc;

// The edit control's own answer, not through FieldProc, which would move
// the thumb before the bar is set.
static LRESULT AskEdit(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(EditProc, field, message, wParam, lParam);
}

static int HasScrollBar(HWND field) {
    return (GetWindowLongPtrA(field, GWL_STYLE) & WS_VSCROLL) != 0;
}

// The whole lines the field shows: its height over a line's, which is the
// distance between the first two lines. A text of one line always fits.
static int LinesShown(HWND field, int lines) {
    if (lines < 2) return 1;
    LRESULT first = AskEdit(field, EM_POSFROMCHAR, 0, 0);
    LRESULT second = AskEdit(field, EM_POSFROMCHAR, (WPARAM)AskEdit(field, EM_LINEINDEX, 1, 0), 0);
    int lineHeight = (short)HIWORD(second) - (short)HIWORD(first);
    RECT shown;
    AskEdit(field, EM_GETRECT, 0, (LPARAM)&shown);
    int count = lineHeight > 0 ? (shown.bottom - shown.top) / lineHeight : 1;
    return count > 1 ? count : 1;
}

// A bar too short for its thumb, as in a field one line tall, looks the
// same whatever its range and position: it is not drawn again for them.
static BOOL ThumbShows(HWND field) {
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    return GetScrollBarInfo(field, OBJID_VSCROLL, &bar) && bar.xyThumbBottom > bar.xyThumbTop;
}

// Showing or hiding the bar wraps the text again at the new width, so the
// lines are counted once more then. Only a change is set: Wine redraws the
// bar for every call.
static void FitScrollBar(HWND field) {
    for (int pass = 0; pass < 2; ++pass) {
        SCROLLINFO wanted = {sizeof wanted, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        int lines = (int)AskEdit(field, EM_GETLINECOUNT, 0, 0);
        wanted.nMax = lines - 1;
        wanted.nPage = (UINT)LinesShown(field, lines);
        wanted.nPos = (int)AskEdit(field, EM_GETFIRSTVISIBLELINE, 0, 0);
        SCROLLINFO now = {sizeof now, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
        int shown = HasScrollBar(field);
        if (GetScrollInfo(field, SB_VERT, &now) && now.nMax == wanted.nMax && now.nPage == wanted.nPage &&
            now.nPos == wanted.nPos && shown == (lines > (int)wanted.nPage))
            return;
        SetScrollInfo(field, SB_VERT, &wanted, !shown || lines <= (int)wanted.nPage || ThumbShows(field));
        if (HasScrollBar(field) == shown) return;
    }
}

// The edit control scrolls by itself (keys, the wheel, a selection dragged,
// the caret scrolled into view): the thumb is moved after it. The thumb
// stands for a line, which the edit control would read as a percentage of
// a bar not its own; its 16 bits are enough, a field holding at most
// LONGEST_SHOWN_TEXT characters.
static LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL && (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)) {
        AskEdit(field, EM_LINESCROLL, 0, HIWORD(wParam) - AskEdit(field, EM_GETFIRSTVISIBLELINE, 0, 0));
        return 0;
    }
    LRESULT result = AskEdit(field, message, wParam, lParam);
    // A new text gets its whole bar from ShowTextInField.
    if (message != WM_SETTEXT && message != WM_NCDESTROY && HasScrollBar(field)) {
        int first = (int)AskEdit(field, EM_GETFIRSTVISIBLELINE, 0, 0);
        if (GetScrollPos(field, SB_VERT) != first) SetScrollPos(field, SB_VERT, first, ThumbShows(field));
    }
    return result;
}

void StartTextFields(HWND window) {
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        EditProc = (WNDPROC)SetWindowLongPtrA(TextField(window, language), GWLP_WNDPROC, (LONG_PTR)FieldProc);
}

void FitScrollBars(HWND window) {
    for (int language = 0; language < LANGUAGE_COUNT; ++language) FitScrollBar(TextField(window, language));
}

static int IsBareLineFeed(const char *text, int at) {
    return text[at] == '\n' && (at == 0 || text[at - 1] != '\r');
}

// Where an offset into text falls in its field: one further on for each
// line feed before it that the field is given a carriage return for.
static int FieldOffset(const char *text, int offset) {
    int fieldOffset = offset;
    for (int at = 0; at < offset; ++at) fieldOffset += IsBareLineFeed(text, at);
    return fieldOffset;
}

void ShowTextInField(HWND window, int language, const char *text) {
    HWND field = TextField(window, language);
    FoundStart[language] = FoundEnd[language] = 0;
    int length = lstrlenA(text);
    int shown = length <= LONGEST_SHOWN_TEXT ? length : LONGEST_SHOWN_TEXT;
    char *lines = (char *)LocalAlloc(LMEM_FIXED, (SIZE_T)FieldOffset(text, shown) + CUT_NOTE_SIZE);
    if (lines) {
        char *at = lines;
        for (int i = 0; i < shown; ++i) {
            if (IsBareLineFeed(text, i)) *at++ = '\r';
            *at++ = text[i];
        }
        *at = '\0';
        if (shown < length) wsprintfA(at, CutNote, (int)LONGEST_SHOWN_TEXT, length);
    }
    SetWindowTextA(field, lines ? lines : "");
    LocalFree(lines);
    FitScrollBar(field);
}

void SelectFoundText(HWND window, int language, const char *text, int offset, int length) {
    if (offset < 0 || offset + length > LONGEST_SHOWN_TEXT) return;
    HWND field = TextField(window, language);
    FoundStart[language] = FieldOffset(text, offset);
    FoundEnd[language] = FieldOffset(text, offset + length);
    SendMessageA(field, EM_SETSEL, FoundStart[language], FoundEnd[language]);
    SendMessageA(field, EM_SCROLLCARET, 0, 0);
}

void FieldFocusChanged(HWND field, int focused) {
    int language = LanguageOf(field);
    if (language < 0 || language >= LANGUAGE_COUNT) return;
    DWORD start = 0, end = 0;
    SendMessageA(field, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    int isFound = start != end && start == FoundStart[language] && end == FoundEnd[language];
    if (focused) {
        // Tab selects the whole text with the caret at its end: the caret
        // goes to its start, so that the field shows its first line.
        DWORD length = (DWORD)GetWindowTextLengthA(field);
        if (isFound || start != 0 || end != length) return;
        SendMessageA(field, EM_SETSEL, length, 0);
        SendMessageA(field, EM_SCROLLCARET, 0, 0);
        return;
    }
    // Only the focus shows what Ctrl+C copies; Find's occurrence stays in
    // sight while the Find dialog has the focus. The caret stays on the
    // first line in view, so that nothing scrolls.
    if (isFound) return;
    LRESULT firstShown = SendMessageA(field, EM_LINEINDEX, (WPARAM)SendMessageA(field, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(field, EM_SETSEL, (WPARAM)firstShown, firstShown);
}
