#include "fxt_fixture.h"

#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/formats/table.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

std::string Quoted(const std::string &word) {
    std::string quoted = "'";
    for (char ch : word) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

const char *WindowsFxt(void) {
    return getenv("FXT_EXE");
}

std::string Shown(std::string path) {
    if (WindowsFxt()) std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Utf8ByIconv(const std::string &bytes, int codePage) {
    const std::map<std::pair<int, unsigned char>, std::string> privateUse = {
        {{1253, 0xAA}, "\xEF\xA3\xB9"}, {{1253, 0xD2}, "\xEF\xA3\xBA"}, {{1253, 0xFF}, "\xEF\xA3\xBB"},
        {{1257, 0xA1}, "\xEF\xA3\xBC"}, {{1257, 0xA5}, "\xEF\xA3\xBD"}};
    iconv_t converter = iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
    std::string text;
    for (char byte : bytes) {
        char in[1] = {byte}, out[8], *from = in, *to = out;
        size_t left = 1, room = sizeof out;
        if (iconv(converter, &from, &left, &to, &room) != (size_t)-1) {
            text.append(out, to - out);
            continue;
        }
        unsigned char value = (unsigned char)byte;
        auto found = privateUse.find({codePage, value});
        EXPECT_TRUE(value < 0xA0 || found != privateUse.end()) << "byte " << (int)value << " of " << codePage;
        text += value < 0xA0 ? std::string("\xC2") + byte : found->second;
    }
    iconv_close(converter);
    return text;
}

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

std::string EveryByteTable(void) {
    std::string key, text;
    for (int byte = 1; byte <= 254; ++byte) {
        if (byte != ']') key += (char)byte;
        if (byte != '[') text += (char)byte;
    }
    return TableHeader + FormatTableRow(TableRow{key, {text, text, text, text}});
}

FxtRun FxtTest::Fxt(const std::vector<std::string> &arguments, bool windows) {
    bool underWine = windows && WindowsFxt();
    std::string command = "cd " + Quoted(work) + " && ";
    command += underWine ? Quoted(getenv("WINE")) + " " + Quoted(WindowsFxt()) : Quoted(FXT_PATH);
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

FxtRun FxtTest::Run(const std::string &command) {
    int status = system(command.c_str());
    FxtRun run = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(work + "/out"), ReadBytes(work + "/err")};
    // Standard error is text on Windows, its lines ending with CR LF.
    for (size_t crlf; WindowsFxt() && (crlf = run.err.find("\r\n")) != std::string::npos;) run.err.erase(crlf, 1);
    return run;
}

FxtRun FxtTest::MakeFrom(const std::string &table, const std::string &game, std::vector<std::string> options) {
    WriteBytes(work + "/table.tsv", table);
    options.insert(options.begin(), "make");
    options.insert(options.end(), {work + "/table.tsv", game});
    return Fxt(options);
}

void FxtTest::Hold(const std::string &path) {
    if (!WindowsFxt()) {
        held = open((work + "/" + path).c_str(), O_RDONLY);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        return;
    }
    // The holder's shell makes the file "ended" once it is gone. Only the
    // holder and its shell's last step run in the background: a stale
    // "ended" must be gone before the wait for the new one.
    std::string command = "cd " + Quoted(work) + " && { (" + Quoted(getenv("WINE")) + " " +
                          Quoted(getenv("FILE_HOLDER")) + " " + Quoted(path) +
                          " held released >holder.log 2>&1; echo \"status $?\" >>holder.log; touch ended) & }";
    for (int start = 1;; ++start) {
        remove((work + "/ended").c_str());
        remove((work + "/held").c_str());
        ASSERT_EQ(system(command.c_str()), 0);
        if (WaitForFile("held", "ended") == "held") return;
        // It ended without holding the file: Wine failed to start it, or
        // it says why in its log.
        std::string log = ReadBytes(work + "/holder.log");
        ASSERT_LT(start, WineStarts) << "file_holder did not take " << path << " in " << start << " starts: " << log;
        std::cout << "file_holder did not take " << path << " (" << log << "); starting it again (start "
                  << start + 1 << " of " << WineStarts << ")\n";
    }
}

// Under Wine, waits until the holder's shell has ended, so that nothing of
// it is left to touch the next holder's files.
void FxtTest::Release(void) {
    if (!WindowsFxt()) {
        close(held);
        return;
    }
    WriteBytes(work + "/released", "");
    EXPECT_EQ(WaitForFile("ended", "ended"), "ended") << "file_holder did not end: " << ReadBytes(work + "/holder.log");
    remove((work + "/released").c_str());
}

// Which of two files of the work folder appears first, within a minute; ""
// when neither does.
std::string FxtTest::WaitForFile(const std::string &one, const std::string &other) {
    struct stat info;
    for (int waited = 0; waited < 60000; waited += 20) {
        for (const std::string &name : {one, other})
            if (stat((work + "/" + name).c_str(), &info) == 0) return name;
        usleep(20000);
    }
    return "";
}

void FxtTest::ExpectLinkReplacedAsAName(const std::string &game) {
    const std::string english = game + "/GTADATA/ENGLISH.FXT", stored = work + "/stored.fxt";
    ASSERT_EQ(rename(english.c_str(), stored.c_str()), 0);
    ASSERT_EQ(symlink(stored.c_str(), english.c_str()), 0);
    const std::string linked = ReadBytes(stored);
    ASSERT_EQ(MakeFrom(TableHeader + std::string("A\tfour\tquatre\tvier\tquattro\n"), game).status, 0);
    struct stat info;
    EXPECT_EQ(ReadBytes(stored), linked);
    EXPECT_TRUE(lstat((english + ".bak").c_str(), &info) == 0 && S_ISREG(info.st_mode) && ReadBytes(english + ".bak") == linked);
    EXPECT_TRUE(lstat(english.c_str(), &info) == 0 && S_ISREG(info.st_mode));
}

std::vector<std::string> FxtTest::LanguageFiles(const std::string &game) {
    std::vector<std::string> files;
    for (const char *name : LanguageFileNames) files.push_back(ReadBytes(game + "/" + CompatNativePath(name)));
    return files;
}

std::string ForgedJournal(const std::string &lines) {
    return "fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back\n"
           "make\t0123456789abcdef0123456789abcdef\n" +
           lines;
}

std::string SumOf(const std::string &path) {
    std::string bytes = ReadBytes(path);
    return std::to_string(bytes.size()) + "\t" + Sha256Of(bytes);
}

void PlantStaleJournalInLockedFolder(const std::string &data) {
    WriteBytes(data + "ENGLISH.FXT.new", "");
    WriteBytes(data + "fxt-make.journal", ForgedJournal("replace\tENGLISH.FXT\tENGLISH.FXT.old\t-\t" +
                                                        SumOf(data + "ENGLISH.FXT") + "\t1\t" + Sha256Of("x") +
                                                        "\nplanned\n"));
    ASSERT_EQ(system(("chattr +i " + Quoted(data)).c_str()), 0);
}

std::string StaleJournalLeftToUndo(const std::string &data, const std::string &systemText) {
    return "fxt: an earlier fxt make of this folder was interrupted, and putting the folder back failed:\n"
           "fxt: cannot remove " + Shown(data + "ENGLISH.FXT.new") + ": " + systemText + "\n"
           "fxt: that is left to do; the next fxt command tries it again, and no fxt command writes here until it "
           "succeeds\n";
}
