// What the fuzzers share: a game folder of their own, the four language
// files written from an input, and a check that stops the run when it fails.
#ifndef PARLYTE_FUZZ_GAME_H
#define PARLYTE_FUZZ_GAME_H

#include <string>

// A new game folder with its GTADATA, ending with a separator.
std::string FuzzGameFolder(void);
// The input is the four files one after the other, separated by "|FXT|";
// missing parts are empty files.
void WriteFuzzLanguageFiles(const std::string &folder, const std::string &input);
// Aborts, saying what, when the condition fails.
void Check(bool condition, const char *what);

#endif
