// Windows' UTF-16 and the UTF-8 fxt keeps its paths and messages in.
#ifndef PARLYTE_FXT_WIDE_TEXT_H
#define PARLYTE_FXT_WIDE_TEXT_H

#include <string>

std::wstring WideOfUtf8(const std::string &utf8);
std::string Utf8OfWide(const wchar_t *wide);

#endif
