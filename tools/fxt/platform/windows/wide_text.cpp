#include "wide_text.h"

#include <windows.h>

std::wstring WideOfUtf8(const std::string &utf8) {
    if (utf8.empty()) return L"";
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), NULL, 0);
    std::wstring wide((size_t)length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], length);
    return wide;
}

std::string Utf8OfWide(const wchar_t *wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
    if (length <= 1) return "";
    std::string utf8((size_t)length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, NULL, NULL);
    utf8.pop_back();
    return utf8;
}
