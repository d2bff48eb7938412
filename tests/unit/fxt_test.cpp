// The fxt tool, run as a user runs it: tables written to language files and
// read back byte for byte, bad input refused without touching the files, and
// what check finds. Built twice: for the Linux fxt, and for a Windows build
// of it (FXT_EXE) run under Wine (WINE), which must also match the Linux one.
#include "core_fixture.h"

#include "realistic_table.h"
#include "tools/fxt/fxt_encoder.h"
#include "tools/fxt/fxt_table.h"

#include <algorithm>
#include <dirent.h>
#include <iostream>
#include <random>
#include <set>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

struct FxtRun {
    int status;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string &word) {
    std::string quoted = "'";
    for (char ch : word) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

// The Windows fxt under test, or null for the Linux one.
const char *WindowsFxt(void) {
#ifdef FXT_UNDER_WINE
    return getenv("FXT_EXE");
#else
    return nullptr;
#endif
}

// A path as the fxt under test writes it.
std::string Shown(std::string path) {
    if (WindowsFxt()) std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class FxtTest : public ::testing::Test {
protected:
    void SetUp() override { work = MakeTemporaryFolder(); }
    void TearDown() override { RemoveTree(work); }

    // Runs the fxt under test in the work folder, or with windows false the
    // Linux one.
    FxtRun Fxt(const std::vector<std::string> &arguments, bool windows = true) {
        bool underWine = windows && WindowsFxt();
        std::string command = "cd " + Quoted(work) + " && ";
        command += underWine ? Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt()) : Quoted(FXT_PATH);
        for (const std::string &argument : arguments) command += " " + Quoted(argument);
        command += " >" + Quoted(work + "/out") + " 2>" + Quoted(work + "/err") + " </dev/null";
        FxtRun run = Run(command);
        // Now and then Wine fails to start a process and ends it with 1 and
        // not a word (seen about once in 3,000 starts here). fxt never fails
        // without saying why, so such a run is Wine's, and is tried again.
        for (int again = 0; underWine && again < 3 && run.status == 1 && run.out.empty() && run.err.empty(); ++again) {
            std::cout << "Wine did not start fxt.exe; starting it again\n";
            run = Run(command);
        }
        return run;
    }

    FxtRun Run(const std::string &command) {
        int status = system(command.c_str());
        return FxtRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(work + "/out"), ReadBytes(work + "/err")};
    }

    FxtRun MakeFrom(const std::string &table, const std::string &game) {
        WriteBytes(work + "/table.tsv", table);
        return Fxt({"make", work + "/table.tsv", game});
    }

    std::string work;
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
        std::string texts[TABLE_LANGUAGES];
        const char *pointers[TABLE_LANGUAGES] = {};
        for (int i = first; i < TABLE_LANGUAGES; ++i) {
            if (i != first && random() % 3 == 0) continue;
            texts[i] = random() % 10 == 0 ? "" : text(600, '[');
            pointers[i] = texts[i].c_str();
        }
        lines.emplace_back(first, FormatTableRow(key.c_str(), pointers));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::string table = TableHeader;
    for (const auto &line : lines) table += line.second;
    return table;
}

TEST_F(FxtTest, DumpGivesBackWhatMakeWasGiven) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::string table = RandomTable(seed, seed == 1 ? 3 : 400);
        std::string game = work + "/game" + std::to_string(seed);
        FxtRun made = MakeFrom(table, game);
        ASSERT_EQ(made.status, 0) << made.err;
        FxtRun dumped = Fxt({"dump", game});
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(dumped.err, "");
        ASSERT_EQ(dumped.out, table);
    }
}

TEST_F(FxtTest, BadTablesAreRefusedAndNothingIsWritten) {
    const std::string header = TableHeader;
    struct Case {
        std::string table;
        std::string error;
    };
    std::vector<Case> cases = {
        {"key\tEnglish\n", "line 1: the header"},
        {header + "A\ta\tb\n", "line 2: expected 5 tab-separated fields, found 3"},
        {header + "A\ta\t\\N\t\\N\t\\N\nB\tb\\x\t\\N\t\\N\t\\N\n", "line 3: bad escape \\x"},
        {header + "A\ta\\\t\\N\t\\N\t\\N\n", "line 2: a backslash at the end"},
        {header + "A\ta\t\\N\t\\N\tb\\\n", "line 2: a backslash at the end"},
        {header + "A]\ta\t\\N\t\\N\t\\N\n", "line 2: a key cannot hold ']'"},
        {header + "A\t\\N\t\\N\tx[y\t\\N\n", "line 2: the German text holds '['"},
        {header + "A\ta" + std::string(1, '\0') + "\t\\N\t\\N\t\\N\n", "line 2: a 0 byte"},
        {header + "A\t\xFF\t\\N\t\\N\t\\N\n", "line 2: a 255 byte"},
        {header + "A\ta\r\t\\N\t\\N\t\\N\n", "line 2: a raw carriage return"},
        {header + "A\ta\t\\N\t\\N\t\\N\nB\tb\t\\N\t\\N\t\\N\nA\tc\t\\N\t\\N\t\\N\n", "line 4: duplicate key, first on line 2"},
        {header + "\\N\ta\t\\N\t\\N\t\\N\n", "line 2: the key is \\N"},
        {header + "A\t\\N\t\\N\t\\N\t\\N\n", "line 2: the key has no text"},
        {header + "A\t\\N\ta\t\\N\t\\N\nB\tb\t\\N\t\\N\t\\N\n", "line 3: the key's first text is English"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.error);
        std::string game = work + "/never";
        FxtRun run = MakeFrom(each.table, game);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(each.error), std::string::npos) << run.err;
        struct stat info;
        EXPECT_NE(stat(game.c_str(), &info), 0) << "the game folder was made";
    }

    std::string game = work + "/kept";
    ASSERT_EQ(MakeFrom(header + "A\ta\tb\tc\td\n", game).status, 0);
    std::string before = ReadBytes(game + "/GTADATA/ENGLISH.FXT");
    EXPECT_EQ(MakeFrom(header + "A\tz\tz\tz\tz\nA\ty\ty\ty\ty\n", game).status, 1);
    EXPECT_EQ(ReadBytes(game + "/GTADATA/ENGLISH.FXT"), before);
    EXPECT_EQ(Fxt({"dump", game}).out, header + "A\ta\tb\tc\td\n");
}

TEST_F(FxtTest, DumpOfAFolderWithoutLanguageFilesFails) {
    FxtRun run = Fxt({"dump", work});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    // The system's own text for the error: Windows' under Wine.
    std::string start = "fxt: " + Shown(work + "/GTADATA/ENGLISH.FXT") + ": ";
    EXPECT_EQ(run.err.substr(0, start.size()), start);
    if (!WindowsFxt()) EXPECT_EQ(run.err, start + "The system cannot find the path specified.\n");
    EXPECT_TRUE(run.err.size() > start.size() + 1 && run.err.find('\n') == run.err.size() - 1) << run.err;
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

    ASSERT_EQ(MakeFrom(header + "B\tx\ty\tz\tw\n", game).status, 0);
    EXPECT_EQ(Fxt({"dump", game}).out, header + "B\tx\ty\tz\tw\n");
    EXPECT_EQ(Names(game), std::vector<std::string>{"gtaData"});
    EXPECT_EQ(Names(game + "/gtaData"), lower) << "make replaced the files, not wrote a second set beside them";
}

TEST_F(FxtTest, CheckReportsWhatDoesNotReachTheTable) {
    std::string game = work + "/game";
    WriteBytes(work + "/table.tsv", RealisticTable(300, 5));
    ASSERT_EQ(Fxt({"make", work + "/table.tsv", game}).status, 0);
    FxtRun clean = Fxt({"check", game});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(std::count(clean.out.begin(), clean.out.end(), '\n'), 4) << "the summary only: " << clean.out;

    WriteBytes(game + "/GTADATA/ENGLISH.FXT", EncodeDecodedBytes("[A]a[B]b["));
    WriteBytes(game + "/GTADATA/FRENCH.FXT", EncodeDecodedBytes("[A]un[B]deux[A]trois["));
    WriteBytes(game + "/GTADATA/GERMAN.FXT", EncodeDecodedBytes("[A]eins[C]zwei"));
    WriteBytes(game + "/GTADATA/ITALIAN.FXT", "");
    FxtRun found = Fxt({"check", game});
    EXPECT_EQ(found.status, 1);
    EXPECT_EQ(found.out,
              "FRENCH.FXT:12: [A] occurs earlier in this file, at offset 0: this text is ignored\n"
              "GERMAN.FXT:7: [C] is the last entry and its text runs into the end of the data: it is not stored\n"
              "English: 2 entries stored; 0 of the 2 keys have no English text\n"
              "French: 2 entries stored; 0 of the 2 keys have no French text\n"
              "German: 1 entry stored; 1 of the 2 keys has no German text\n"
              "Italian: 0 entries stored; 2 of the 2 keys have no Italian text\n");
}

#ifdef FXT_UNDER_WINE
// On the same folders the Windows fxt prints what the Linux one prints and
// ends the same way: game-like, random and edge data, and the game folder
// written as a Windows user may write it.
TEST_F(FxtTest, MatchesTheLinuxFxt) {
    std::vector<std::pair<std::string, std::string>> tables = {{"realistic", RealisticTable(2500, 3)}};
    for (unsigned seed = 11; seed <= 13; ++seed) tables.emplace_back("random" + std::to_string(seed), RandomTable(seed, 300));
    std::vector<std::string> folders;
    for (const auto &table : tables) {
        WriteBytes(work + "/" + table.first + ".tsv", table.second);
        ASSERT_EQ(Fxt({"make", table.first + ".tsv", table.first}, false).status, 0);
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
        for (const char *command : {"dump", "check"}) {
            SCOPED_TRACE(std::string(command) + " " + folder);
            FxtRun linux = Fxt({command, folder}, false), windows = Fxt({command, folder});
            EXPECT_EQ(windows.status, linux.status);
            EXPECT_EQ(windows.out, linux.out);
            EXPECT_EQ(windows.err, linux.err);
        }

    const std::string dumped = Fxt({"dump", "realistic"}, false).out;
    for (const std::string &written : {"Z:" + Shown(work) + "\\realistic", work + "/realistic/", std::string(".\\realistic")})
        EXPECT_EQ(Fxt({"dump", written}).out, dumped) << written;

    // What the Windows fxt writes is what the Linux one writes.
    for (const auto &table : tables) {
        SCOPED_TRACE("make " + table.first);
        ASSERT_EQ(Fxt({"make", table.first + ".tsv", "windows-" + table.first}).status, 0);
        for (const char *name : LanguageFileNames)
            EXPECT_EQ(ReadBytes(work + "/windows-" + table.first + "/" + CompatNativePath(name)),
                      ReadBytes(work + "/" + table.first + "/" + CompatNativePath(name)));
        EXPECT_EQ(Fxt({"dump", "windows-" + table.first}, false).out, table.second);
    }
}
#endif

TEST_F(FxtTest, Usage) {
    for (const auto &arguments : std::vector<std::vector<std::string>>{
             {}, {"dump"}, {"make", "x"}, {"check"}, {"check", "a", "b"}, {"frob", "a", "b"}}) {
        FxtRun run = Fxt(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("usage: fxt", 0), 0u);
    }
    FxtRun help = Fxt({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: fxt", 0), 0u);
}

} // namespace
