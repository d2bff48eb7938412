// The exe's resources, read from the file: the main window's dialog
// template field by field, and the icon.
#include "case_checks.h"
#include "cases.h"

namespace {

struct ExpectedControl {
    int id;
    WORD classAtom;
    const char *text;
    DWORD style;
    short x, y, cx, cy;
};

const WORD Button = 0x80, Edit = 0x81, Static = 0x82, ComboBox = 0x85;
const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD Label = Child | SS_LEFT | WS_GROUP;
const DWORD TextField =
    Child | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN | ES_NOHIDESEL | WS_BORDER | WS_TABSTOP;
const DWORD PushButton = Child | BS_PUSHBUTTON | WS_TABSTOP;

const ExpectedControl Controls[] = {
    {1000, ComboBox, "", Child | CBS_SIMPLE | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 7, 7, 118, 105},
    {-1, Static, "English:", Label, 132, 7, 27, 12},
    {1001, Edit, "", TextField, 162, 7, 222, 12},
    {-1, Static, "French:", Label, 132, 28, 27, 12},
    {1002, Edit, "", TextField, 162, 28, 222, 12},
    {-1, Static, "German:", Label, 132, 52, 27, 12},
    {1003, Edit, "", TextField, 162, 52, 222, 12},
    {-1, Static, "Italian:", Label, 132, 76, 27, 12},
    {1004, Edit, "", TextField, 162, 76, 222, 12},
    {1005, Button, "&About...", PushButton, 277, 98, 50, 14},
    {IDCANCEL, Button, "E&xit", PushButton, 334, 98, 50, 14},
};

// Reads the template's variable-length fields in order.
struct TemplateReader {
    const BYTE *at;

    WORD Word() {
        WORD value = *(const WORD *)at;
        at += 2;
        return value;
    }
    DWORD Dword() {
        DWORD value = *(const DWORD *)at;
        at += 4;
        return value;
    }
    short Short() { return (short)Word(); }
    std::string Text() {
        std::wstring text;
        for (WORD ch; (ch = Word()) != 0;) text += (wchar_t)ch;
        return Narrow(text);
    }
    // A name or an ordinal: 0xFFFF followed by the ordinal.
    std::string NameOrOrdinal(WORD *ordinal) {
        *ordinal = 0;
        if (*(const WORD *)at == 0xFFFF) {
            Word();
            *ordinal = Word();
            return "";
        }
        return Text();
    }
    void AlignToDword(const BYTE *base) {
        while ((at - base) % 4) ++at;
    }
};

int DialogTemplateCase(const CaseContext &context) {
    HMODULE exe = LoadLibraryExW(context.exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    Require(exe != NULL, "the exe loads as data");
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(101), (LPCWSTR)RT_DIALOG);
    Require(found != NULL, "IDD_MAIN (101) is a dialog resource");
    const BYTE *base = (const BYTE *)LockResource(LoadResource(exe, found));
    TemplateReader reader = {base};

    DWORD style = reader.Dword();
    Expect(style == (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFONT),
           "dialog style: a sizing border, minimize and maximize boxes, and nothing more (not visible, no centring)");
    Expect(reader.Dword() == 0, "no extended style");
    WORD count = reader.Word();
    Expect(count == 11, "11 controls");
    short x = reader.Short(), y = reader.Short(), cx = reader.Short(), cy = reader.Short();
    Expect(x == 0 && y == 0 && cx == 391 && cy == 119, "position 0, 0 and size 391 x 119");
    WORD ordinal;
    Expect(reader.NameOrOrdinal(&ordinal).empty() && ordinal == 0, "no menu");
    Expect(reader.NameOrOrdinal(&ordinal).empty() && ordinal == 0, "no window class of its own");
    Expect(reader.Text() == "Parlyte", "caption \"Parlyte\"");
    Expect(reader.Word() == 8, "font size 8");
    Expect(reader.Text() == "MS Sans Serif", "font \"MS Sans Serif\"");

    for (int i = 0; i < count && i < (int)(sizeof Controls / sizeof Controls[0]); ++i) {
        const ExpectedControl &want = Controls[i];
        reader.AlignToDword(base);
        DWORD controlStyle = reader.Dword();
        reader.Dword();
        short cx0 = reader.Short(), cy0 = reader.Short(), cw = reader.Short(), ch = reader.Short();
        short id = reader.Short();
        WORD atom;
        std::string className = reader.NameOrOrdinal(&atom);
        WORD textOrdinal;
        std::string text = reader.NameOrOrdinal(&textOrdinal);
        WORD extra = reader.Word();
        reader.at += extra;
        std::string which = "control " + std::to_string(i) + " (" + std::to_string(want.id) + ")";
        Expect(id == want.id, which + " id " + std::to_string(id));
        Expect(atom == want.classAtom && className.empty(), which + " class");
        Expect(text == want.text, which + " text \"" + text + "\"");
        Expect(controlStyle == want.style, which + " style");
        Expect(cx0 == want.x && cy0 == want.y && cw == want.cx && ch == want.cy, which + " rectangle");
    }

    HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(100), (LPCWSTR)RT_GROUP_ICON);
    Require(group != NULL, "IDI_MAIN (100) is an icon");
    const BYTE *icons = (const BYTE *)LockResource(LoadResource(exe, group));
    WORD images = *(const WORD *)(icons + 4);
    const BYTE *entry = icons + 6;
    Expect(images == 1 && entry[0] == 32 && entry[1] == 32 && entry[2] == 16 && *(const WORD *)(entry + 6) == 4,
           "one image, 32 x 32, 16 colours");
    FreeLibrary(exe);
    return CaseResult();
}

// What Windows shows in the exe's properties: version 0.1, U.S. English in
// code page 1252, and the names.
int VersionCase(const CaseContext &context) {
    ExeVersion version = ReadExeVersion(context.exe);
    std::map<std::string, std::string> &strings = version.strings;
    Require(!strings.empty(), "the exe has a version resource in U.S. English, code page 1252");
    const VS_FIXEDFILEINFO &fixed = version.fixed;
    Expect(fixed.dwSignature == VS_FFI_SIGNATURE && fixed.dwFileVersionMS == 0x00000001 &&
               fixed.dwFileVersionLS == 0 && fixed.dwProductVersionMS == 0x00000001 && fixed.dwProductVersionLS == 0,
           "file and product version 0.1.0.0");
    Expect(fixed.dwFileType == VFT_APP && fixed.dwFileOS == VOS_NT_WINDOWS32, "an application for Windows");
    const std::map<std::string, std::string> expected = {
        {"FileVersion", "0.1"}, {"ProductVersion", "0.1"}, {"ProductName", "Parlyte"},
        {"OriginalFilename", "Parlyte.exe"}, {"InternalName", "Parlyte"}};
    for (const auto &value : expected)
        Expect(strings[value.first] == value.second, value.first + " \"" + strings[value.first] + "\"");
    const std::string &description = strings["FileDescription"];
    Expect(!description.empty() && description.find('\n') == std::string::npos,
           "a one-line FileDescription: \"" + description + "\"");
    return CaseResult();
}

} // namespace

const CaseEntry ResourceCases[] = {
    {"dialog-template", DialogTemplateCase},
    {"version", VersionCase},
    {NULL, NULL},
};
