// The fxt tool, run as a user runs it: tables written to language files and
// read back byte for byte, and bad input refused without touching the files.
#include "core_fixture.h"

#include "tools/fxt/fxt_table.h"

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

TEST_F(FxtTest, Usage) {
    for (const auto &arguments : std::vector<std::vector<std::string>>{{}, {"dump"}, {"make", "x"}, {"frob", "a", "b"}}) {
        FxtRun run = Fxt(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.rfind("usage: fxt", 0), 0u);
    }
    FxtRun help = Fxt({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: fxt", 0), 0u);
}

} // namespace
