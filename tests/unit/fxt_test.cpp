// The fxt tool, run as a user runs it: tables written to language files and
// read back byte for byte, and bad input refused without touching the files.
#include "core_fixture.h"

#include "realistic_table.h"
#include "tools/fxt/fxt_encoder.h"
#include "tools/fxt/fxt_table.h"

#include <algorithm>
#include <dirent.h>
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

class FxtTest : public ::testing::Test {
protected:
    void SetUp() override { work = MakeTemporaryFolder(); }
    void TearDown() override { RemoveTree(work); }

    FxtRun Fxt(const std::vector<std::string> &arguments) {
        std::string command = Quoted(FXT_PATH);
        for (const std::string &argument : arguments) command += " " + Quoted(argument);
        command += " >" + Quoted(work + "/out") + " 2>" + Quoted(work + "/err") + " </dev/null";
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
    EXPECT_EQ(run.err, "fxt: " + work + "/GTADATA/ENGLISH.FXT: The system cannot find the path specified.\n");
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
