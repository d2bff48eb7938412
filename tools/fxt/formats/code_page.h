// The Windows code pages the game's bytes may stand for. The game shows its
// bytes through its font, and a fan translation's patched font makes them
// the letters of another code page than Windows-1252: Polish letters are
// Windows-1250's bytes, Russian ones Windows-1251's.
#ifndef PARLYTE_FXT_CODE_PAGE_H
#define PARLYTE_FXT_CODE_PAGE_H

#include <map>
#include <string>

enum { DEFAULT_CODE_PAGE = 1252, CODE_PAGE_COUNT = 6 };

// Windows-1251's я is 0xFF, the byte that ends a language file's data:
// fxt writes it as 0x98, which Windows-1251 leaves free, and reads that
// back as я. Russian and Ukrainian fan fonts draw я there.
enum { CYRILLIC_YA_PAGE = 1251, CYRILLIC_YA_BYTE = 0x98 };

struct CodePage {
    int number = 0;
    unsigned characters[256] = {};            // the character each byte stands for
    std::map<unsigned, unsigned char> bytes;  // the byte of each character
};

// The code pages fxt knows, in order, with whom they are for.
struct CodePageInfo {
    int number;
    const char *region;     // "Central European"
    const char *languages;  // "Polish, Czech, ..."
};
extern const CodePageInfo CodePages[CODE_PAGE_COUNT];
// The index in CodePages of a code page's number, or -1 for one fxt does
// not know.
int CodePageIndex(int number);
// "Windows-1250".
std::string CodePageName(int number);

// A language a fan translates the game into, by its code in a PO file's
// Language header, and the code page its letters need.
struct FanLanguage {
    const char *code;
    const char *name;
    int codePage;
};
// The language of a PO file's Language header ("pl", "pl_PL", "pl-PL"), or
// null for one fxt does not know.
const FanLanguage *FindFanLanguage(const std::string &code);

// A code page from the characters the platform's own converter gives its
// bytes (0 where it gives none). A byte it gives none stands for the C1
// control of its value below 0xA0, and above for the private-use character
// that Windows' own conversion gives it, so that every byte from 1 to 254
// is one character and back; but 0x98 of Windows-1251 is я.
void MakeCodePage(int number, const unsigned converted[256], CodePage *page);

// The byte of a character in a code page, or -1 for none.
int ByteOf(const CodePage &page, unsigned long character);

#endif
