#include "code_page.h"

const CodePageInfo CodePages[CODE_PAGE_COUNT] = {
    {1250, "Central European", "Polish, Czech, Slovak, Hungarian, Slovenian, Croatian, Romanian, Albanian"},
    {1251, "Cyrillic", "Russian, Ukrainian, Belarusian, Bulgarian, Serbian, Macedonian"},
    {1252, "Western European", "English, French, German, Italian, Spanish, Portuguese, Dutch, the Nordic languages"},
    {1253, "Greek", "Greek"},
    {1254, "Turkish", "Turkish, Azerbaijani"},
    {1257, "Baltic", "Estonian, Latvian, Lithuanian"},
};

namespace {

const FanLanguage FanLanguages[] = {
    {"pl", "Polish", 1250},      {"cs", "Czech", 1250},       {"sk", "Slovak", 1250},
    {"hu", "Hungarian", 1250},   {"sl", "Slovenian", 1250},   {"hr", "Croatian", 1250},
    {"ro", "Romanian", 1250},    {"sq", "Albanian", 1250},    {"bs", "Bosnian", 1250},
    {"ru", "Russian", 1251},     {"uk", "Ukrainian", 1251},   {"be", "Belarusian", 1251},
    {"bg", "Bulgarian", 1251},   {"sr", "Serbian", 1251},     {"mk", "Macedonian", 1251},
    {"en", "English", 1252},     {"fr", "French", 1252},      {"de", "German", 1252},
    {"it", "Italian", 1252},     {"es", "Spanish", 1252},     {"pt", "Portuguese", 1252},
    {"nl", "Dutch", 1252},       {"da", "Danish", 1252},      {"sv", "Swedish", 1252},
    {"nb", "Norwegian", 1252},   {"no", "Norwegian", 1252},   {"fi", "Finnish", 1252},
    {"is", "Icelandic", 1252},   {"ca", "Catalan", 1252},     {"el", "Greek", 1253},
    {"tr", "Turkish", 1254},     {"az", "Azerbaijani", 1254}, {"et", "Estonian", 1257},
    {"lv", "Latvian", 1257},     {"lt", "Lithuanian", 1257},
};

// The characters fxt gives bytes a code page leaves unassigned: я (see
// CYRILLIC_YA_BYTE), and above 0xA0 what Windows' own conversion gives
// them and iconv does not, characters of Unicode's private use area, so
// that they come back as the bytes they were.
struct OwnCharacter {
    int codePage;
    unsigned char byte;
    unsigned character;
};
const OwnCharacter OwnCharacters[] = {
    {CYRILLIC_YA_PAGE, CYRILLIC_YA_BYTE, 0x044F}, {1253, 0xAA, 0xF8F9}, {1253, 0xD2, 0xF8FA}, {1253, 0xFF, 0xF8FB},
    {1257, 0xA1, 0xF8FC}, {1257, 0xA5, 0xF8FD},
};

} // namespace

int CodePageIndex(int number) {
    for (int i = 0; i < CODE_PAGE_COUNT; ++i)
        if (CodePages[i].number == number) return i;
    return -1;
}

std::string CodePageName(int number) {
    return "Windows-" + std::to_string(number);
}

const FanLanguage *FindFanLanguage(const std::string &code) {
    std::string language = code.substr(0, code.find_first_of("_-@."));
    for (char &ch : language) ch = ch >= 'A' && ch <= 'Z' ? (char)(ch + 32) : ch;
    for (const FanLanguage &fan : FanLanguages)
        if (language == fan.code) return &fan;
    return nullptr;
}

void MakeCodePage(int number, const unsigned converted[256], CodePage *page) {
    page->number = number;
    page->bytes.clear();
    for (int byte = 0; byte < 256; ++byte) {
        unsigned character = byte < 0x80 ? (unsigned)byte : converted[byte];
        // Unassigned: no character, or Windows' C1 control of the same value.
        bool unassigned = character == 0 || (character >= 0x80 && character < 0xA0);
        for (const OwnCharacter &own : OwnCharacters)
            if (unassigned && own.codePage == number && own.byte == byte) character = own.character;
        if (character == 0 && byte >= 0x80 && byte < 0xA0) character = (unsigned)byte;
        page->characters[byte] = character;
        // A character two bytes give (я) is written as the first.
        if (character != 0 || byte == 0) page->bytes.emplace(character, (unsigned char)byte);
    }
}

int ByteOf(const CodePage &page, unsigned long character) {
    // Every code page fxt knows is ASCII below 0x80.
    if (character < 0x80) return (int)character;
    auto found = page.bytes.find((unsigned)character);
    return found == page.bytes.end() ? -1 : found->second;
}
