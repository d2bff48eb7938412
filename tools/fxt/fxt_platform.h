// What differs between fxt on Windows and fxt on Linux.
#ifndef PARLYTE_FXT_PLATFORM_H
#define PARLYTE_FXT_PLATFORM_H

#include <string>

// Standard input and output carry bytes: no line end is changed on the way.
void UseBinaryStandardStreams(void);
// A path as the user's system writes it, for messages.
std::string ShownPath(const std::string &path);

#endif
