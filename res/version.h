// The program's version, written here only: the version resource, the About
// box and the release's name all take it from here.
#ifndef PARLYTE_VERSION_H
#define PARLYTE_VERSION_H

#define PARLYTE_VERSION_MAJOR 0
#define PARLYTE_VERSION_MINOR 1

#define PARLYTE_TEXT_OF(value) #value
#define PARLYTE_EXPANDED_TEXT_OF(value) PARLYTE_TEXT_OF(value)
// "0.1"
#define PARLYTE_VERSION_TEXT PARLYTE_EXPANDED_TEXT_OF(PARLYTE_VERSION_MAJOR.PARLYTE_VERSION_MINOR)

#endif
