// The secret that signs this user's journals of fxt make, kept in the
// user's own state folder, never in a game folder: 32 bytes from the
// system's random source, made by the first make that needs it.
#ifndef PARLYTE_FXT_JOURNAL_KEY_H
#define PARLYTE_FXT_JOURNAL_KEY_H

#include <string>

enum KeyState {
    JOURNAL_KEY_READ,     // in key
    JOURNAL_KEY_ABSENT,   // there is none yet: no journal can be this user's
    JOURNAL_KEY_BROKEN,   // there, but it cannot be read or trusted: problem says why
};

// Reads the key; with make, makes it where there is none.
KeyState UserJournalKey(bool make, std::string *key, std::string *problem);

#endif
