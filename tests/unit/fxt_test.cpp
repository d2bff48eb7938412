// The fxt tool, run as a user runs it: tables written to language files and
// read back byte for byte, bad input refused without touching the files,
// what check finds, PO files as gettext reads them, and going back. The
// tests of the Linux fxt (FxtTest) run natively; those of a Windows build
// of it (FXT_EXE) under Wine (WINE), FxtExeTest, run where only Windows
// differs and against the Linux fxt's output (fxt_exe_win*).
#include "core_fixture.h"

#include "realistic_table.h"
#include "text/language_file_writer.h"
#include "tools/fxt/folder/file_facts.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/encoding.h"
#include "tools/fxt/formats/journal.h"
#include "tools/fxt/formats/po.h"
#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/formats/table.h"
#include "tools/fxt/platform/windows/command_line.h"

#include <algorithm>
#include <dirent.h>
#include <functional>
#include <iostream>
#include <random>
#include <tuple>
#include <set>
#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct FxtRun {
    int status;
    std::string out;
    std::string err;
};

// How many times a Windows program is started before Wine's failing to
// start it fails the test.
const int WineStarts = 3;

std::string Quoted(const std::string &word) {
    std::string quoted = "'";
    for (char ch : word) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

// The Windows fxt under test (fxt_exe_win*), or null for the Linux one.
const char *WindowsFxt(void) {
    return getenv("FXT_EXE");
}

// A path as the fxt under test writes it.
std::string Shown(std::string path) {
    if (WindowsFxt()) std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Bytes of a Windows code page in UTF-8 by the C library's converter,
// which refuses the bytes the code page leaves unassigned: below 0xA0 they
// are the C1 controls of the same value, above it the characters of
// Unicode's private use area that Windows' own converter gives them.
std::string Utf8ByIconv(const std::string &bytes, int codePage = 1252) {
    // What fxt gives the bytes iconv leaves unassigned: Windows' own
    // private-use characters, and я at 0x98 of Windows-1251.
    const std::map<std::pair<int, unsigned char>, std::string> ownCharacters = {
        {{1253, 0xAA}, "\xEF\xA3\xB9"}, {{1253, 0xD2}, "\xEF\xA3\xBA"}, {{1253, 0xFF}, "\xEF\xA3\xBB"},
        {{1257, 0xA1}, "\xEF\xA3\xBC"}, {{1257, 0xA5}, "\xEF\xA3\xBD"}, {{1251, 0x98}, "\xD1\x8F"}};
    iconv_t converter = iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
    std::string text;
    for (char byte : bytes) {
        char in[1] = {byte}, out[8], *from = in, *to = out;
        size_t left = 1, room = sizeof out;
        unsigned char value = (unsigned char)byte;
        auto own = ownCharacters.find({codePage, value});
        if (own == ownCharacters.end() && iconv(converter, &from, &left, &to, &room) != (size_t)-1) {
            text.append(out, to - out);
            continue;
        }
        EXPECT_TRUE(value < 0xA0 || own != ownCharacters.end()) << "byte " << (int)value << " of " << codePage;
        text += own != ownCharacters.end() ? own->second : std::string("\xC2") + byte;
    }
    iconv_close(converter);
    return text;
}

// A table of bytes in UTF-8 by iconv: the column of a fan translation
// written over language through codePage, the rest through Windows-1252.
std::string TableByIconv(const std::string &table, int language, int codePage) {
    std::string text, field;
    int column = 0;
    for (char byte : table + '\n') {
        if (byte != '\t' && byte != '\n') {
            field += byte;
            continue;
        }
        text += Utf8ByIconv(field, column == language + 1 ? codePage : 1252) + byte;
        field.clear();
        column = byte == '\t' ? column + 1 : 0;
    }
    text.pop_back();
    return text;
}

class FxtTest : public ::testing::Test {
public:
    void SetUp() override { work = MakeTemporaryFolder(); }
    void TearDown() override { RemoveTree(work); }

    // Runs the fxt under test in the work folder, or with windows false the
    // Linux one.
    FxtRun Fxt(const std::vector<std::string> &arguments, bool windows = true) {
        bool underWine = windows && WindowsFxt();
        std::string command = "cd " + Quoted(work) + " && ";
        // The Linux fxt keeps its key in the work folder.
        command += underWine ? Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt())
                             : "XDG_STATE_HOME=" + Quoted(work + "/state") + " " + Quoted(FXT_PATH);
        for (const std::string &argument : arguments) command += " " + Quoted(argument);
        command += " >" + Quoted(work + "/out") + " 2>" + Quoted(work + "/err") + " </dev/null";
        FxtRun run = Run(command);
        // Now and then Wine fails to start a process and ends it with 1 and
        // not a word (seen about once in 3,000 starts here). fxt never fails
        // without saying why, so such a run is Wine's, and is tried again.
        for (int start = 2; underWine && run.status == 1 && run.out.empty() && run.err.empty(); ++start) {
            if (start > WineStarts) {
                ADD_FAILURE() << "Wine ended fxt.exe with status 1 and printed nothing, " << WineStarts << " times";
                break;
            }
            std::cout << "Wine did not start fxt.exe; starting it again (start " << start << " of " << WineStarts << ")\n";
            run = Run(command);
        }
        return run;
    }

    // A command whose output went to the work folder's files out and err.
    FxtRun Run(const std::string &command) {
        int status = system(command.c_str());
        FxtRun run = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(work + "/out"), ReadBytes(work + "/err")};
        // Standard error is text on Windows, its lines ending with CR LF.
        for (size_t crlf; WindowsFxt() && (crlf = run.err.find("\r\n")) != std::string::npos;) run.err.erase(crlf, 1);
        return run;
    }

    // fxt make, with these options, of a table written to a file.
    FxtRun MakeFrom(const std::string &table, const std::string &game, std::vector<std::string> options = {}) {
        WriteBytes(work + "/table.tsv", table);
        options.insert(options.begin(), "make");
        options.insert(options.end(), {work + "/table.tsv", game});
        return Fxt(options);
    }

    // Holds a file in the work folder open as another program does: for
    // reading, sharing reading only. Under Wine that is a Windows process,
    // whose shell makes the file "ended" once it is gone; for the Linux fxt
    // an exclusive lock stands for it.
    void Hold(const std::string &path) {
        if (!WindowsFxt()) {
            held = open((work + "/" + path).c_str(), O_RDONLY);
            ASSERT_EQ(flock(held, LOCK_EX), 0);
            return;
        }
        // Only the holder and its shell's last step run in the background:
        // a stale "ended" must be gone before the wait for the new one.
        std::string command = "cd " + Quoted(work) + " && { (" + Quoted(getenv("WINE")) + " " +
                              Quoted(getenv("FILE_HOLDER")) + " " + Quoted(path) +
                              " held released >holder.log 2>&1; echo \"status $?\" >>holder.log; touch ended) & }";
        for (int start = 1;; ++start) {
            remove((work + "/ended").c_str());
            remove((work + "/held").c_str());
            ASSERT_EQ(system(command.c_str()), 0);
            if (WaitForFile("held", "ended") == "held") return;
            // It ended without holding the file: Wine failed to start it,
            // or it says why in its log.
            std::string log = ReadBytes(work + "/holder.log");
            ASSERT_LT(start, WineStarts) << "file_holder did not take " << path << " in " << start << " starts: " << log;
            std::cout << "file_holder did not take " << path << " (" << log << "); starting it again (start "
                      << start + 1 << " of " << WineStarts << ")\n";
        }
    }

    // Lets the held file go, and waits until the holder's shell has ended,
    // so that nothing of it is left to touch the next holder's files.
    void Release(void) {
        if (!WindowsFxt()) {
            close(held);
            return;
        }
        WriteBytes(work + "/released", "");
        EXPECT_EQ(WaitForFile("ended", "ended"), "ended") << "file_holder did not end: " << ReadBytes(work + "/holder.log");
        remove((work + "/released").c_str());
    }

    // Which of two files of the work folder appears first, within a minute;
    // "" when neither does.
    std::string WaitForFile(const std::string &one, const std::string &other) {
        struct stat info;
        for (int waited = 0; waited < 60000; waited += 20) {
            for (const std::string &name : {one, other})
                if (stat((work + "/" + name).c_str(), &info) == 0) return name;
            usleep(20000);
        }
        return "";
    }

    // Makes the game folder's ENGLISH.FXT, which has no backup yet, a link to
    // a file outside it, and expects a make to replace the link as a name:
    // the file it led to keeps its bytes, the backup holds them, not a link.
    void ExpectLinkReplacedAsAName(const std::string &game) {
        const std::string english = game + "/GTADATA/ENGLISH.FXT", stored = work + "/stored.fxt";
        ASSERT_EQ(rename(english.c_str(), stored.c_str()), 0);
        ASSERT_EQ(symlink(stored.c_str(), english.c_str()), 0);
        const std::string linked = ReadBytes(stored);
        ASSERT_EQ(MakeFrom(TableHeader + std::string("A\tfour\tquatre\tvier\tquattro\n"), game).status, 0);
        struct stat info;
        EXPECT_EQ(ReadBytes(stored), linked);
        EXPECT_TRUE(lstat((english + ".bak").c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                    ReadBytes(english + ".bak") == linked);
        EXPECT_TRUE(lstat(english.c_str(), &info) == 0 && S_ISREG(info.st_mode));
    }

    // The four language files of a game folder, as they are.
    std::vector<std::string> LanguageFiles(const std::string &game) {
        std::vector<std::string> files;
        for (const char *name : LanguageFileNames) files.push_back(ReadBytes(game + "/" + CompatNativePath(name)));
        return files;
    }

    std::string work;
    int held = -1;
};

// A table such as fxt dump prints: keys grouped by the first language that
// has a text for them, and any byte a language file can carry.
std::string RandomTable(unsigned seed, int rows) {
    std::mt19937 random(seed);
    auto byte = [&](char forbidden) {
        for (;;) {
            char ch = (char)(1 + random() % 254);
            if (ch != forbidden) return ch;
        }
    };
    auto text = [&](size_t longest, char forbidden) {
        std::string value;
        size_t length = random() % 8 == 0 ? random() % longest : random() % 12;
        for (size_t i = 0; i < length; ++i) {
            int kind = random() % 10;
            value += kind == 0 ? '\n' : kind == 1 ? "\t\r\\"[random() % 3] : kind < 6 ? (char)('a' + random() % 26) : byte(forbidden);
        }
        return value;
    };
    std::vector<std::pair<int, std::string>> lines;
    std::set<std::string> keys;
    while ((int)lines.size() < rows) {
        std::string key = text(90, ']');
        if (!keys.insert(key).second) continue;
        int first = random() % 4;
        TableRow row = {key, {}};
        for (int i = first; i < LANGUAGE_COUNT; ++i) {
            if (i != first && random() % 3 == 0) continue;
            row.texts[i] = random() % 10 == 0 ? "" : text(600, '[');
        }
        lines.emplace_back(first, FormatTableRow(row));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::string table = TableHeader;
    for (const auto &line : lines) table += line.second;
    return table;
}

std::vector<std::string> Names(const std::string &folder) {
    std::vector<std::string> names;
    DIR *listing = opendir(folder.c_str());
    while (const dirent *entry = listing ? readdir(listing) : nullptr)
        if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    if (listing) closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

// Every byte a language file can carry, in a key and in each text.
std::string EveryByteTable(void) {
    std::string key, text;
    for (int byte = 1; byte <= 254; ++byte) {
        if (byte != ']') key += (char)byte;
        if (byte != '[') text += (char)byte;
    }
    return TableHeader + FormatTableRow(TableRow{key, {text, text, text, text}});
}

// A journal of fxt make, the make it names and then the lines given,
// unsigned, as a game folder from the internet may bring one.
std::string UnsignedJournal(const std::string &lines) {
    return "fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back\n"
           "make\t0123456789abcdef0123456789abcdef\n" +
           lines;
}

// The same signed as fxt signs it, for the GTADATA folder data (ending with
// a separator), by key: the secret of this user's fxt, in the work folder's
// state folder, where none is given.
std::string SignedJournal(const std::string &data, const std::string &lines, std::string key = "") {
    if (key.empty()) key = ReadBytes(data + "../../state/fxt/journal-key");
    EXPECT_EQ(key.size(), 32u) << "the key fxt made";
    return SignedJournalLines("", UnsignedJournal(lines), JournalSeal{key, LookAt(data, LOOK_ONLY).identity});
}

// A file's size and checksum as a journal gives them.
std::string SumOf(const std::string &path) {
    std::string bytes = ReadBytes(path);
    return std::to_string(bytes.size()) + "\t" + Sha256Of(bytes);
}

// A make killed as it wrote its first new file, in a GTADATA (data, ending
// with a separator) that can no longer be written to; and what every
// command then says, with the system's text for the failed removal.
void PlantStaleJournalInLockedFolder(const std::string &data) {
    WriteBytes(data + "ENGLISH.FXT.new", "");
    WriteBytes(data + "fxt-make.journal",
               SignedJournal(data, "previous\tkept\nreplace\tENGLISH.FXT\tENGLISH.FXT.old\t-\t" +
                                       SumOf(data + "ENGLISH.FXT") + "\t1\t" + Sha256Of("x") + "\nplanned\n"));
    ASSERT_EQ(system(("chattr +i " + Quoted(data)).c_str()), 0);
}

std::string StaleJournalLeftToUndo(const std::string &data, const std::string &systemText) {
    return "fxt: an earlier fxt make of this folder was interrupted, and putting the folder back failed:\n"
           "fxt: cannot remove " + Shown(data + "ENGLISH.FXT.new") + ": " + systemText + "\n"
           "fxt: that is left to do; the next fxt command tries it again, and no fxt command writes here until it "
           "succeeds\n";
}


// Make replaces the four files, keeping each file it replaces the first time
// as NAME.bak, and never that backup again, and each time as NAME.prev; a
// file it cannot replace stops it before anything is written.
TEST_F(FxtTest, ReplacesAllFourFilesOrNone) {
    const std::string header = TableHeader, game = work + "/game";
    std::string kept, wrote;
    for (const char *name : {"ENGLISH.FXT", "FRENCH.FXT", "GERMAN.FXT", "ITALIAN.FXT"}) {
        kept += "kept " + Shown(game + "/GTADATA/" + name) + " as it was in " + name + ".bak\n";
        wrote += "wrote " + Shown(game + "/GTADATA/" + name) + ": 1 text changed\n";
    }
    FxtRun made = MakeFrom(header + "A\tone\tun\teins\tuno\n", game);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out + made.err, wrote) << "nothing replaced, nothing kept";
    const std::vector<std::string> first = LanguageFiles(game);

    made = MakeFrom(header + "A\ttwo\tdeux\tzwei\tdue\n", game);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, kept + wrote);
    EXPECT_EQ(made.err, "");
    std::vector<std::string> names;
    for (const char *name : {"ENGLISH.FXT", "FRENCH.FXT", "GERMAN.FXT", "ITALIAN.FXT"})
        for (const char *suffix : {"", ".bak", ".prev"}) names.push_back(name + std::string(suffix));
    EXPECT_EQ(Names(game + "/GTADATA"), names);
    auto backups = [&] {
        std::vector<std::string> files;
        for (const char *name : LanguageFileNames) files.push_back(ReadBytes(game + "/" + CompatNativePath(name) + ".bak"));
        return files;
    };
    EXPECT_EQ(backups(), first);

    made = MakeFrom(header + "A\tthree\ttrois\tdrei\ttre\n", game);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out + made.err, wrote);
    EXPECT_EQ(backups(), first) << "the backups hold the files from before the first make";
    EXPECT_EQ(Fxt({"dump", game}).out, header + "A\tthree\ttrois\tdrei\ttre\n");

    ASSERT_EQ(remove((game + "/GTADATA/ENGLISH.FXT.bak").c_str()), 0);
    ExpectLinkReplacedAsAName(game);
    // Whatever the umask, what make writes can be replaced by the next make.
    WriteBytes(work + "/table.tsv", header + "A\tthree\ttrois\tdrei\ttre\n");
    EXPECT_EQ(Run("cd " + Quoted(work) + " && umask 0222 && " + Quoted(FXT_PATH) + " make table.tsv game >/dev/null").status, 0);
    EXPECT_EQ(MakeFrom(header + "A\tfour\tquatre\tvier\tquattro\n", game).err, "");

    const std::map<std::string, std::string> before = FolderSnapshot(game);
    const std::string italian = game + "/GTADATA/ITALIAN.FXT";
    ASSERT_EQ(chmod(italian.c_str(), 0444), 0);
    made = MakeFrom(header + "A\tfive\tcinq\tf\xC3\xBCnf\tcinque\n", game);
    EXPECT_EQ(made.status, 1);
    EXPECT_EQ(made.err, "fxt: " + Shown(italian) + " is read-only\nfxt: nothing was written\n");
    EXPECT_EQ(FolderSnapshot(game), before);
    ASSERT_EQ(chmod(italian.c_str(), 0644), 0);

    Hold("game/GTADATA/GERMAN.FXT");
    made = MakeFrom(header + "A\tfive\tcinq\tf\xC3\xBCnf\tcinque\n", game);
    Release();
    EXPECT_EQ(made.status, 1);
    std::string refusal = "fxt: " + Shown(game + "/GTADATA/GERMAN.FXT") + " cannot be replaced: ";
    EXPECT_EQ(made.err.substr(0, refusal.size()), refusal) << made.err;
    EXPECT_NE(made.err.find("\nfxt: nothing was written\n"), std::string::npos) << made.err;
    EXPECT_EQ(FolderSnapshot(game), before);

    // A make at work holds its journal: another one leaves it alone.
    const std::string journal = game + "/GTADATA/fxt-make.journal";
    WriteBytes(journal, "");
    Hold("game/GTADATA/fxt-make.journal");
    made = MakeFrom(header + "A\tfive\tcinq\tf\xC3\xBCnf\tcinque\n", game);
    Release();
    EXPECT_EQ(made.status, 1);
    EXPECT_EQ(made.err, "fxt: another fxt make is working on this folder (" + Shown(journal) +
                            " is in use); try again once it has finished\n");
    EXPECT_EQ(ReadBytes(journal), "");
}

// A journal that is no journal of fxt make's, or says what the folder does
// not hold, is not acted on: it is moved aside, reading goes on, the folder
// stays byte for byte as it was and nothing outside it is touched.
TEST_F(FxtTest, ForgedJournalsChangeNothing) {
    const std::string header = TableHeader, game = work + "/game", data = game + "/GTADATA/", outside = work + "/outside";
    const std::string table = header + "A\tone\tun\teins\tuno\n";
    const std::string swapping = "planned\nfile\tENGLISH.FXT.old\t1-2\nfile\tENGLISH.FXT.new\t1-3\nswapping\n";
    auto journal = [&](const std::string &lines) { WriteBytes(data + "fxt-make.journal", SignedJournal(data, lines)); };
    // Swapping ENGLISH.FXT, its copy said to hold what copy holds.
    auto swappingEnglishWithCopyOf = [&](const std::string &copy) {
        journal("replace\tENGLISH.FXT\tENGLISH.FXT.old\t-\t" + SumOf(copy) + "\t" + SumOf(data + "ENGLISH.FXT") + "\n" +
                swapping);
    };
    // A plan that would remove ENGLISH.FXT.bak as the make's own backup.
    const std::string englishBackup = "replace\tENGLISH.FXT\tENGLISH.FXT.old\tENGLISH.FXT.bak\t";
    const std::string dropFrench = "drop\tFRENCH.FXT.prev\t";
    auto holdsNeither = [&](const std::string &name) {
        return " does not match the folder (" + Shown(data + name) +
               " holds neither what it held before the make nor what the make wrote)";
    };
    auto notWritten = [&](const std::string &name) {
        return " does not match the folder (" + Shown(data + name) + " is not a file the make wrote)";
    };
    const std::string foreign = " was not written by this user's fxt for this folder (it came with the folder, or "
                                "from another one)";
    const std::string rejected = "fxt-make.journal.rejected", neither = "which fxt neither reads nor moves: remove it";
    struct Case {
        const char *what;
        std::function<void()> plant;
        std::string message;  // after the journal's path
        std::string keptAs;   // the name it is moved aside to, or none
        std::string more = "";  // what the dump says besides
    };
    const std::vector<Case> cases = {
        {"unsigned, as a download brings one", [&] {
             WriteBytes(data + "fxt-make.journal", UnsignedJournal(dropFrench + SumOf(data + "FRENCH.FXT.prev") +
                                                                   "\t1-2\nplanned\nswapping\ndone\n"));
         },
         foreign, rejected},
        {"signed with another user's key", [&] {
             WriteBytes(data + "fxt-make.journal",
                        SignedJournal(data, "replace\tENGLISH.FXT\t-\t-\t-\t-\t1\t" + Sha256Of("x") + "\nplanned\n",
                                      std::string(32, 'k')));
         },
         foreign, rejected},
        {"signed for another folder", [&] {
             ASSERT_EQ(MakeFrom(table, work + "/other").status, 0);
             WriteBytes(data + "fxt-make.journal", SignedJournal(work + "/other/GTADATA/",
                                                                 "replace\tENGLISH.FXT\t-\t-\t-\t-\t1\t" + Sha256Of("x") +
                                                                     "\nplanned\n"));
         },
         foreign, rejected},
        {"done, dropping a NAME.prev and replacing nothing", [&] {
             journal(dropFrench + SumOf(data + "FRENCH.FXT.prev") + "\t" +
                     LookAt(data + "FRENCH.FXT.prev", LOOK_ONLY).identity + "\nplanned\nswapping\ndone\n");
         },
         " is not a journal fxt make wrote (line 4 is not a journal's)", rejected},
        {"planned, naming the backup the user has", [&] {
             journal(englishBackup + SumOf(data + "ENGLISH.FXT") + "\t1\t" + Sha256Of("x") + "\nplanned\n");
         },
         notWritten("ENGLISH.FXT.bak"), rejected},
        {"planned, naming the backup once restore made the file its bytes", [&] {
             ASSERT_EQ(Fxt({"restore", game}).status, 0);
             journal(englishBackup + SumOf(data + "ENGLISH.FXT") + "\t1\t" + Sha256Of("x") + "\nplanned\n");
         },
         notWritten("ENGLISH.FXT.bak"), rejected},
        {"planned, naming the backup of a twin in another letter case", [&] {
             WriteBytes(data + "english.fxt", ReadBytes(data + "ENGLISH.FXT.bak"));
             journal("replace\tenglish.fxt\tenglish.fxt.old\tenglish.fxt.bak\t" + SumOf(data + "english.fxt") + "\t1\t" +
                     Sha256Of("x") + "\nplanned\n");
         },
         notWritten("ENGLISH.FXT.bak"), rejected,
         "fxt: " + Shown(data + "ENGLISH.FXT") + " and " + Shown(data + "english.fxt") +
             " are one name on Windows; this reads ENGLISH.FXT\n"},
        {"swapping, the language files as new ones in folders it says it made", [&] {
             std::string lines = "made\tgame folder\nmade\tGTADATA\n", files;
             for (const char *name : {"ENGLISH.FXT", "FRENCH.FXT", "GERMAN.FXT", "ITALIAN.FXT"}) {
                 lines += std::string("replace\t") + name + "\t-\t-\t-\t-\t" + SumOf(data + name) + "\n";
                 files += std::string("file\t") + name + ".new\t1-" + name + "\n";
             }
             journal(lines + "planned\n" + files + "swapping\n");
         },
         holdsNeither("ITALIAN.FXT"), rejected},
        {"swapping, with junk as the copy", [&] {
             WriteBytes(data + "ENGLISH.FXT.old", "junk");
             swappingEnglishWithCopyOf(data + "ENGLISH.FXT.old");
         },
         holdsNeither("ENGLISH.FXT"), rejected},
        {"swapping, the copy a link to a file outside", [&] {
             WriteBytes(outside + "/id_rsa", "secret");
             ASSERT_EQ(symlink("../../outside/id_rsa", (data + "ENGLISH.FXT.old").c_str()), 0);
             swappingEnglishWithCopyOf(outside + "/id_rsa");
         },
         holdsNeither("ENGLISH.FXT"), rejected},
        {"planned, the backup a folder", [&] {
             ASSERT_EQ(remove((data + "GERMAN.FXT.bak").c_str()), 0);
             ASSERT_EQ(mkdir((data + "GERMAN.FXT.bak").c_str(), 0777), 0);
             journal("replace\tGERMAN.FXT\tGERMAN.FXT.old\tGERMAN.FXT.bak\t" + SumOf(data + "GERMAN.FXT") + "\t1\t" +
                     Sha256Of("x") + "\nplanned\n");
         },
         notWritten("GERMAN.FXT.bak"), rejected},
        {"planned, a new file that is not the one planned", [&] {
             WriteBytes(data + "ENGLISH.FXT.new", "someone's");
             journal("replace\tENGLISH.FXT\t-\t-\t-\t-\t1\t" + Sha256Of("x") + "\nplanned\n");
         },
         notWritten("ENGLISH.FXT.new"), rejected},
        {"swapping, the copy the make kept since changed", [&] {
             WriteBytes(data + "ENGLISH.FXT.old", "junk");
             journal("replace\tENGLISH.FXT\tENGLISH.FXT.old\t-\t" + SumOf(data + "ENGLISH.FXT.bak") + "\t" +
                     SumOf(data + "ENGLISH.FXT") + "\nplanned\nfile\tENGLISH.FXT.old\t" +
                     LookAt(data + "ENGLISH.FXT.old", LOOK_ONLY).identity + "\nfile\tENGLISH.FXT.new\t" +
                     LookAt(data + "ENGLISH.FXT", LOOK_ONLY).identity + "\nswapping\n");
         },
         " does not match the folder (" + Shown(data + "ENGLISH.FXT.old") + " is not the copy of the old bytes the make "
                                                                            "kept)",
         rejected},
        {"done, removing a NAME.prev that is another file", [&] {
             journal("replace\tITALIAN.FXT\t-\t-\t-\t-\t" + SumOf(data + "ITALIAN.FXT") + "\n" + dropFrench +
                     SumOf(data + "FRENCH.FXT.prev") + "\t1-2\nplanned\nfile\tITALIAN.FXT.new\t" +
                     LookAt(data + "ITALIAN.FXT", LOOK_ONLY).identity + "\nswapping\ndone\n");
         },
         " does not match the folder (" + Shown(data + "FRENCH.FXT.prev") + " is not the file the make found there)",
         rejected},
        {"planned, removing one file twice", [&] {
             std::string drop = dropFrench + SumOf(data + "FRENCH.FXT.prev") + "\t1-2\n";
             journal("replace\tITALIAN.FXT\t-\t-\t-\t-\t1\t" + Sha256Of("x") + "\n" + drop + drop + "planned\n");
         },
         " is not a journal fxt make wrote (its files are not language files, each once, with what it wrote)",
         rejected},
        {"a make's identifier too short", [&] {
             std::string lines = UnsignedJournal("");
             lines.replace(lines.find("\t") + 1, 1, "");
             WriteBytes(data + "fxt-make.journal",
                        SignedJournalLines("", lines, JournalSeal{ReadBytes(work + "/state/fxt/journal-key"),
                                                                  LookAt(data, LOOK_ONLY).identity}));
         },
         " is not a journal fxt make wrote (it names no make)", rejected},
        {"no journal, and its rejected name a folder", [&] {
             WriteBytes(data + "fxt-make.journal", "rm -rf /\n");
             ASSERT_EQ(mkdir((data + rejected).c_str(), 0777), 0);
         },
         foreign, rejected + "-2"},
        {"three gigabytes, sparse", [&] {
             journal("");
             ASSERT_EQ(truncate((data + "fxt-make.journal").c_str(), 3ll << 30), 0);
         },
         " is larger than a journal of fxt make can be", rejected},
        {"a pipe", [&] { ASSERT_EQ(mkfifo((data + "fxt-make.journal").c_str(), 0644), 0); },
         " is a device or a pipe, " + neither + "; nothing was changed", ""},
        {"a link to a file outside", [&] {
             WriteBytes(outside + "/id_rsa", "secret");
             ASSERT_EQ(symlink("../../outside/id_rsa", (data + "fxt-make.journal").c_str()), 0);
         },
         " is a link, " + neither + "; nothing was changed", ""},
        {"a link that leads nowhere", [&] { ASSERT_EQ(symlink("../nowhere", (data + "fxt-make.journal").c_str()), 0); },
         " is a link, " + neither + "; nothing was changed", ""},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.what);
        RemoveTree(game);
        RemoveTree(outside);
        ASSERT_EQ(mkdir(outside.c_str(), 0777), 0);
        ASSERT_EQ(MakeFrom(header + "A\tzero\tz\xC3\xA9ro\tnull\tzero\n", game).status, 0);
        ASSERT_EQ(MakeFrom(table, game).status, 0) << "the backups hold the first make's files";
        each.plant();
        std::map<std::string, std::string> expected = FolderSnapshot(game), outsideBefore = FolderSnapshot(outside);
        if (!each.keptAs.empty()) {
            expected["GTADATA/" + each.keptAs] = expected["GTADATA/fxt-make.journal"];
            expected.erase("GTADATA/fxt-make.journal");
        }
        FxtRun dumped = Fxt({"dump", game});
        EXPECT_EQ(dumped.status, 0);
        EXPECT_EQ(dumped.out.rfind(header, 0), 0u) << "reading goes on";
        EXPECT_EQ(dumped.err, "fxt: " + Shown(data + "fxt-make.journal") + each.message +
                                  (each.keptAs.empty() ? "\n"
                                                       : ": it was not acted on and is kept as " + each.keptAs +
                                                             "; nothing else was changed; fxt restore puts the backups "
                                                             "back\n") +
                                  each.more);
        EXPECT_EQ(FolderSnapshot(game), expected);
        EXPECT_EQ(FolderSnapshot(outside), outsideBefore);
    }
}

// What stands where a make writes and is no file of its own, a language
// file that is a pipe, and a GTADATA that cannot be written to: each is
// told in one line before anything changes, and the folder stays as it is.
TEST_F(FxtTest, WhatIsNoFileStopsAMakeBeforeAnyChange) {
    const std::string header = TableHeader, game = work + "/game", data = game + "/GTADATA/";
    const std::string table = header + "A\tone\tun\teins\tuno\n", changed = header + "A\t1\t1\t1\t1\n";
    const std::string nothing = "fxt: nothing was written\n";
    const std::string denied = "Access is denied.";
    // A stale journal: reading goes on, writing does not.
    const std::function<void()> staleJournal = [&] { PlantStaleJournalInLockedFolder(data); };
    const std::string undoFailed = StaleJournalLeftToUndo(data, denied);
    const std::function<void()> pipe = [&] {
        ASSERT_EQ(remove((data + "ITALIAN.FXT").c_str()), 0);
        ASSERT_EQ(mkfifo((data + "ITALIAN.FXT").c_str(), 0644), 0);
    };
    struct Case {
        const char *what;
        std::function<void()> plant;
        std::vector<std::string> command;  // on the game folder
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"a folder for a backup", [&] { ASSERT_EQ(mkdir((data + "GERMAN.FXT.bak").c_str(), 0777), 0); },
         {"make", "--remove-keys", work + "/table.tsv"}, 1,
         "fxt: " + Shown(data + "GERMAN.FXT.bak") + " is a folder, where fxt make keeps the backup of GERMAN.FXT: "
                                                    "move it away\n" + nothing},
        {"a link for a backup", [&] { ASSERT_EQ(symlink("FRENCH.FXT", (data + "FRENCH.FXT.bak").c_str()), 0); },
         {"make", "--remove-keys", work + "/table.tsv"}, 1,
         "fxt: " + Shown(data + "FRENCH.FXT.bak") + " is a link, where fxt make keeps the backup of FRENCH.FXT: move "
                                                    "it away\n" + nothing},
        {"a pipe for a new file", [&] { ASSERT_EQ(mkfifo((data + "ENGLISH.FXT.new").c_str(), 0644), 0); },
         {"make", "--remove-keys", work + "/table.tsv"}, 1,
         "fxt: " + Shown(data + "ENGLISH.FXT.new") + " is in the way: fxt make writes there while it works; move it "
                                                     "away\n" + nothing},
        {"a pipe for a language file", pipe, {"make", "--remove-keys", work + "/table.tsv"}, 1,
         "fxt: " + Shown(data + "ITALIAN.FXT") + " is a device or a pipe, not a language file\n" + nothing},
        {"a pipe for a language file, read", pipe, {"dump"}, 1,
         "fxt: " + Shown(data + "ITALIAN.FXT") + " is a device or a pipe, not a language file\n"},
        {"a GTADATA that cannot be written to", [&] { ASSERT_EQ(system(("chattr +i " + Quoted(data)).c_str()), 0); },
         {"make", "--remove-keys", work + "/table.tsv"}, 1,
         "fxt: nothing was written: " + Shown(game + "/GTADATA") + " cannot be written to: " + denied + "\n"},
        {"a stale journal there, read", staleJournal, {"dump"}, 0, undoFailed},
        {"a stale journal there, written to", staleJournal, {"make", "--remove-keys", work + "/table.tsv"}, 1,
         undoFailed + nothing},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.what);
        Run("chattr -R -i " + Quoted(game) + " 2>/dev/null");
        RemoveTree(game);
        ASSERT_EQ(MakeFrom(table, game).status, 0);
        WriteBytes(work + "/table.tsv", changed);
        each.plant();
        std::map<std::string, std::string> before = FolderSnapshot(game);
        std::vector<std::string> arguments = each.command;
        arguments.push_back(game);
        FxtRun run = Fxt(arguments);
        EXPECT_EQ(run.status, each.status);
        EXPECT_EQ(run.err, each.err);
        EXPECT_EQ(FolderSnapshot(game), before);
    }
    Run("chattr -R -i " + Quoted(game));
}

TEST_F(FxtTest, DumpOfAFolderWithoutLanguageFilesFails) {
    FxtRun run = Fxt({"dump", work});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "fxt: " + work + "/GTADATA/ENGLISH.FXT: The system cannot find the path specified.\n");
}

// What a make would do, told without doing it: --dry-run writes nothing,
// journal and backups included. Going back one language and one make at a
// time: restore puts back the languages named, undo what the last make
// replaced, once. diff and missing tell the texts.
TEST_F(FxtTest, GoingBackAndComparing) {
    const std::string header = TableHeader, game = work + "/game", data = Shown(game + "/GTADATA") + Shown("/");
    const std::string first = header + "A\tone\tun\teins\tuno\nB\ttwo\tdeux\tzwei\t\\N\n";
    const std::string second = header + "A\tONE\tun\teins\tUNO\nB\ttwo\tdeux\tzwei\tdue\n";
    ASSERT_EQ(MakeFrom(first, game).status, 0);
    ASSERT_EQ(MakeFrom(first, work + "/first").status, 0);
    std::map<std::string, std::string> before = FolderSnapshot(game);
    FxtRun run = MakeFrom(second, game, {"--dry-run"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "would write " + data + "ENGLISH.FXT: 1 text changed\nwould write " + data +
                           "ITALIAN.FXT: 2 texts changed\nwould keep " + data + "ENGLISH.FXT as it is now in "
                           "ENGLISH.FXT.bak\nwould keep " + data + "ITALIAN.FXT as it is now in ITALIAN.FXT.bak\n"
                           "a dry run: nothing was written\n");
    EXPECT_EQ(FolderSnapshot(game), before);

    ASSERT_EQ(MakeFrom(second, game).status, 0);
    ASSERT_EQ(MakeFrom(header + "A\tONE\tUN\teins\tUNO!\nB\ttwo\tdeux\tzwei\tdue\n", game).status, 0);
    run = Fxt({"diff", work + "/first", game});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "English\tchanged\tA\tone\tONE\nFrench\tchanged\tA\tun\tUN\nItalian\tchanged\tA\tuno\tUNO!\n"
                       "Italian\tadded\tB\t\\N\tdue\n");
    run = Fxt({"diff", game, game});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Fxt({"missing", "it", work + "/first"}).out, "B\n");

    // The last make replaced French and Italian alone.
    before = FolderSnapshot(game);
    run = Fxt({"undo", "--dry-run", game});
    EXPECT_EQ(run.out, "would put back " + data + "FRENCH.FXT from FRENCH.FXT.prev: 1 text changed\nwould put back " +
                           data + "ITALIAN.FXT from ITALIAN.FXT.prev: 1 text changed\na dry run: nothing was written\n");
    EXPECT_EQ(FolderSnapshot(game), before);
    run = Fxt({"undo", game});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "put back " + data + "FRENCH.FXT from FRENCH.FXT.prev\nput back " + data +
                           "ITALIAN.FXT from ITALIAN.FXT.prev\n");
    EXPECT_EQ(Fxt({"dump", game}).out, second);
    run = Fxt({"undo", game});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fxt: " + Shown(game + "/GTADATA") + " holds no NAME.prev (which fxt make keeps of each file it "
                                                            "replaces): there is nothing to undo\n");

    run = Fxt({"restore", "--dry-run", "Italian", game});
    EXPECT_EQ(run.out, "would restore " + data + "ITALIAN.FXT from ITALIAN.FXT.bak: 2 texts changed\n"
                                                 "a dry run: nothing was written\n");
    run = Fxt({"restore", "it", game});
    EXPECT_EQ(run.out, "restored " + data + "ITALIAN.FXT from ITALIAN.FXT.bak\n");
    EXPECT_EQ(Fxt({"dump", game}).out, header + "A\tONE\tun\teins\tuno\nB\ttwo\tdeux\tzwei\t\\N\n");
    EXPECT_EQ(Fxt({"restore", game}).out, "restored " + data + "ENGLISH.FXT from ENGLISH.FXT.bak\n");
    EXPECT_EQ(Fxt({"dump", game}).out, first);
}

TEST_F(FxtTest, FileNamesInAnyLetterCase) {
    const std::string header = TableHeader;
    std::string game = work + "/game";
    ASSERT_EQ(MakeFrom(header + "A\ta\tb\tc\td\n", game).status, 0);
    ASSERT_EQ(rename((game + "/GTADATA").c_str(), (game + "/gtaData").c_str()), 0);
    const std::vector<std::string> lower = {"english.fxt", "french.fxt", "german.fxt", "italian.fxt"};
    for (const std::string &name : lower) {
        std::string upper = name;
        for (char &ch : upper) ch = (char)toupper(ch);
        ASSERT_EQ(rename((game + "/gtaData/" + upper).c_str(), (game + "/gtaData/" + name).c_str()), 0);
    }
    EXPECT_EQ(Fxt({"dump", game}).out, header + "A\ta\tb\tc\td\n");
    EXPECT_EQ(Fxt({"check", game}).status, 0);

    ASSERT_EQ(MakeFrom(header + "B\tx\ty\tz\tw\n", game, {"--remove-keys"}).status, 0);
    EXPECT_EQ(Fxt({"dump", game}).out, header + "B\tx\ty\tz\tw\n");
    EXPECT_EQ(Names(game), std::vector<std::string>{"gtaData"});
    std::vector<std::string> kept = lower;
    for (const std::string &name : lower) kept.insert(kept.end(), {name + ".bak", name + ".prev"});
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Names(game + "/gtaData"), kept) << "make replaced the files, not wrote a second set beside them";

    // On Linux the folder named is taken as named: gta is not GTA.
    ASSERT_EQ(rename(game.c_str(), (work + "/GTA").c_str()), 0);
    ASSERT_EQ(MakeFrom(header + "C\tc\tc\tc\tc\n", work + "/gta", {"--remove-keys"}).status, 0);
    EXPECT_EQ(Fxt({"dump", work + "/GTA"}).out, header + "B\tx\ty\tz\tw\n");
    EXPECT_EQ(Fxt({"dump", work + "/gta"}).out, header + "C\tc\tc\tc\tc\n");
    EXPECT_EQ(Fxt({"dump", work + "/Gta"}).status, 1);
    EXPECT_EQ(Fxt({"make", work + "/TABLE.tsv", work + "/gta"}).err,
              "fxt: " + work + "/TABLE.tsv: The system cannot find the file specified.\n")
        << "nor is the table's path";
    EXPECT_EQ(Names(work + "/gta/GTADATA"), (std::vector<std::string>{"ENGLISH.FXT", "FRENCH.FXT", "GERMAN.FXT", "ITALIAN.FXT"}));
}

// The rows of a table, which must read.
std::vector<TableRow> RowsOf(const std::string &table) {
    std::vector<TableRow> rows;
    Refusals refusals;
    if (!ParseTable(table, &rows, &refusals)) ADD_FAILURE() << RefusalLines(refusals)[0];
    return rows;
}

// In UTF-8, the game's languages through Windows-1252 and a fan
// translation's column through any code page, and in the files' own bytes,
// what make is given comes back from dump, and both give the same files:
// every byte as iconv converts it.
TEST_F(FxtTest, DumpGivesBackWhatMakeWasGiven) {
    std::vector<std::pair<unsigned, int>> runs;
    for (unsigned seed = 0; seed <= 6; ++seed) runs.emplace_back(seed, 1252);
    for (int codePage : {1250, 1251, 1253, 1254, 1257}) runs.emplace_back(0, codePage);
    for (const auto &[seed, codePage] : runs) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", code page " + std::to_string(codePage));
        std::string table = seed == 0 ? EveryByteTable() : RandomTable(seed, seed == 1 ? 3 : 400);
        std::string game = work + "/game" + std::to_string(seed) + "-" + std::to_string(codePage);
        // Windows-1252 is the code page fxt takes when none is given.
        std::vector<std::string> page;
        if (codePage != 1252) page = {"--codepage", "Italian=" + std::to_string(codePage)};
        FxtRun made = MakeFrom(table, game + "-ansi", {"--ansi"});
        ASSERT_EQ(made.status, 0) << made.err;
        made = MakeFrom(TableByIconv(table, LANGUAGE_ITALIAN, codePage), game, page);
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(LanguageFiles(game), LanguageFiles(game + "-ansi"));
        FxtRun dumped = Fxt({"dump", "--ansi", game});
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(dumped.err, "");
        ASSERT_EQ(dumped.out, table);
        page.insert(page.begin(), "dump");
        page.push_back(game);
        ASSERT_EQ(Fxt(page).out, TableByIconv(table, LANGUAGE_ITALIAN, codePage));
    }
}

TEST_F(FxtTest, BadTablesAreRefusedAndNothingIsWritten) {
    const std::string header = TableHeader;
    const std::string utf16 = std::string("\xFF\xFEk\0e\0y\0\t\0", 10);
    struct Case {
        std::string table;
        std::string error;
        bool ansi;
        std::string codePage = "";
    };
    // Every refusal of a table is told, in the order of its lines, up to a
    // hundred of them.
    std::string table = Shown(work + "/table.tsv"), many = header, letters = header;
    for (int line = 2; line <= 151; ++line) {
        many += "K" + std::to_string(line) + "\t\\q\t\\N\t\\N\t\\N\n";
        letters += "K" + std::to_string(line) + "\ta\t\xC5\x9B\t\\N\t\\N\n";
    }
    std::vector<Case> cases = {
        {header + "A\t\xC5\x9B\t\\N\t\\N\t\\N\nB\tb\\q\t\\N\t\\N\t\\N\nC\t\xD0\x96\xC3\xA9\t\\N\t\\N\t\\N\nA\tb\t\\N\t\\N\t\\N\n",
         "fxt: " + table + ": line 2, column 3: '\xC5\x9B' (U+015B) is not in Windows-1252: give --codepage "
         "English=1250 (Central European) or English=1257 (Baltic)\nfxt: " + table + ": line 3: bad escape \\q\nfxt: " +
             table + ": line 4, column 3: '\xD0\x96' (U+0416) is not in Windows-1252: give --codepage English=1251 "
         "(Cyrillic)\nfxt: " + table + ": line 5: "
         "duplicate key, first on line 2\nfxt: nothing was written\n",
         false},
        {many, "line 101: bad escape \\q\nfxt: " + table + ": and 50 more\nfxt: nothing was written\n", false},
        {"key\tEnglish\n", "line 1: the header", false},
        {header + "A\ta\tb\n", "line 2: expected 5 tab-separated fields, found 3", false},
        {header + "A\ta\t\\N\t\\N\t\\N\nB\tb\\x\t\\N\t\\N\t\\N\n", "line 3: bad escape \\x", false},
        {header + "A\ta\\\t\\N\t\\N\t\\N\n", "line 2: a backslash at the end", false},
        {header + "A\ta\t\\N\t\\N\tb\\\n", "line 2: a backslash at the end", false},
        {header + "A]\ta\t\\N\t\\N\t\\N\n", "line 2: a key cannot hold ']'", false},
        {header + "A\t\\N\t\\N\tx[y\t\\N\n", "line 2: the German text holds '['", false},
        {header + "A\ta" + std::string(1, '\0') + "\t\\N\t\\N\t\\N\n", "line 2: a 0 byte", true},
        {header + "A\t\xFF\t\\N\t\\N\t\\N\n", "line 2: a 255 byte", true},
        {header + "A\ta\r\t\\N\t\\N\t\\N\n", "line 2: a raw carriage return", false},
        {header + "A\ta\r\n\r\nB\tb\t\\N\t\\N\t\\N\n", "line 2: expected 5 tab-separated fields, found 2", false},
        {header + "A\ta\t\\N\t\\N\t\\N\nB\tb\t\\N\t\\N\t\\N\nA\tc\t\\N\t\\N\t\\N\n", "line 4: duplicate key, first on line 2",
         false},
        {header + "\\N\ta\t\\N\t\\N\t\\N\n", "line 2: the key is \\N", false},
        {header + "A\t\\N\t\\N\t\\N\t\\N\n", "line 2: the key has no text", false},
        {header + "A\t\\N\ta\t\\N\t\\N\nB\tb\t\\N\t\\N\t\\N\n", "line 3: the key's first text is English", false},
        // What editors do to a table: columns count characters, not bytes.
        {header + "A\tBienvenue \xE0 Harbour\t\\N\t\\N\t\\N\n",
         "line 2, column 13: the byte 0xE0 is not UTF-8; a table of the files' own bytes (\"ANSI\") is read with --ansi",
         false},
        {header + "A\t\xC3\xA9\xE2\x82\xAC\xC3\t\\N\t\\N\t\\N\n", "line 2, column 5: the byte 0xC3 is not UTF-8", false},
        {header + "A\t\xC0\xA0\t\\N\t\\N\t\\N\n", "line 2, column 3: the byte 0xC0 is not UTF-8", false},
        {header + "A\t\xED\xA0\x80\t\\N\t\\N\t\\N\n", "line 2, column 3: the byte 0xED is not UTF-8", false},
        {header + "A\tBienvenue \xEF\xBF\xBD Harbour\t\\N\t\\N\t\\N\n",
         "line 2, column 13: U+FFFD, the replacement character: an editor that could not read the table put it in "
         "place of a letter; dump the table again and edit it as UTF-8",
         false},
        {header + "A\tBienvenue \xEF\xBF\xBD Harbour\t\\N\t\\N\t\\N\n", "line 2, column 13: U+FFFD, the replacement character",
         true},
        {header + "A\t\xC3\xA9\xE4\xB8\xAD\t\\N\t\\N\t\\N\n",
         "line 2, column 4: '\xE4\xB8\xAD' (U+4E2D) is not in Windows-1252, nor in any code page the game's files can be "
         "written in",
         false},
        {header + "A\t\xF0\x9F\x98\x80\t\\N\t\\N\t\\N\n", "line 2, column 3: '\xF0\x9F\x98\x80' (U+1F600) is not in",
         false},
        {header + "A\t\xC2\x80\t\\N\t\\N\t\\N\n", "line 2, column 3: U+0080 is not in Windows-1252, nor", false},
        {header + "A\t\xC3\xBF\t\\N\t\\N\t\\N\n",
         "line 2, column 3: '\xC3\xBF' (U+00FF) is the byte 0xFF in Windows-1252, which ends a language file's data: the "
         "game's files cannot hold it",
         false},
        // The letters of a code page, and where each letter is.
        {header + "A\tZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\t\\N\t\\N\t\\N\n",
         "line 2, column 5: '\xC5\xBC' (U+017C) is not in Windows-1252: give --codepage English=1250 (Central "
         "European) or English=1257 (Baltic)",
         false},
        {header + "A\t\xCE\xA9\t\\N\t\\N\t\\N\n",
         "line 2, column 3: '\xCE\xA9' (U+03A9) is not in Windows-1250: give --codepage English=1253 (Greek)", false,
         "English=1250"},
        {header + "A\t\xD0\x96\t\\N\t\\N\t\xD0\x96\n",
         "line 2, column 3: '\xD0\x96' (U+0416) is not in Windows-1252: give --codepage English=1251", false,
         "Italian=1251"},
        {header + "\xC5\x9B\ta\t\\N\t\\N\t\\N\n",
         "line 2, column 1: '\xC5\x9B' (U+015B) is not in Windows-1252, which keys are written in", false, "Italian=1250"},
        // A letter a code page lacks is told once, with where else it is.
        {letters, "line 2, column 6: '\xC5\x9B' (U+015B) is not in Windows-1252: give --codepage French=1250 (Central "
               "European) or French=1257 (Baltic); also on lines 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 and 139 more\nfxt: "
                  "nothing was written\n",
         false},
        {header + "A\ta" + std::string(1, '\0') + "\t\\N\t\\N\t\\N\n", "line 2, column 4: U+0000 is a character", false},
        {utf16, "line 1, column 1: the table is in UTF-16 (\"Unicode\"); save it as UTF-8", false},
        {utf16, "line 1, column 1: the table is in UTF-16", true},
        {"\xFE\xFF" + utf16.substr(2), "line 1, column 1: the table is in UTF-16", false},
        {"\xEF\xBB\xBF" + header, "line 1, column 1: the table begins with UTF-8's byte-order mark: it is UTF-8, which "
                                  "fxt reads without --ansi",
         true},
        {utf16.substr(2), "line 1, column 1: the table is in UTF-16", false},
        {"\0" + utf16.substr(2, 7), "line 1, column 1: the table is in UTF-16", true},
        {header + "A\tR\xC3\xA9" "cup\xC3\xA8re\t\\N\t\\N\t\\N\n",
         "line 2, column 4: the table looks like UTF-8 (U+00E9 written in UTF-8), which fxt reads without --ansi", true},
        {header + "A\ta\t\\N\t\\N\t\\N", "line 2: the table ends inside a line: it may have been cut short (a full "
                                             "disk, an interrupted copy); if the line is whole, end it with a line end",
         false},
        {header.substr(0, header.size() - 1), "line 1: the table ends inside a line", false},
        {"key\tEnglish\tFrench\tGerman\tItalian\rA\ta\t\\N\t\\N\t\\N\r",
         "line 1: the lines end with a carriage return alone (CR), as on old Macs", false},
        {header + "A\ta\t\\N\t\\N\t\\N\r\r\n", "line 2: the line ends with CR CR LF", false},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.error);
        std::string game = work + "/never";
        std::vector<std::string> options;
        if (each.ansi) options.push_back("--ansi");
        if (!each.codePage.empty()) options.insert(options.end(), {"--codepage", each.codePage});
        FxtRun run = MakeFrom(each.table, game, options);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(each.error), std::string::npos) << run.err;
        struct stat info;
        EXPECT_NE(stat(game.c_str(), &info), 0) << "the game folder was made";
    }

    // What the folder holds decides too: the keys it has, and names that
    // Windows takes for one.
    std::string game = work + "/kept";
    ASSERT_EQ(MakeFrom(header + "A\ta\tb\tc\td\nB\tb\t\\N\t\\N\t\\N\n", game).status, 0);
    const std::map<std::string, std::string> before = FolderSnapshot(game);
    const std::string refused = "\nfxt: nothing was written\n";
    const std::vector<std::pair<std::string, std::string>> folderCases = {
        {header + "A\tz\tz\tz\tz\nA\ty\ty\ty\ty\n", "fxt: " + table + ": line 3: duplicate key, first on line 2\n"},
        {header + "C\tc\t\\N\t\\N\t\\N\n", "fxt: " + table + " would remove 2 keys of the folder's: A, B; a table cut " +
                                                 "short does that, and --remove-keys removes them" + refused},
        {header, "fxt: " + table + " would remove 2 keys of the folder's: A, B;"},
    };
    for (const auto &each : folderCases) {
        FxtRun run = MakeFrom(each.first, game);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.substr(0, each.second.size()), each.second);
        EXPECT_EQ(FolderSnapshot(game), before);
    }
    WriteBytes(game + "/GTADATA/german.fxt", "");
    FxtRun twins = MakeFrom(header + "A\ta\tb\tc\td\n", game, {"--remove-keys"});
    EXPECT_EQ(twins.err, "fxt: " + Shown(game + "/GTADATA/GERMAN.FXT") + " and " + Shown(game + "/GTADATA/german.fxt") +
                             " are one name on Windows, which fxt cannot tell apart: keep one of them" + refused);
    EXPECT_NE(Fxt({"dump", game}).err.find("are one name on Windows; this reads GERMAN.FXT\n"), std::string::npos);
    ASSERT_EQ(remove((game + "/GTADATA/german.fxt").c_str()), 0);
    EXPECT_EQ(FolderSnapshot(game), before);
    FxtRun removed = MakeFrom(header + "C\tc\t\\N\t\\N\t\\N\n", game, {"--remove-keys"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(Fxt({"dump", game}).out, header + "C\tc\t\\N\t\\N\t\\N\n");
}

// A byte-order mark, CR LF line ends and empty lines at the end are read
// as the table they hold.
TEST_F(FxtTest, TablesAsEditorsSaveThem) {
    const std::string rows[] = {"key\tEnglish\tFrench\tGerman\tItalian", "A\tone\tun \xE9t\xE9\t\\N\t",
                                "B\t\\N\tdeux\\r\\n\tzwei\tdue"};
    const std::string dumped = rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n";
    const std::string crlf = rows[0] + "\r\n" + rows[1] + "\r\n" + rows[2] + "\r\n";
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string &table : {bom + Utf8ByIconv(dumped), Utf8ByIconv(crlf),
                                     bom + Utf8ByIconv(crlf + "\r\n\r\n"),
                                     Utf8ByIconv(dumped + "\n\n"),
                                     Utf8ByIconv(rows[0] + "\n" + rows[1] + "\r\n" + rows[2] + "\n")}) {
        SCOPED_TRACE(table);
        FxtRun made = MakeFrom(table, work + "/game");
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(Fxt({"dump", "--ansi", work + "/game"}).out, dumped);
    }
    ASSERT_EQ(MakeFrom(crlf + "\n", work + "/ansi", {"--ansi"}).status, 0);
    EXPECT_EQ(Fxt({"dump", "--ansi", work + "/ansi"}).out, dumped);
    // A spreadsheet's quoting is written as it stands, with a word.
    FxtRun quoted = MakeFrom(rows[0] + "\nQ\t\"Say \"\"hi\"\" to Bob\"\t\\N\t\\N\t\\N\n", work + "/quoted");
    EXPECT_EQ(quoted.status, 0);
    EXPECT_EQ(quoted.err, "fxt: " + Shown(work + "/table.tsv") + ": line 2: the English text begins and ends with '\"' and "
                          "holds '\"\"': a spreadsheet may have quoted it; it is written as it stands\n");
}

// Entries after an early end of a file's data never reach the table: make
// says so, and the backup keeps them.
TEST_F(FxtTest, EntriesLoadingNeverReachesAreKeptInTheBackup) {
    const std::string header = TableHeader, game = work + "/game";
    ASSERT_EQ(MakeFrom(header + "A\tone\tun\teins\tuno\n", game).status, 0);
    const std::string french = game + "/GTADATA/FRENCH.FXT";
    const std::string body = EncodeDecodedBytes(std::string(8, 'x') + "[C]c[D]d[E").substr(8);
    const std::string lost = EncodeDecodedBytes("[A]un[B]deux[") + "\xFF" + body;
    WriteBytes(french, lost);
    FxtRun made = MakeFrom(header + "A\tone\tun\teins\tuno\nB\ttwo\tdeux !\tzwei\tdue\n", game);
    ASSERT_EQ(made.status, 0);
    EXPECT_EQ(made.err, "fxt: " + Shown(french) +
                            " held 2 entries that loading never reaches (fxt check tells where); FRENCH.FXT.bak keeps "
                            "them\n");
    EXPECT_EQ(ReadBytes(french + ".bak"), lost);
}

TEST_F(FxtTest, CheckReportsWhatDoesNotReachTheTable) {
    std::string game = work + "/game";
    ASSERT_EQ(MakeFrom(RealisticTable(300, 5), game, {"--ansi"}).status, 0);
    FxtRun clean = Fxt({"check", game});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(std::count(clean.out.begin(), clean.out.end(), '\n'), 4) << "the summary only: " << clean.out;

    WriteBytes(game + "/GTADATA/ENGLISH.FXT", EncodeDecodedBytes("[A]a[B]b["));
    WriteBytes(game + "/GTADATA/FRENCH.FXT", EncodeDecodedBytes("[A]un[B]deux[A]trois["));
    WriteBytes(game + "/GTADATA/GERMAN.FXT", EncodeDecodedBytes("[A]eins[C\xE9]zwei"));
    WriteBytes(game + "/GTADATA/ITALIAN.FXT", "");
    const std::string report =
        "FRENCH.FXT:12: [A] occurs earlier in this file, at offset 0: this text is ignored\n"
        "GERMAN.FXT:7: [C\xE9] is the last entry and its text runs into the end of the data: it is not stored\n"
        "English: 2 entries stored; 0 of the 2 keys have no English text\n"
        "French: 2 entries stored; 0 of the 2 keys have no French text\n"
        "German: 1 entry stored; 1 of the 2 keys has no German text\n"
        "Italian: 0 entries stored; 2 of the 2 keys have no Italian text\n";
    FxtRun found = Fxt({"check", game});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out, Utf8ByIconv(report));
    EXPECT_EQ(Fxt({"check", "--ansi", game}).out, report);
    // The Russian я written over Italian, which the font must draw.
    WriteBytes(game + "/GTADATA/ITALIAN.FXT", EncodeDecodedBytes("[A]\x98[B]\x98\x98["));
    found = Fxt({"check", "--codepage", "Italian=1251", game});
    EXPECT_EQ(found.out.substr(found.out.rfind("Italian:")), "Italian: 2 entries stored; 0 of the 2 keys have no Italian "
                                                             "text; 2 texts hold the byte 0x98 for Cyrillic ya (U+044F), "
                                                             "which the game's font must draw there\n");
}

// What msgexec sees of a PO file's entries after its header: context,
// msgid and msgstr, each ended by a 0 byte.
std::string GettextEntries(FxtTest *test, const std::string &po);

// Game bytes as a PO file through a code page holds them, by iconv: the
// byte 4, gettext's context separator, as U+2404.
std::string PoText(const std::string &bytes, int codePage) {
    std::string text = Utf8ByIconv(bytes, codePage);
    for (size_t at; (at = text.find('\x04')) != std::string::npos;) text.replace(at, 1, "\xE2\x90\x84");
    return text;
}

// The same of rows, as the folder holds them, for a PO file of language
// with the msgid from source: the translations through the code page, the
// game's keys and texts through Windows-1252.
std::string EntriesOf(const std::vector<TableRow> &rows, int language, int source, bool asTemplate, int codePage) {
    std::string entries;
    for (const TableRow &row : rows)
        entries += PoText(row.key, 1252) + '\0' + PoText(PoMessageId(row, source), 1252) + '\0' +
                   PoText(asTemplate ? "" : row.texts[language].value_or(""), codePage) + '\0';
    return entries;
}

// A PO file as gettext's own tools read and rewrite it, on game-like and on
// every byte's texts through each code page: msgcat reads it (warning only
// of the control characters that translations should not hold) and writes
// it back byte for byte unwrapped, msgexec sees each key's texts as iconv
// converts the folder's bytes; wrapped by msgcat or changed by msgfilter,
// make --po takes back what gettext holds through the code page the file
// records, and unchanged it changes nothing.
TEST_F(FxtTest, PoFilesAsGettextReadsThem) {
    const std::tuple<std::string, std::string, int> tables[] = {
        {"realistic", RealisticTable(300, 9), 1252}, {"every", EveryByteTable(), 1252},
        {"every-1250", EveryByteTable(), 1250},      {"every-1251", EveryByteTable(), 1251},
        {"every-1253", EveryByteTable(), 1253},      {"every-1254", EveryByteTable(), 1254},
        {"every-1257", EveryByteTable(), 1257}};
    for (const auto &[name, table, codePage] : tables) {
        SCOPED_TRACE(name);
        std::string game = work + "/" + name, page = std::to_string(codePage);
        std::vector<TableRow> rows = RowsOf(table);
        // A fan translation's file is translated where it differs from what
        // it replaced.
        std::string replaced = TableHeader;
        for (TableRow row : rows) replaced += FormatTableRow((row.texts[LANGUAGE_ITALIAN] = "x", row));
        ASSERT_EQ(MakeFrom(replaced, game, {"--ansi"}).status, 0);
        ASSERT_EQ(MakeFrom(table, game, {"--ansi"}).status, 0);
        const std::map<std::string, std::string> made = FolderSnapshot(game);
        for (bool asTemplate : {false, true}) {
            FxtRun po = asTemplate ? Fxt({"po", "--template", "--source", "French", "--codepage", page, "it", game})
                                   : Fxt({"po", "--codepage", page, "Italian", game});
            ASSERT_EQ(po.status, 0) << po.err;
            WriteBytes(work + "/it.po", po.out);
            FxtRun unwrapped = Run("cd " + Quoted(work) + " && msgcat --no-wrap it.po >out 2>err");
            EXPECT_EQ(unwrapped.out, po.out);
            std::string words = unwrapped.err;
            for (char control : {'a', 'b', 'f', 'v', 'r'})
                for (size_t at; (at = words.find(std::string("should not contain the '\\") + control + "'")) != std::string::npos;)
                    words.erase(words.rfind('\n', at) + 1, words.find('\n', at) - words.rfind('\n', at));
            EXPECT_EQ(words, "") << "msgcat's words";
            EXPECT_EQ(GettextEntries(this, "it.po"), EntriesOf(rows, LANGUAGE_ITALIAN,
                                                               asTemplate ? LANGUAGE_FRENCH : LANGUAGE_ENGLISH,
                                                               asTemplate, codePage));
        }
        FxtRun po = Fxt({"po", "--codepage", page, "it", game});
        WriteBytes(work + "/it.po", po.out);
        FxtRun same = Fxt({"make", "--po", "it", work + "/it.po", game});
        EXPECT_EQ(same.status, 0) << same.err;
        EXPECT_EQ(FolderSnapshot(game), made) << "a make --po that changes nothing leaves the folder as it was";
        for (const char *rewrite : {"msgcat --width=40 it.po >rewritten.po",
                                    "msgfilter --keep-header -i it.po -o rewritten.po tr a-z A-Z"}) {
            ASSERT_EQ(Run("cd " + Quoted(work) + " && " + rewrite + " 2>/dev/null").status, 0) << rewrite;
            FxtRun made = Fxt({"make", "--po", "Italian", work + "/rewritten.po", game});
            ASSERT_EQ(made.status, 0) << made.err;
            std::vector<TableRow> now = RowsOf(Fxt({"dump", "--ansi", game}).out);
            // What msgexec holds, with the text as it was where it holds none.
            std::string held = GettextEntries(this, "rewritten.po"), expected;
            for (size_t at = 0, i = 0; at < held.size(); ++i) {
                size_t text = held.find('\0', held.find('\0', at) + 1) + 1, end = held.find('\0', text);
                expected += held.substr(at, text - at) +
                            (end > text ? held.substr(text, end - text)
                                        : PoText(rows[i].texts[LANGUAGE_ITALIAN].value_or(""), codePage)) +
                            '\0';
                at = end + 1;
            }
            EXPECT_EQ(EntriesOf(now, LANGUAGE_ITALIAN, LANGUAGE_ENGLISH, false, codePage), expected) << rewrite;
            rows = now;
        }
    }

    // Fan translations over Italian from a template, as msginit starts them
    // and msgfilter translates the keys ending in an even digit: read
    // through their Language's code page, the game's bytes are the letters
    // by iconv; missing and msgattrib count the rest as work left, and the
    // game's own languages stay Windows-1252.
    const std::tuple<std::string, int, std::string> fans[] = {
        {"pl", 1250, "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84"},
        {"ru", 1251, "\xD0\xA1\xD1\x8A\xD0\xB5\xD1\x88\xD1\x8C \xD0\xB6\xD0\xB5 \xD0\xB5\xD1\x89\xD1\x91 "
                     "\xD1\x8D\xD1\x82\xD0\xB8\xD1\x85 \xD0\xB1\xD1\x83\xD0\xBB\xD0\xBE\xD0\xBA \xD1\x8F"},
        {"el", 1253, "\xCE\x9E\xCE\xB5\xCF\x83\xCE\xBA\xCE\xB5\xCF\x80\xCE\xAC\xCE\xB6\xCF\x89 "
                     "\xCF\x88\xCF\x85\xCF\x87\xCE\xBF\xCF\x86\xCE\xB8\xCF\x8C\xCF\x81\xCE\xB1"}};
    for (const auto &[language, codePage, phrase] : fans) {
        SCOPED_TRACE(language);
        std::string game = work + "/fan-" + language, table = RealisticTable(40, 3);
        ASSERT_EQ(MakeFrom(table, game, {"--ansi"}).status, 0);
        WriteBytes(work + "/fan.pot", Fxt({"po", "--template", "it", game}).out);
        WriteBytes(work + "/phrase", phrase);
        ASSERT_EQ(Run("cd " + Quoted(work) + " && msginit --no-translator -l " + language + " -i fan.pot -o fan.po "
                      ">/dev/null 2>&1 && msgfilter --keep-header -i fan.po -o translated.po sh -c 'cat >/dev/null; "
                      "case \"$MSGFILTER_MSGCTXT\" in *[02468]) cat phrase;; esac'")
                      .status,
                  0);
        FxtRun made = Fxt({"make", "--po", "Italian", work + "/translated.po", game});
        EXPECT_EQ(made.status, 0) << made.err;
        std::vector<TableRow> was = RowsOf(table), rows = RowsOf(Fxt({"dump", "--ansi", game}).out);
        ASSERT_EQ(rows.size(), was.size());
        std::string left;
        size_t absent = 0, still = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (std::string("02468").find(rows[i].key.back()) != std::string::npos) {
                EXPECT_EQ(Utf8ByIconv(rows[i].texts[LANGUAGE_ITALIAN].value_or(""), codePage), phrase);
                continue;
            }
            EXPECT_EQ(rows[i].texts[LANGUAGE_ITALIAN], was[i].texts[LANGUAGE_ITALIAN]);
            left += rows[i].key + "\n";
            ++(rows[i].texts[LANGUAGE_ITALIAN] ? still : absent);
        }
        FxtRun missing = Fxt({"missing", "it", game});
        EXPECT_EQ(missing.out, left);
        EXPECT_EQ(std::make_pair(absent, still), std::make_pair((size_t)1, (size_t)20));
        EXPECT_EQ(missing.err, "fxt: Italian: 1 key has no text; 20 texts are still as ITALIAN.FXT.bak has them\n");
        FxtRun again = Fxt({"po", "--language", language, "it", game});
        WriteBytes(work + "/again.po", again.out);
        EXPECT_EQ(Run("cd " + Quoted(work) + " && msgattrib --untranslated again.po | grep -c ^msgctxt >out").out,
                  std::to_string(absent + still) + "\n");
        const std::string files[2] = {again.out, Fxt({"po", "it", game}).out};
        std::string others[2];
        for (int i = 0; i < 2; ++i) {
            std::istringstream po(files[i]);
            for (std::string line; std::getline(po, line);)
                if (line.rfind("#. French", 0) == 0 || line.rfind("#. German", 0) == 0 || line.rfind("msgid", 0) == 0)
                    others[i] += line + "\n";
        }
        EXPECT_EQ(others[0], others[1]) << "the other languages as Windows-1252 has them";
    }

    // Entries whose English is the same are kept apart by their references
    // when a spreadsheet edits them: po2csv, the edit, csv2po.
    const std::string game = work + "/same";
    ASSERT_EQ(MakeFrom(std::string(TableHeader) + "A\tGo\tun\teins\tvai\nB\tGo\tdeux\tzwei\tandare\n", game).status, 0);
    WriteBytes(work + "/it.po", Fxt({"po", "it", game}).out);
    ASSERT_EQ(Run("cd " + Quoted(work) + " && po2csv it.po it.csv >/dev/null 2>&1 && sed -i 's/\"vai\"/\"VAI\"/; "
                  "s/\"andare\"/\"ANDARE\"/' it.csv && csv2po -t it.po it.csv edited.po >/dev/null 2>&1")
                  .status,
              0);
    ASSERT_EQ(Fxt({"make", "--po", "it", work + "/edited.po", game}).status, 0);
    EXPECT_EQ(Fxt({"dump", game}).out, std::string(TableHeader) + "A\tGo\tun\teins\tVAI\nB\tGo\tdeux\tzwei\tANDARE\n");
}

// A PO file as an editor may save it: a byte-order mark, CR LF, comments,
// flags, previous strings, obsolete entries, wrapped strings and gettext's
// escapes. Translated entries set the Italian text, fuzzy and untranslated
// ones leave it as it was, present, empty or absent; only ITALIAN.FXT is
// replaced, and restore gives back the files as they were first.
TEST_F(FxtTest, MakePoTakesTranslationsBack) {
    const std::string header = TableHeader, game = work + "/game";
    const std::string table = header + "A\tone\tun\teins\tuno\nB\ttwo\tdeux\tzwei\t\nC\tthree\ttrois\tdrei\t\\N\n"
                                       "D\tfour\tquatre\tvier\t\\N\nE\tfive\tcinq\tf\xC3\xBCnf\tcinque\n"
                                       "F\tsix\\n\tsix\tsechs\tsei\nG\t\\nseven\tsept\tsieben\tsette\\n\n";
    ASSERT_EQ(MakeFrom(table, game).status, 0);
    // msgfmt refuses entries that differ in a line feed at their start or
    // end: as many as fxt po says.
    FxtRun written = Fxt({"po", "it", game});
    WriteBytes(work + "/it.po", written.out);
    FxtRun msgfmt = Run("cd " + Quoted(work) + " && msgfmt -o /dev/null it.po 2>&1 | grep -c 'entries do not both' >out");
    EXPECT_EQ(written.err, "fxt: msgfmt would refuse " + msgfmt.out.substr(0, msgfmt.out.size() - 1) + " entries of this "
                           "file, whose msgid and msgstr differ in beginning or ending with a line feed; msgcat, "
                           "translation editors and fxt make --po read them\n");
    const std::vector<std::string> first = LanguageFiles(game);
    const std::string po = "\xEF\xBB\xBFmsgid \"\"\r\nmsgstr \"\"\r\n\"Content-Type: text/plain; charset=utf-8\\n\"\r\n\r\n"
                           "# translator's note\r\n#: somewhere.c:12\r\n#| msgid \"uno\"\r\n"
                           "msgctxt \"A\"\r\nmsgid \"one\"\r\nmsgstr \"\"\r\n\"u\\156o, \\x41 \"\r\n\"\\\"tab\\\"\\t\\\\\"\r\n\r\n"
                           "#, fuzzy\r\nmsgctxt \"B\"\r\nmsgid \"two\"\r\nmsgstr \"due?\"\r\n\r\n"
                           "msgctxt \"C\"\r\nmsgid \"three\"\r\nmsgstr \"\"\r\n\r\n"
                           "#, c-format, fuzzy\r\nmsgctxt \"D\"\r\nmsgid \"four\"\r\nmsgstr \"quattro\"\r\n\r\n"
                           "msgctxt \"E\"\r\nmsgid \"FIVE\"\r\nmsgstr \"cinque \xC3\xA8\"\r\n\r\n"
                           "#~ msgctxt \"GONE\"\r\n#~ msgid \"gone\"\r\n#~ msgstr \"andato\"\r\n";
    WriteBytes(work + "/it.po", po);
    FxtRun made = Fxt({"make", "--po", "it", work + "/it.po", game});
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.err, "fxt: " + Shown(work + "/it.po") + ": 1 translation is of another English text than the "
                        "folder's (the file is older than the text, or for another version): [E]; it is used all the "
                        "same\n");
    EXPECT_EQ(made.out, "kept " + Shown(game + "/GTADATA/ITALIAN.FXT") + " as it was in ITALIAN.FXT.bak\nwrote " +
                            Shown(game + "/GTADATA/ITALIAN.FXT") + ": 2 texts changed\nITALIAN.FXT: 2 translated (2 "
                            "changed, 0 the same already), 1 still to do, 2 fuzzy; 1 translation of another English "
                            "text\n");
    EXPECT_EQ(Fxt({"dump", game}).out, header + "A\tone\tun\teins\tuno, A \"tab\"\\t\\\\\nB\ttwo\tdeux\tzwei\t\n"
                                                "C\tthree\ttrois\tdrei\t\\N\nD\tfour\tquatre\tvier\t\\N\n"
                                                "E\tfive\tcinq\tf\xC3\xBCnf\tcinque \xC3\xA8\n" +
                                                table.substr(table.find("F\t")));
    std::vector<std::string> files = LanguageFiles(game);
    EXPECT_TRUE(files[0] == first[0] && files[1] == first[1] && files[2] == first[2] && files[3] != first[3]);
    // A make of the table as it is now changes nothing at all, even where a
    // file stores the same texts in another order.
    StoredPairs french = LanguagePairs(RowsOf(Fxt({"dump", "--ansi", game}).out), LANGUAGE_FRENCH);
    std::reverse(french.begin(), french.end());
    WriteBytes(game + "/GTADATA/FRENCH.FXT", EncodeLanguageFile(french));
    const std::map<std::string, std::string> before = FolderSnapshot(game);
    EXPECT_EQ(MakeFrom(Fxt({"dump", game}).out, game).out, "");
    EXPECT_EQ(FolderSnapshot(game), before);
    WriteBytes(game + "/GTADATA/FRENCH.FXT", first[LANGUAGE_FRENCH]);
    FxtRun restored = Fxt({"restore", game});
    EXPECT_EQ(restored.out, "restored " + Shown(game + "/GTADATA/ITALIAN.FXT") + " from ITALIAN.FXT.bak\n");
    EXPECT_EQ(LanguageFiles(game), first);
    EXPECT_EQ(Fxt({"restore", work}).err, "fxt: " + Shown(work + "/GTADATA") +
                                              " holds no backup (NAME.bak, which fxt make keeps): there is nothing to restore\n");
}

// PO files as gettext's own reader (msgattrib) judges them: what it
// refuses fxt refuses, by the line and for a character its column, writing
// nothing; what it reads fxt reads the same, but where the game's files
// cannot hold a text, an entry names no key, or the file is not UTF-8.
TEST_F(FxtTest, PoFilesAsGettextJudgesThem) {
    const std::string game = work + "/game", entry = "msgctxt \"A\"\nmsgid \"one\"\n";
    const std::string utf8 = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
    const std::string table = std::string(TableHeader) + "A\tone\tun\teins\tuno\n";
    const std::string path = Shown(work + "/t.po"), polish = "Language: pl\\nContent-Type: text/plain; charset=UTF-8\\n";
    const std::string hint = "\nfxt: the file may be for another version of the game: msgmerge it with a new fxt po "
                             "--template of this folder to bring it up to date";
    struct Case {
        std::string po;
        // The refusals, after the file's name and ": " (but where it
        // begins with a blank), or "=" and the Italian text read.
        std::string outcome;
        bool gettextReads;
        std::vector<std::string> options = {};
        std::string said = "";  // of a file read, after its name
    };
    const std::vector<Case> cases = {
        {"msgid \"one\"\nmsgstr \"uno\"\n", "line 1: an entry without msgctxt: fxt finds each text's key in its msgctxt", true},
        {"msgctxt \"Z\"\nmsgid \"one\"\nmsgstr \"uno\"\n", "line 1: the key [Z] is not in the folder's table" + hint, true},
        {"msgctxt \"\"\nmsgid \"one\"\nmsgstr \"uno\"\n", "line 1: the key [] is not in the folder's table" + hint, true},
        // Every refusal, of the file and of the folder, in one pass.
        {entry + "msgstr \"\xC5\x9B\"\n\nmsgctxt \"A\"\nmsgid \"two\"\nmsgstr \"x[\"\n\nmsgctxt \"Z\"\nmsgid \"z\"\nmsgstr \"\"\n",
         "line 3, column 9: '\xC5\x9B' (U+015B) is not in Windows-1252: give --codepage 1250 (Central European) or 1257 "
         "(Baltic)\nfxt: " + path + ": line 7, column 10: the Italian text holds '[', which a text cannot hold\nfxt: " +
             path + ": line 9: the key [Z] is not in the folder's table" + hint,
         true},
        {std::string("\xFF\xFEm\0s\0g\0i\0d\0", 12), "line 1, column 1: the PO file is in UTF-16 (\"Unicode\"); save it as UTF-8",
         false},
        {std::string("m\0s\0g\0i\0d\0 \0\"\0\"\0\n\0", 18),
         "line 1, column 1: the PO file is in UTF-16 (\"Unicode\"); save it as UTF-8", false},
        {"", " holds no entry: is it a PO file of fxt po?", true},
        {"msgid \"\"\nmsgstr \"Language: fr_FR\\n\"\n\n" + entry + "msgstr \"un\"\n",
         "line 1: the file is a French translation (Language: fr_FR); give French, or remove the Language line", true},
        // The code page: given, else recorded, else the Language's; its
        // letters composed, ș and ț as 1250 has them, я where 1251 has room.
        {"msgid \"\"\nmsgstr \"" + polish + "X-Code-Page: 1252\\n\"\n\n" + entry + "msgstr \"\xC5\x9B\"\n\n" +
             "msgctxt \"A\"\nmsgid \"two\"\nmsgstr \"\xC5\x9B\"\n",
         "its translations are read as Windows-1252's letters, as its X-Code-Page says\nfxt: " + path + ": line 6, "
         "column 9: '\xC5\x9B' (U+015B) is not in Windows-1252: give --codepage 1250 for Polish; also on line 10",
         true},
        {"msgid \"\"\nmsgstr \"" + polish + "\"\n\n" + entry + "msgstr \"\xC5\x9B\"\n", "=\x9C", true, {},
         "its translations are read as Windows-1250's letters, the code page of its Language, pl (Polish)"},
        {"msgid \"\"\nmsgstr \"Language: ro\\n\"\n\n" + entry + "msgstr \"\xC8\x99i \xC8\x9B" "a \xC5\x9F\"\n",
         "=\xBAi \xFE" "a \xBA", true, {},
         "its translations are read as Windows-1250's letters, the code page of its Language, ro (Romanian)\nfxt: " +
             path + ": 2 \xC8\x99 and \xC8\x9B (a comma below) are written as \xC5\x9F and \xC5\xA3 (a cedilla), which "
             "Windows-1250 has and Romanian fonts draw"},
        {"msgid \"\"\nmsgstr \"Language: ru\\n\"\n\n" + entry + "msgstr \"\xD1\x8F\xD0\xAF\"\n", "=\x98\xDF", true, {},
         "its translations are read as Windows-1251's letters, the code page of its Language, ru (Russian)"},
        {"msgid \"\"\nmsgstr \"Language: el\\n\"\n\n" + entry + "msgstr \"\xCE\xB1\xCD\xBE\"\n", "=\xE1;", true, {},
         "its translations are read as Windows-1253's letters, the code page of its Language, el (Greek)"},
        {entry + "msgstr \"e\xCC\x81" "A\xCC\x8A\"\n", "=\xE9\xC5", true},
        {"msgid \"\"\nmsgstr \"" + polish + "X-Code-Page: 1250\\n\"\n\n" + entry + "msgstr \"\xC5\x9B\"\n", "=\x9C", true, {},
         "its translations are read as Windows-1250's letters, as its X-Code-Page says"},
        {"msgid \"\"\nmsgstr \"X-Code-Page: 1250\\n\"\n\n" + entry + "msgstr \"\xD0\xAF\"\n", "=\xDF", true,
         {"--codepage", "1251"},
         "its translations are read as Windows-1251's letters, as --codepage gives, not 1250 as its X-Code-Page says"},
        {"msgid \"\"\nmsgstr \"X-Code-Page: 1255\\n\"\n\n" + entry + "msgstr \"x\"\n",
         "line 1: the header's X-Code-Page is 1255, which is not a code page fxt knows", true},
        // What is read, but told.
        {entry + "msgstr \"\"\n", "=uno", true, {}, "no entry is translated: nothing changes"},
        {"msgctxt \"A\"\nmsgid \"ONE\"\nmsgstr \"uno!\"\n", "=uno!", true, {},
         "1 translation is of another English text than the folder's (the file is older than the text, or for another "
         "version): [A]; it is used all the same"},
        {entry + "msgstr \"uno\\n\"\n", "=uno\n", true, {},
         "1 translation differs from the text it replaces in ending with a line feed: [A]; an editor (Poedit) may have made "
         "it end as its msgid does"},
        {entry + "msgstr \"uno\"\n\n" + entry + "msgstr \"un\"\n", "line 5, column 1: the entry is given twice: another has the same msgctxt and msgid", false},
        {entry + "msgid_plural \"ones\"\nmsgstr[0] \"uno\"\n", "line 1: a plural entry (msgid_plural): the game's texts have no plural forms", true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n",
         "line 1: the header says charset=ISO-8859-1; fxt reads PO files in UTF-8: save it as UTF-8", true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8;\\n\"\n",
         "line 1: the header says charset=UTF-8;; fxt reads PO files in UTF-8: save it as UTF-8", true},
        // What gettext converts, and so refuses, in the header itself.
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=\\n\"\n",
         "line 1: the header's charset= names no charset; fxt reads PO files in UTF-8: save it as UTF-8", true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset= UTF-8\\n\"\n",
         "line 1: the header's charset= names no charset; fxt reads PO files in UTF-8: save it as UTF-8", true},
        {"msgid \"\"\nmsgstr \"X-Note: caf\xE9\\nContent-Type: text/plain; charset=UTF-8\\n\"\n\n" + entry + "msgstr \"x\"\n",
         "line 1: the header holds the byte 0xE9, which is not UTF-8; the PO file's charset is UTF-8", true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\nX-Note: caf\xE9\\n\"\n\n" + entry + "msgstr \"x\"\n",
         "line 1: the header holds the byte 0xE9, which is not UTF-8; the PO file's charset is UTF-8", true},
        {utf8 + entry + "msgstr \"caf\xE9\"\n", "line 6, column 12: the byte 0xE9 is not UTF-8; the PO file's charset is UTF-8", false},
        {utf8 + "msgctxt \"A\"\nmsgid \"on\xE9\"\nmsgstr \"uno\"\n", "line 5, column 10: the byte 0xE9 is not UTF-8; the PO file's charset is UTF-8", false},
        {utf8 + entry + "msgstr \"\"\n\"\xC3\xA9\xE4\xB8\xAD\"\n", "line 7, column 3: '\xE4\xB8\xAD' (U+4E2D) is not in Windows-1252, nor in any code page the game's files can be written in", true},
        {utf8 + entry + "msgstr \"a\xEF\xBF\xBD\"\n", "line 6, column 10: U+FFFD, the replacement character: an editor that could not read "
                                                  "the PO file put it in place of a letter; write it again with fxt po and edit it as UTF-8", true},
        {entry + "msgstr \"a\\x5B\"\n", "line 3, column 10: the Italian text holds '[', which a text cannot hold", true},
        {entry + "msgstr \"x\\400y\"\n", "line 3, column 10: U+0000 is a character the game's files cannot hold", true},
        {entry + "msgstr \"x\\0\"\n", "line 3, column 10: U+0000 is a character the game's files cannot hold", true},
        {utf8 + entry + "msgstr \"\\777\"\n", "line 6, column 9: the byte 0xFF is not UTF-8; the PO file's charset is UTF-8", true},
        {entry + "msgstr \"\\q\"\n", "line 3, column 9: an unknown escape \\q", false},
        {entry + "msgstr \"a\\x04\"\n", "line 3, column 10: the byte 4, gettext's context separator, which no string of a PO file may hold", false},
        {entry + "msgstr \"uno\n", "line 3, column 8: the string has no closing '\"'", false},
        {entry + "msgstr \"uno\" x\n", "line 3, column 14: \"x\" is not a keyword of PO files", false},
        {entry + "msgstr\n", "line 4, column 1: the file's end where the string of msgstr should be", false},
        {entry + "msgtxt \"uno\"\n", "line 3, column 1: \"msgtxt\" is not a keyword of PO files", false},
        {entry, "line 3, column 1: the file's end where the msgstr of the entry on line 1 should be", false},
        {entry + "msgstr \"Salve\"\nmsgstr \" a tutti\"\n", "line 4, column 1: \"msgstr\" where an entry should be", false},
        {"msgctxt \"A\"\n# a translator's note\nmsgid \"one\"\nmsgstr \"uno\"\n", "line 2, column 1: a comment where msgid should be", false},
        {"#~ " + entry + "msgstr \"uno\"\n", "line 2, column 1: #~ begins some of an entry's lines but not all of them", false},
        {"#, fuzzy-match\n" + entry + "msgstr \"uno!\"\n", "=uno!", true},
        {"#! fuzzy\n" + entry + "msgstr \"uno!\"\n", "=uno", true, {}, "no entry is translated: nothing changes"},
        {entry + "msgstr \"\\x4142\"\n", "=B", true},
        {entry + "msgstr \"x\ry\"\n", "=x\ry", true},
        {entry + "msgstr \"x\" \"y\"\n", "=xy", true},
        {entry + "msgstr \"x\" # a note\n", "=x", true},
        {"msgctxt \"A\"\nmsgid \"one\"\n\fmsgstr \"x\"\n", "=x", true},
        {entry + "msgstr \"x\"\n\nmsgctxt \"A\"\nmsgid \"two\"\nmsgstr \"y\"\n", "=x", true},
        {"msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=utf8\\n\"\n\n" + entry + "msgstr \"\xC3\xA8\"\n", "=\xE8", true},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.po);
        ASSERT_EQ(MakeFrom(table, game, {"--remove-keys"}).status, 0);
        const std::map<std::string, std::string> before = FolderSnapshot(game);
        WriteBytes(work + "/t.po", each.po);
        std::vector<std::string> arguments = {"make", "--po"};
        arguments.insert(arguments.end(), each.options.begin(), each.options.end());
        arguments.insert(arguments.end(), {"Italian", work + "/t.po", game});
        FxtRun run = Fxt(arguments);
        if (each.outcome[0] == '=') {
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.err, each.said.empty() ? "" : "fxt: " + path + ": " + each.said + "\n");
            EXPECT_EQ(Fxt({"dump", "--ansi", game}).out, std::string(TableHeader) + "A\tone\tun\teins\t" +
                                                             EscapedText(each.outcome.substr(1)) + "\n");
        } else {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, "fxt: " + path + (each.outcome[0] == ' ' ? "" : ": ") + each.outcome +
                                   "\nfxt: nothing was written\n");
            EXPECT_EQ(FolderSnapshot(game), before);
        }
        EXPECT_EQ(Run("cd " + Quoted(work) + " && msgattrib t.po >out 2>err").status == 0, each.gettextReads)
            << "msgattrib's verdict";
    }
}

std::string GettextEntries(FxtTest *test, const std::string &po) {
    std::string entries =
        test->Run("cd " + Quoted(test->work) + " && msgexec -i " + po +
                  " sh -c 'printf \"%s\\0%s\\0\" \"$MSGEXEC_MSGCTXT\" \"$MSGEXEC_MSGID\"; cat; printf \"\\0\"' >out")
            .out;
    return entries.substr(entries.find('\0', entries.find('\0', entries.find('\0') + 1) + 1) + 1);
}


// A wrong command line is told in one line, before the usage.
TEST_F(FxtTest, Usage) {
    const std::string languages = " is not one of the game's languages: give English, French, German or Italian (en, "
                                  "fr, de, it); a translation into another language is written over one of them";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"frob", "a", "b"}, "frob is not a command of fxt"},
        {{"dump"}, "fxt dump takes GAMEFOLDER; 0 arguments were given"},
        {{"dump", "C:\\Program", "Files\\GTA"},
         "fxt dump takes GAMEFOLDER; 2 arguments were given: a path with spaces needs quotes (\"C:\\Program Files\\GTA\")"},
        {{"make", "x"}, "fxt make takes TABLE GAMEFOLDER; 1 argument was given"},
        {{"po", "Spanish", "g"}, "Spanish" + languages},
        {{"po", "--source", "it", "it", "g"}, "the source language is the language itself (Italian): give another --source"},
        {{"po", "--source", "Klingon", "it", "g"}, "Klingon" + languages},
        {{"make", "--po", "it", "x.po"}, "fxt make --po takes LANGUAGE FILE.po GAMEFOLDER; 2 arguments were given"},
        {{"make", "--ansi", "--po", "it", "x", "g"}, "--ansi is not an option of fxt make --po"},
        {{"restore", "--ansi", "g"}, "--ansi is not an option of fxt restore"},
        {{"restore", "it", "Spanish", "g"}, "Spanish" + languages},
        {{"diff", "--codepage", "1255", "a", "b"},
         "1255 is not a code page fxt knows: give 1250 (Central European), 1251 (Cyrillic), 1252 (Western European), "
         "1253 (Greek), 1254 (Turkish) or 1257 (Baltic)"},
        {{"dump", "--codepage"}, "--codepage needs a value"},
        {{"dump", "--codepage", "1250", "g"},
         "the game's four languages are Windows-1252: give the language a fan translation is written over with its "
         "code page, --codepage Italian=1250"},
        {{"po", "--codepage", "French=1250", "it", "g"}, "--codepage names French, and fxt po Italian: give --codepage 1250"},
        {{"dump", "--codepage", "Polish=1250", "g"},
         "Polish=1250 is not a code page fxt knows: give 1250 (Central European), 1251 (Cyrillic), 1252 (Western "
         "European), 1253 (Greek), 1254 (Turkish) or 1257 (Baltic), after English, French, German or Italian and ="},
        {{"missing", "it", "g", "--ansi"}, "--ansi comes after the arguments: options come right after the command word"},
    };
    for (const auto &each : cases) {
        FxtRun run = Fxt(each.first);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, run.err.find("usage: fxt")), "fxt: " + each.second + "\n");
    }
    FxtRun help = Fxt({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: fxt", 0), 0u);
}

// fxt.exe's command line as cmd and a shortcut give it, and as programs
// that quote by the C runtime's rules write it.
TEST_F(FxtTest, CommandLineAsWindowsUsersMeanIt) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        // cmd keeps the blank before a redirect.
        {"fxt.exe dump \"C:\\my game\\\" ", {"fxt.exe", "dump", "C:\\my game\\"}},
        {"fxt diff \"A\\\" \"B\\\"", {"fxt", "diff", "A\\", "B\\"}},
        {"\"C:\\Program Files\\fxt.exe\" dump \"C:\\my game\\\\\"", {"C:\\Program Files\\fxt.exe", "dump", "C:\\my game\\"}},
        {"fxt dump \"\\\\server\\my game\\\"\tx", {"fxt", "dump", "\\\\server\\my game\\", "x"}},
        {"fxt  dump\t C:\\games\\gta\\ \\\\server\\share\\", {"fxt", "dump", "C:\\games\\gta\\", "\\\\server\\share\\"}},
        {"fxt dump \"\" \"a\"b\" c\"", {"fxt", "dump", "", "ab c"}},
        {"fxt dump \"C:\\my game", {"fxt", "dump", "C:\\my game"}},
    };
    for (const auto &[line, arguments] : cases) EXPECT_EQ(ArgumentsOfCommandLine(line), arguments) << line;
}

// fxt.exe under Wine: what only Windows has (files other programs hold,
// read-only files, links, a kill, running out of a 32-bit address space,
// the console, paths as Windows users write them, UTF-16 arguments), and
// the same output and folders as the Linux fxt's for every command.
class FxtExeTest : public FxtTest {
public:
    void SetUp() override {
        if (!WindowsFxt()) GTEST_SKIP() << "fxt.exe's tests run under Wine: ctest -R fxt_exe";
        FxtTest::SetUp();
    }
};

std::string WindowsFxtCommand(void) {
    return Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt());
}

// What Windows keeps a make from, each told in Windows' words before
// anything changes: a file another program holds open, a read-only one, a
// link where a backup goes, a GTADATA that cannot be written to. A language file that is a link is
// replaced as a name, as on Linux.
TEST_F(FxtExeTest, WhatWindowsHoldsStopsAMake) {
    const std::string header = TableHeader, game = work + "/game", data = game + "/GTADATA/";
    const std::string table = header + "A\tone\tun\teins\tuno\n", nothing = "fxt: nothing was written\n";
    const std::string journal = Shown(data + "fxt-make.journal");
    struct Case {
        const char *what;
        std::function<void()> plant;
        const char *held;  // below the work folder
        const char *command;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"read-only", [&] { ASSERT_EQ(chmod((data + "ITALIAN.FXT").c_str(), 0444), 0); }, nullptr, "make", 1,
         "fxt: " + Shown(data + "ITALIAN.FXT") + " is read-only\n" + nothing},
        {"held open", [] {}, "game/GTADATA/GERMAN.FXT", "make", 1,
         "fxt: " + Shown(data + "GERMAN.FXT") + " cannot be replaced: Sharing violation.\n" + nothing},
        {"a link for a backup", [&] { ASSERT_EQ(symlink("FRENCH.FXT", (data + "FRENCH.FXT.bak").c_str()), 0); },
         nullptr, "make", 1,
         "fxt: " + Shown(data + "FRENCH.FXT.bak") + " is a link, where fxt make keeps the backup of FRENCH.FXT: move "
                                                    "it away\n" + nothing},
        {"a make at work holds its journal", [&] { WriteBytes(data + "fxt-make.journal", ""); },
         "game/GTADATA/fxt-make.journal", "make", 1,
         "fxt: another fxt make is working on this folder (" + journal + " is in use); try again once it has finished\n"},
        {"a GTADATA that cannot be written to", [&] { ASSERT_EQ(system(("chattr +i " + Quoted(data)).c_str()), 0); },
         nullptr, "make", 1, "fxt: nothing was written: " + Shown(game + "/GTADATA") + " cannot be written to: Access denied.\n"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.what);
        Run("chattr -R -i " + Quoted(game) + " 2>/dev/null");
        RemoveTree(game);
        ASSERT_EQ(MakeFrom(table, game).status, 0);
        WriteBytes(work + "/changed.tsv", header + "A\t1\t1\t1\t1\n");
        each.plant();
        if (each.held) Hold(each.held);
        const std::map<std::string, std::string> before = FolderSnapshot(game);
        FxtRun run = std::string(each.command) == "make" ? Fxt({"make", work + "/changed.tsv", game}) : Fxt({"dump", game});
        if (each.held) Release();
        EXPECT_EQ(run.status, each.status);
        EXPECT_EQ(run.err, each.err);
        EXPECT_EQ(FolderSnapshot(game), before);
    }
    Run("chattr -R -i " + Quoted(game));

    RemoveTree(game);
    ASSERT_EQ(MakeFrom(table, game).status, 0);
    ExpectLinkReplacedAsAName(game);
}

// Running out of memory ends fxt with one line and status 1, having written
// nothing: here on a table from standard input larger than the memory it
// may have. The address space of 3 GB is more than Wine needs to start it;
// a 32-bit fxt.exe runs out of its own 2 GB first.
TEST_F(FxtExeTest, RunningOutOfMemory) {
    FxtRun run = Run("cd " + Quoted(work) + " && ulimit -v 3000000 && head -c 8000000000 /dev/zero | " +
                     WindowsFxtCommand() + " make - game >out 2>err");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "fxt: out of memory\n");
    struct stat info;
    EXPECT_NE(stat((work + "/game").c_str(), &info), 0) << "the game folder was made";
}

// A make killed as it works, as by TerminateProcess under Wine, at a later
// point each time: the next command puts the folder back as it was before
// it, and says so once.
TEST_F(FxtExeTest, KilledMakeIsUndoneByTheNextCommand) {
    const std::string header = TableHeader;
    WriteBytes(work + "/big.tsv", RealisticTable(10000, 4));
    const std::string fxt = WindowsFxtCommand();
    int undone = 0;
    for (const char *delay : {"0", "0.005", "0.01", "0.02", "0.04", "0.08", "0.15", "0.3"}) {
        std::string game = work + "/game" + delay, journal = game + "/GTADATA/fxt-make.journal";
        ASSERT_EQ(MakeFrom(header + "A\tone\tun\teins\tuno\n", game).status, 0);
        const std::map<std::string, std::string> before = FolderSnapshot(game);
        Run("cd " + Quoted(work) + " && { " + fxt + " make --ansi --remove-keys big.tsv " + Quoted(game) +
            " >out 2>err & make=$!; until [ -e " + Quoted(journal) + " ] || ! kill -0 $make 2>/dev/null; do :; done; " +
            "sleep " + delay + "; kill -9 $make; wait $make; } 2>/dev/null");
        // Killed before its journal or once every file was in place, it
        // has nothing to undo.
        struct stat info;
        if (stat(journal.c_str(), &info) != 0 || ReadBytes(journal).find("\ndone\t") != std::string::npos) continue;
        SCOPED_TRACE("killed with the journal at " + ReadBytes(journal));
        if (++undone == 1) {
            // In a GTADATA that can no longer be written to, the undo fails,
            // where Wine says it removed a file it did not remove, and the
            // folder stays as the kill left it.
            const std::map<std::string, std::string> killed = FolderSnapshot(game);
            ASSERT_EQ(system(("chattr +i " + Quoted(game + "/GTADATA")).c_str()), 0);
            FxtRun locked = Fxt({"dump", game});
            Run("chattr -i " + Quoted(game + "/GTADATA"));
            EXPECT_EQ(locked.err.rfind("fxt: an earlier fxt make of this folder was interrupted, and putting the folder "
                                       "back failed:\n", 0),
                      0u);
            EXPECT_NE(locked.err.find(": it is still there\n"), std::string::npos) << locked.err;
            EXPECT_EQ(FolderSnapshot(game), killed);
        }
        FxtRun dumped = Fxt({"dump", game});
        EXPECT_EQ(dumped.err, "fxt: an earlier fxt make of this folder was interrupted; the files are as they were "
                              "before it\n");
        EXPECT_EQ(dumped.out, header + "A\tone\tun\teins\tuno\n");
        EXPECT_EQ(FolderSnapshot(game), before);
    }
    EXPECT_GT(undone, 0) << "no kill landed while the make worked";
}

// On the same folders the Windows fxt prints what the Linux one prints and
// ends the same way: game-like, random and edge data, and the game folder
// written as a Windows user may write it.
TEST_F(FxtExeTest, MatchesTheLinuxFxt) {
    std::vector<std::pair<std::string, std::string>> tables = {{"realistic", RealisticTable(2500, 3)}};
    for (unsigned seed = 11; seed <= 13; ++seed) tables.emplace_back("random" + std::to_string(seed), RandomTable(seed, 300));
    std::vector<std::string> folders;
    for (const auto &table : tables) {
        WriteBytes(work + "/" + table.first + ".tsv", table.second);
        WriteBytes(work + "/" + table.first + "-utf8.tsv", Utf8ByIconv(table.second));
        ASSERT_EQ(Fxt({"make", "--ansi", table.first + ".tsv", table.first}, false).status, 0);
        folders.push_back(table.first);
    }
    // Entries lost in every way loading loses them, escapes, and a text
    // across the first block's end.
    ASSERT_EQ(mkdir((work + "/edge").c_str(), 0777), 0);
    ASSERT_EQ(mkdir((work + "/edge/GTADATA").c_str(), 0777), 0);
    const char french[] = "[A]un[B]deux[A]trois[\0Z]zero key[C]c\0d[]junk[D]d[";
    const std::string edge[LANGUAGE_COUNT] = {
        EncodeDecodedBytes("x[A]not loaded["),
        EncodeDecodedBytes(std::string(french, sizeof french - 1)),
        EncodeDecodedBytes("[A]" + std::string(40000, 'e') + "[B]zwei") + "\xFF" + EncodeDecodedBytes("[C]c["),
        EncodeDecodedBytes("[A]uno[Gang\xE9]\t\\\r\n\n[E]"),
    };
    for (int i = 0; i < LANGUAGE_COUNT; ++i) WriteBytes(work + "/edge/" + CompatNativePath(LanguageFileNames[i]), edge[i]);
    folders.push_back("edge");
    for (const std::string &folder : folders)
        for (const std::vector<std::string> &command :
             std::vector<std::vector<std::string>>{{"dump"}, {"dump", "--ansi"}, {"check"}, {"check", "--ansi"},
                                                   {"po", "it"}, {"po", "--template", "--source", "French", "de"}}) {
            std::vector<std::string> arguments = command;
            arguments.push_back(folder);
            SCOPED_TRACE(command[0] + " " + command.back() + " " + folder);
            FxtRun linux = Fxt(arguments, false), windows = Fxt(arguments);
            EXPECT_EQ(windows.status, linux.status);
            EXPECT_EQ(windows.out, linux.out);
            EXPECT_EQ(windows.err, linux.err);
        }

    // Every byte through each code page: Windows' converter gives the
    // characters iconv gives, and takes them back to the same bytes, from a
    // table and from a PO file.
    const std::string every = EveryByteTable();
    WriteBytes(work + "/every.tsv", every);
    WriteBytes(work + "/other.tsv", every.substr(0, every.rfind('\t') + 1) + "x\n");
    // A fan translation over Italian, which replaced the Italian "x".
    ASSERT_EQ(Fxt({"make", "--ansi", "other.tsv", "every"}, false).status, 0);
    ASSERT_EQ(Fxt({"make", "--ansi", "every.tsv", "every"}, false).status, 0);
    for (const std::string page : {"1250", "1251", "1252", "1253", "1254", "1257"}) {
        std::string name = "every-" + page;
        SCOPED_TRACE(name);
        for (const std::vector<std::string> &command : std::vector<std::vector<std::string>>{
                 {"dump", "--codepage", "Italian=" + page, "every"}, {"po", "--codepage", page, "it", "every"}}) {
            FxtRun linux = Fxt(command, false), windows = Fxt(command);
            EXPECT_EQ(windows.status, linux.status);
            EXPECT_EQ(windows.out, linux.out);
            WriteBytes(work + "/" + name + (command[0] == "po" ? ".po" : ".tsv"), linux.out);
        }
        ASSERT_EQ(Fxt({"make", "--codepage", "Italian=" + page, name + ".tsv", name}).status, 0);
        ASSERT_EQ(Fxt({"make", "--ansi", "other.tsv", name + "-po"}, false).status, 0);
        FxtRun made = Fxt({"make", "--po", "it", name + ".po", name + "-po"});
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(LanguageFiles(work + "/" + name), LanguageFiles(work + "/every"));
        EXPECT_EQ(LanguageFiles(work + "/" + name + "-po"), LanguageFiles(work + "/every"));
    }

    const std::string dumped = Fxt({"dump", "realistic"}, false).out;
    for (const std::string &written : {"Z:" + Shown(work) + "\\realistic", work + "/realistic/", std::string(".\\realistic")})
        EXPECT_EQ(Fxt({"dump", written}).out, dumped) << written;
    // Any name Windows can hold, whatever the ANSI code page: Cyrillic and
    // Chinese names of folders and files.
    const std::string unicode = "Gra \xC5\x82 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE4\xB8\xAD\xE6\x96\x87";
    ASSERT_EQ(mkdir((work + "/" + unicode).c_str(), 0777), 0);
    ASSERT_EQ(Fxt({"make", "--ansi", "realistic.tsv", unicode + "/game"}, false).status, 0);
    EXPECT_EQ(Fxt({"dump", unicode + "/game"}).out, dumped);
    WriteBytes(work + "/t\xC5\x82umaczenie.po", Fxt({"po", "it", "realistic"}, false).out);
    FxtRun made = Fxt({"make", "--po", "--dry-run", "it", "t\xC5\x82umaczenie.po", unicode + "/game"});
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.err, "");
    std::string missing = "fxt: " + Shown(unicode + "/none/GTADATA/ENGLISH.FXT") + ": ";
    EXPECT_EQ(Fxt({"dump", unicode + "/none"}).err.substr(0, missing.size()), missing);
    // Folders as cmd users quote them, "C:\GTA\", whose last backslash the
    // C runtime would take for an escape of the quote: before a redirect,
    // before another folder, at the end of the line.
    const std::string exe = "@\"Z:" + Shown(WindowsFxt()) + "\" ", folder = "\"Z:" + Shown(work) + "\\realistic\\\"";
    WriteBytes(work + "/quoted.bat", exe + "dump " + folder + " > dump.tsv\r\n" + exe + "diff " + folder + " " + folder +
                                         "\r\n@echo diff %ERRORLEVEL%\r\n" + exe + "dump " + folder + "\r\n");
    FxtRun quoted = Run("cd " + Quoted(work) + " && " + Quoted(getenv("WINE")) + " cmd /c quoted.bat >out 2>err");
    EXPECT_EQ(quoted.err, "");
    EXPECT_TRUE(ReadBytes(work + "/dump.tsv") == dumped) << "fxt.exe did not dump the folder before the redirect";
    EXPECT_TRUE(quoted.out == "diff 0\r\n" + dumped) << "fxt.exe did not compare or dump the folders: " << quoted.out.substr(0, 200);

    // What the Windows fxt writes from UTF-8 is what the Linux one writes
    // from the files' own bytes.
    for (const auto &table : tables) {
        SCOPED_TRACE("make " + table.first);
        ASSERT_EQ(Fxt({"make", table.first + "-utf8.tsv", "windows-" + table.first}).status, 0);
        for (const char *name : LanguageFileNames)
            EXPECT_EQ(ReadBytes(work + "/windows-" + table.first + "/" + CompatNativePath(name)),
                      ReadBytes(work + "/" + table.first + "/" + CompatNativePath(name)));
        EXPECT_EQ(Fxt({"dump", "--ansi", "windows-" + table.first}, false).out, table.second);
    }
}

// On a console fxt.exe writes characters, not bytes: in either mode the
// letters show right, whatever the console's code page would make of bytes.
TEST_F(FxtExeTest, ConsoleShowsTheLetters) {
    ASSERT_EQ(MakeFrom(TableHeader + std::string("A\tcaf\xC3\xA9 \xE2\x82\xAC 5\t\\N\t\\N\t\\N\n"), work + "/game").status, 0);
    for (std::string mode : {"", "--ansi"}) {
        SCOPED_TRACE("dump " + mode);
        // A terminal, which Wine's console writes to in UTF-8.
        std::string dump = Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt()) + " dump " + mode + " game";
        FxtRun run = Run("cd " + Quoted(work) + " && script -qec " + Quoted(dump) + " /dev/null >out 2>err </dev/null");
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("caf\xC3\xA9 \xE2\x82\xAC 5"), std::string::npos) << run.out;
    }
}

// Making, going back, comparing and names in another letter case, by both
// fxt, each on its own copy of the folders:
// each step prints the same and ends the same way, and the folders end the
// same.
TEST_F(FxtExeTest, StepsMatchTheLinuxFxt) {
    const std::string header = TableHeader;
    for (const char *side : {"/linux", "/windows"}) ASSERT_EQ(mkdir((work + side).c_str(), 0777), 0);
    WriteBytes(work + "/first.tsv", header + "A\tone\tun\teins\tuno\nB\ttwo\tdeux\tzwei\t\\N\n");
    WriteBytes(work + "/second.tsv", header + "A\tONE\tun\teins\tUNO\nB\ttwo\tdeux\tzwei\tdue\n");
    WriteBytes(work + "/third.tsv", header + "A\tONE\tUN\tEINS\tUNO!\nB\ttwo\tdeux\tzwei\tdue\n");
    WriteBytes(work + "/fourth.tsv", header + "C\tc\tc\tc\tc\n");
    // The folder's files, renamed as a zip from the internet may name them.
    const std::function<void(const std::string &)> lowerCase = [](const std::string &side) {
        const std::string game = side + "/game";
        ASSERT_EQ(rename((game + "/GTADATA").c_str(), (game + "/gtaData").c_str()), 0);
        for (std::string name : Names(game + "/gtaData")) {
            std::string lower = name;
            for (char &ch : lower) ch = (char)tolower(ch);
            ASSERT_EQ(rename((game + "/gtaData/" + name).c_str(), (game + "/gtaData/" + lower).c_str()), 0);
        }
    };
    struct Step {
        std::vector<std::string> command;  // "@" is the folder, "@first" the other one
        std::function<void(const std::string &)> before = nullptr;  // given the side's folder
    };
    const std::vector<Step> steps = {
        {{"make", "first.tsv", "@"}}, {{"make", "first.tsv", "@first"}}, {{"make", "--dry-run", "second.tsv", "@"}},
        {{"make", "second.tsv", "@"}}, {{"make", "third.tsv", "@"}}, {{"diff", "@first", "@"}}, {{"diff", "@", "@"}},
        {{"missing", "it", "@first"}}, {{"undo", "--dry-run", "@"}}, {{"undo", "@"}}, {{"undo", "@"}},
        {{"restore", "--dry-run", "Italian", "@"}}, {{"restore", "it", "@"}}, {{"restore", "@"}},
        {{"dump", "@"}, lowerCase}, {{"check", "@"}}, {{"make", "--remove-keys", "fourth.tsv", "@"}}, {{"dump", "@"}},
    };
    for (const Step &step : steps) {
        std::map<std::string, FxtRun> runs;
        for (const std::string side : {"linux", "windows"}) {
            std::vector<std::string> arguments;
            for (const std::string &argument : step.command)
                arguments.push_back(argument[0] == '@' ? side + "/" + (argument == "@" ? "game" : argument.substr(1))
                                                       : argument);
            if (step.before) step.before(work + "/" + side);
            runs[side] = Fxt(arguments, side == "windows");
        }
        SCOPED_TRACE(step.command[0] + " " + step.command[1]);
        std::string linuxOut = Shown(runs["linux"].out), linuxErr = Shown(runs["linux"].err);
        for (std::string *text : {&linuxOut, &linuxErr}) {
            for (size_t at; (at = text->find("linux\\")) != std::string::npos;) text->replace(at, 5, "windows");
            // Linux shows the names the folder has, Windows those fxt asks for.
            for (std::string asked : LanguageFileNames) {
                std::string held = "gtaData" + asked.substr(asked.find('\\'));
                std::transform(held.begin() + 7, held.end(), held.begin() + 7, ::tolower);
                for (size_t at; (at = text->find(held)) != std::string::npos;) text->replace(at, held.size(), asked);
            }
        }
        EXPECT_EQ(runs["windows"].status, runs["linux"].status);
        EXPECT_EQ(runs["windows"].out, linuxOut);
        EXPECT_EQ(runs["windows"].err, linuxErr);
    }
    EXPECT_EQ(FolderSnapshot(work + "/windows"), FolderSnapshot(work + "/linux"));
}

} // namespace
