// fxt run as a user runs it, for the tests of the Linux fxt and of a
// Windows build of it (FXT_EXE) under Wine (WINE): each test gets a work
// folder, and what the fxt under test printed and how it ended.
#ifndef PARLYTE_FXT_FIXTURE_H
#define PARLYTE_FXT_FIXTURE_H

#include "core_fixture.h"

#include <string>
#include <vector>

struct FxtRun {
    int status;
    std::string out;
    std::string err;
};

// How many times a Windows program is started before Wine's failing to
// start it fails the test.
const int WineStarts = 3;

std::string Quoted(const std::string &word);
// The Windows fxt under test, or null for the Linux one.
const char *WindowsFxt(void);
// A path as the fxt under test writes it.
std::string Shown(std::string path);

// Bytes of a Windows code page in UTF-8 by the C library's converter,
// which refuses the bytes the code page leaves unassigned: below 0xA0 they
// are the C1 controls of the same value, above it the characters of
// Unicode's private use area that Windows' own converter gives them.
std::string Utf8ByIconv(const std::string &bytes, int codePage = 1252);
// A table such as fxt dump prints: keys grouped by the first language that
// has a text for them, and any byte a language file can carry.
std::string RandomTable(unsigned seed, int rows);
// Every byte a language file can carry, in a key and in each text.
std::string EveryByteTable(void);
// The names in a folder, sorted.
std::vector<std::string> Names(const std::string &folder);
// A journal of fxt make as a game folder from the internet may bring one:
// the make it names, then the lines given.
std::string ForgedJournal(const std::string &lines);
// A file's size and checksum as a journal gives them.
std::string SumOf(const std::string &path);
// A make killed as it wrote its first new file, in a GTADATA (data, ending
// with a separator) that can no longer be written to (chattr +i); and what
// every command then says, with the system's text for the failed removal.
void PlantStaleJournalInLockedFolder(const std::string &data);
std::string StaleJournalLeftToUndo(const std::string &data, const std::string &systemText);

class FxtTest : public ::testing::Test {
public:
    void SetUp() override { work = MakeTemporaryFolder(); }
    void TearDown() override { RemoveTree(work); }

    // Runs the fxt under test in the work folder, or with windows false the
    // Linux one.
    FxtRun Fxt(const std::vector<std::string> &arguments, bool windows = true);
    // A command whose output went to the work folder's files out and err.
    FxtRun Run(const std::string &command);
    // fxt make, with these options, of a table written to a file.
    FxtRun MakeFrom(const std::string &table, const std::string &game, std::vector<std::string> options = {});
    // Holds a file in the work folder open as another program does: for
    // reading, sharing reading only. Under Wine that is a Windows process;
    // for the Linux fxt an exclusive lock stands for it.
    void Hold(const std::string &path);
    // Lets the held file go.
    void Release(void);
    // Makes the game folder's ENGLISH.FXT, which has no backup yet, a link to
    // a file outside it, and expects a make to replace the link as a name:
    // the file it led to keeps its bytes, the backup holds them, not a link.
    void ExpectLinkReplacedAsAName(const std::string &game);
    // The four language files of a game folder, as they are.
    std::vector<std::string> LanguageFiles(const std::string &game);

    std::string work;

private:
    std::string WaitForFile(const std::string &one, const std::string &other);
    int held = -1;
};

#endif
