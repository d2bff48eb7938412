// fxt.exe under Wine: what only Windows has (files other programs hold,
// read-only files, links, a kill, running out of a 32-bit address space,
// the console, paths as Windows users write them, UTF-16 arguments), and
// the same output and folders as the Linux fxt's for every command.
#include "fxt_fixture.h"

#include "realistic_table.h"
#include "text/language_file_writer.h"
#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/formats/table.h"

#include <functional>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

std::string WindowsFxtCommand(void) {
    return Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt());
}

// What Windows keeps a make from, each told in Windows' words before
// anything changes: a file another program holds open, a read-only one, a
// link where a backup goes, a GTADATA that cannot be written to. A language file that is a link is
// replaced as a name, as on Linux.
TEST_F(FxtTest, WhatWindowsHoldsStopsAMake) {
    const std::string header = TableHeader, game = work + "/game", data = game + "/GTADATA/";
    const std::string table = header + "A\tone\tun\teins\tuno\n", nothing = "fxt: nothing was written\n";
    // A stale journal: Wine says it removed a file it did not remove.
    const std::function<void()> staleJournal = [&] { PlantStaleJournalInLockedFolder(data); };
    const std::string undoFailed = StaleJournalLeftToUndo(data, "it is still there");
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
        {"a stale journal there, read", staleJournal, nullptr, "dump", 0, undoFailed},
        {"a stale journal there, written to", staleJournal, nullptr, "make", 1, undoFailed + nothing},
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
TEST_F(FxtTest, RunningOutOfMemory) {
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
TEST_F(FxtTest, KilledMakeIsUndoneByTheNextCommand) {
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
        if (stat(journal.c_str(), &info) != 0 || ReadBytes(journal).find("\ndone\n") != std::string::npos) continue;
        SCOPED_TRACE("killed with the journal at " + ReadBytes(journal));
        ++undone;
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
TEST_F(FxtTest, MatchesTheLinuxFxt) {
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
    ASSERT_EQ(Fxt({"make", "--ansi", "every.tsv", "every"}, false).status, 0);
    for (const char *page : {"1250", "1251", "1252", "1253", "1254", "1257"}) {
        std::string name = std::string("every-") + page;
        SCOPED_TRACE(name);
        for (const std::vector<std::string> &command :
             std::vector<std::vector<std::string>>{{"dump", "--codepage", page, "every"}, {"po", "--codepage", page, "it", "every"}}) {
            FxtRun linux = Fxt(command, false), windows = Fxt(command);
            EXPECT_EQ(windows.status, linux.status);
            EXPECT_EQ(windows.out, linux.out);
            WriteBytes(work + "/" + name + (command[0] == "po" ? ".po" : ".tsv"), linux.out);
        }
        ASSERT_EQ(Fxt({"make", "--codepage", page, name + ".tsv", name}).status, 0);
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
    // A path cmd gives as "C:\GTA\", whose last backslash escapes the quote.
    WriteBytes(work + "/dump.bat", "@\"Z:" + Shown(WindowsFxt()) + "\" dump \"Z:" + Shown(work) + "\\realistic\\\"\r\n");
    FxtRun quoted = Run("cd " + Quoted(work) + " && " + Quoted(getenv("WINE")) + " cmd /c dump.bat >out 2>err");
    EXPECT_TRUE(quoted.out == dumped) << "fxt.exe did not dump the folder: " << quoted.err;

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
TEST_F(FxtTest, ConsoleShowsTheLetters) {
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

// Making, going back, comparing, a journal a download brought and names in
// another letter case, by both fxt, each on its own copy of the folders:
// each step prints the same and ends the same way, and the folders end the
// same.
TEST_F(FxtTest, StepsMatchTheLinuxFxt) {
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
    const std::function<void(const std::string &)> journalNamingTheBackup = [](const std::string &side) {
        const std::string data = side + "/first/GTADATA/";
        WriteBytes(data + "fxt-make.journal", ForgedJournal("replace\tENGLISH.FXT\tENGLISH.FXT.old\tENGLISH.FXT.bak\t" +
                                                            SumOf(data + "ENGLISH.FXT") + "\t1\t" + Sha256Of("x") +
                                                            "\nplanned\n"));
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
        {{"dump", "@first"}, journalNamingTheBackup},
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
        for (std::string *text : {&linuxOut, &linuxErr})
            for (size_t at; (at = text->find("linux\\")) != std::string::npos;) text->replace(at, 5, "windows");
        EXPECT_EQ(runs["windows"].status, runs["linux"].status);
        EXPECT_EQ(runs["windows"].out, linuxOut);
        EXPECT_EQ(runs["windows"].err, linuxErr);
    }
    EXPECT_EQ(FolderSnapshot(work + "/windows"), FolderSnapshot(work + "/linux"));
}

} // namespace
