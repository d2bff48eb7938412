// fxt make's writing, all or none: each file operation of a make fails in
// turn, and each time the game folder holds just what it held before, or,
// when the make reports success, the new files and the backups.
#include "core_fixture.h"

#include "text/language_file_writer.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/folder/replace.h"

#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A game folder as it may be before a make, files below it by their paths;
// and the make: what becomes of NAME.prev, and whether it writes all four
// files or Italian alone.
struct Scenario {
    const char *name;
    std::map<std::string, std::string> files;
    PreviousFiles previous;
    bool italianAlone;
};

const std::string Old[] = {EncodeLanguageFile({{"A", "old"}}), EncodeLanguageFile({{"A", "vieux"}}),
                           EncodeLanguageFile({{"A", "alt"}}), EncodeLanguageFile({{"A", "vecchio"}})};
const std::string NewFiles[LANGUAGE_COUNT] = {EncodeLanguageFile({{"A", "new"}}), EncodeLanguageFile({{"A", "neuf"}}),
                                               EncodeLanguageFile({{"A", "neu"}}), EncodeLanguageFile({{"A", "nuovo"}})};

std::string NativeName(int language) {
    std::string name = LanguageFileNames[language];
    name[name.find('\\')] = '/';
    return name;
}

const std::map<std::string, std::string> FourFiles = {
    {NativeName(0), Old[0]}, {NativeName(1), Old[1]}, {NativeName(2), Old[2]}, {NativeName(3), Old[3]}};

std::map<std::string, std::string> FourFilesAnd(const std::map<std::string, std::string> &more) {
    std::map<std::string, std::string> files = FourFiles;
    files.insert(more.begin(), more.end());
    return files;
}

const std::vector<Scenario> Scenarios = {
    {"no game folder yet", {}, KEEP_PREVIOUS, false},
    {"four files, no backups", FourFiles, KEEP_PREVIOUS, false},
    {"four files and their backups",
     FourFilesAnd({{NativeName(0) + ".bak", "first"}, {NativeName(1) + ".bak", "premier"},
                   {NativeName(2) + ".bak", "erste"}, {NativeName(3) + ".bak", "primo"}}),
     KEEP_PREVIOUS, false},
    {"some files in other letter cases", {{"GTADATA/english.fxt", Old[0]}, {"GTADATA/GERMAN.FXT.bak", "erste"}},
     KEEP_PREVIOUS, false},
    {"an earlier make's NAME.prev, Italian alone written",
     FourFilesAnd({{NativeName(0) + ".prev", "before"}, {NativeName(3) + ".prev", "prima"}}), KEEP_PREVIOUS, true},
    {"the NAME.prev put back", FourFilesAnd({{NativeName(0) + ".prev", "before"}, {NativeName(1) + ".prev", "avant"}}),
     PUT_BACK_PREVIOUS, false},
};

ReplaceRequest RequestOf(const Scenario &scenario, const std::string images[LANGUAGE_COUNT]) {
    ReplaceRequest request;
    request.previous = scenario.previous;
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        if (!scenario.italianAlone || i == LANGUAGE_ITALIAN) request.images[i] = &images[i];
    return request;
}

// What the folder holds after a make that succeeded: the new files under the
// names found, each replaced file kept where no backup was, and as
// NAME.prev where the make keeps it; no other NAME.prev.
std::map<std::string, std::string> Replaced(const Scenario &scenario, const std::string images[LANGUAGE_COUNT]) {
    std::map<std::string, std::string> after;
    for (const auto &file : scenario.files) after["game/" + file.first] = file.second;
    after["game/"] = after["game/GTADATA/"] = "";
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::string path = "game/" + NativeName(i);
        for (const auto &file : scenario.files)
            if (strcasecmp(file.first.c_str(), NativeName(i).c_str()) == 0) path = "game/" + file.first;
        bool written = RequestOf(scenario, images).images[i], hasOld = after.count(path);
        after.erase(path + ".prev");
        if (!written) continue;
        if (hasOld && !after.count(path + ".bak")) after[path + ".bak"] = after[path];
        if (hasOld && scenario.previous == KEEP_PREVIOUS) after[path + ".prev"] = after[path];
        after[path] = images[i];
    }
    return after;
}

class ReplaceTest : public CoreTest {
protected:
    // The scenario's game folder under a folder of its own.
    std::string Prepare(const std::string &root, const Scenario &scenario) {
        EXPECT_EQ(mkdir(root.c_str(), 0777), 0);
        if (!scenario.files.empty()) {
            EXPECT_EQ(mkdir((root + "/game").c_str(), 0777), 0);
            EXPECT_EQ(mkdir((root + "/game/GTADATA").c_str(), 0777), 0);
        }
        for (const auto &file : scenario.files) WriteBytes(root + "/game/" + file.first, file.second);
        return root + "/game/";
    }
};

// Each operation fails in turn, or the process ends at it as when it is
// killed; the next command's recovery then puts the folder back. Each
// scenario is a test of its own, so that they run side by side.
class EachFailingFileOperation : public ReplaceTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(EachFailingFileOperation, LeavesTheFolderAsItWas) {
    const std::string undone = "an earlier fxt make of this folder was interrupted; the files are as they were before it";
    const size_t which = GetParam();
    const Scenario &scenario = Scenarios[which];
    for (long failing = 1;; ++failing) {
        SCOPED_TRACE(std::string(scenario.name) + ", file operation " + std::to_string(failing));
        std::string root = folder + "/" + std::to_string(which) + "-" + std::to_string(failing);
        std::string game = Prepare(root, scenario);
        std::map<std::string, std::string> before = FolderSnapshot(root);
        // Killed once the folders are made, before the journal is,
        // a make into a new folder leaves them: that scenario only fails.
        if (!scenario.files.empty()) {
            std::string killedGame = Prepare(root + "-killed", scenario);
            pid_t make = fork();
            if (make == 0) {
                FakeReset();
                FakeEndProcessAtFileOperation(failing);
                ReplaceReport report;
                _exit(ReplaceLanguageFiles(killedGame, RequestOf(scenario, NewFiles), &report) ? 0 : 1);
            }
            int status;
            ASSERT_EQ(waitpid(make, &status, 0), make);
            bool killed = WIFEXITED(status) && WEXITSTATUS(status) == FakeKilledStatus;
            bool journal = access((killedGame + "GTADATA/fxt-make.journal").c_str(), F_OK) == 0;
            std::vector<std::string> messages;
            FakeReset();
            EXPECT_EQ(RecoverInterruptedMake(killedGame, &messages), FOLDER_SETTLED);
            std::map<std::string, std::string> after = FolderSnapshot(root + "-killed");
            if (killed && !journal) {
                // Before it took its journal, or once it had let it go.
                EXPECT_TRUE(after == before || after == Replaced(scenario, NewFiles));
                EXPECT_EQ(messages, std::vector<std::string>{});
            } else if (killed && messages[0] == undone) {
                EXPECT_EQ(after, before);
            } else {
                EXPECT_EQ(after, Replaced(scenario, NewFiles))
                    << "a make killed once its files were in place is finished";
            }
        }
        FakeReset();
        FakeFailFileOperation(failing, failing % 2 ? ERROR_ACCESS_DENIED : ERROR_DISK_FULL);
        ReplaceReport report;
        int replaced = ReplaceLanguageFiles(game, RequestOf(scenario, NewFiles), &report);
        bool failed = FakeFileOperationCount() >= failing;
        if (!replaced) {
            EXPECT_TRUE(failed) << "a make failed with no failing operation";
            EXPECT_EQ(FolderSnapshot(root), before);
            // One line for the step that failed, and how the folder is.
            ASSERT_EQ(report.errors.size(), report.errors[0].find("nothing was written: ") == 0 ? 1u : 2u)
                << report.errors[0];
            EXPECT_TRUE(report.errors.size() == 1 || report.errors.back() == "nothing was written" ||
                        report.errors.back() == "the game folder is left as it was")
                << report.errors.back();
            continue;
        }
        // A failure that stops nothing (closing a file only read), or
        // one after the new files are in place: keeping an undo copy as
        // NAME.prev, removing one or the journal, which is told and left
        // to the next command.
        if (!report.warnings.empty()) {
            ASSERT_EQ(report.warnings.size(), 1u) << report.warnings[0] << " / " << report.warnings.back();
            EXPECT_TRUE(report.warnings[0].find("cannot remove ") == 0 ||
                        report.warnings[0].find("cannot move ") == 0 ||
                        report.warnings[0].find("left as it is: ") == 0)
                << report.warnings[0];
            std::vector<std::string> messages;
            EXPECT_EQ(RecoverInterruptedMake(game, &messages), FOLDER_SETTLED);
        }
        EXPECT_EQ(FolderSnapshot(root), Replaced(scenario, NewFiles));
        if (!failed) break;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EachFailingFileOperation, ::testing::Range<size_t>(0, Scenarios.size()));

// Two makes at once, one of them stopped by a busy machine before its
// journal, or just after taking it, while the other works: the originals
// survive in the backups, and the folder is as one make left it.
TEST_F(ReplaceTest, TwoMakesAtOnceKeepTheOriginals) {
    const std::string other[LANGUAGE_COUNT] = {EncodeLanguageFile({{"A", "other"}}), EncodeLanguageFile({{"A", "autre"}}),
                                               EncodeLanguageFile({{"A", "andere"}}), EncodeLanguageFile({{"A", "altro"}})};
    // A make into folders that are there makes them again (1, 2), looks at
    // GTADATA and its parent (3 to 6), then takes its journal (7).
    for (long pausedAt : {7, 8}) {
        bool holdsJournal = pausedAt == 8;
        SCOPED_TRACE(holdsJournal ? "paused holding its journal" : "paused before its journal");
        std::string root = folder + "/race" + std::to_string(pausedAt);
        std::string game = Prepare(root, Scenarios[1]);
        int paused[2], resume[2];
        ASSERT_EQ(pipe(paused), 0);
        ASSERT_EQ(pipe(resume), 0);
        pid_t first = fork();
        if (first == 0) {
            FakeReset();
            FakePauseAtFileOperation(pausedAt, paused[1], resume[0]);
            ReplaceReport report;
            _exit(ReplaceLanguageFiles(game, RequestOf(Scenarios[1], NewFiles), &report) ? 0 : 1);
        }
        char byte;
        EXPECT_EQ(read(paused[0], &byte, 1), 1);
        EXPECT_EQ(access((game + "GTADATA/fxt-make.journal").c_str(), F_OK) == 0, holdsJournal);
        std::vector<std::string> messages;
        ReplaceReport report;
        EXPECT_EQ(RecoverInterruptedMake(game, &messages), holdsJournal ? FOLDER_BUSY : FOLDER_SETTLED);
        EXPECT_EQ(ReplaceLanguageFiles(game, RequestOf(Scenarios[1], other), &report), holdsJournal ? 0 : 1);
        if (holdsJournal)
            EXPECT_EQ(report.errors, (std::vector<std::string>{"another fxt make is working on this folder (" + game +
                                                                   "GTADATA/fxt-make.journal is in use); try again once "
                                                                   "it has finished",
                                                               "nothing was written"}));
        EXPECT_EQ(write(resume[1], "", 1), 1);
        int status;
        ASSERT_EQ(waitpid(first, &status, 0), first);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first make finished";
        // The first make's files, over the second's where it ran; the
        // backups, made by whichever came first, hold the originals, and
        // NAME.prev what the first make replaced.
        std::map<std::string, std::string> expected = Replaced(Scenarios[1], NewFiles);
        for (int i = 0; i < LANGUAGE_COUNT && !holdsJournal; ++i) expected["game/" + NativeName(i) + ".prev"] = other[i];
        EXPECT_EQ(FolderSnapshot(root), expected);
        for (int pipeEnd : {paused[0], paused[1], resume[0], resume[1]}) close(pipeEnd);
    }
}

// A link to a file outside put in place of the file a make acts on, at the
// moment it acts, by name and through its handle: the file outside keeps
// its bytes and its permission bits, and the make tells what it left.
TEST_F(ReplaceTest, ActsOnTheFileItLookedAt) {
    const struct {
        const char *what;
        const char *swapped;
        const char *told;
    } cases[] = {
        {"a NAME.prev the make removes", "ENGLISH.FXT.prev", "cannot remove "},
        {"the new file the make moves into place", "ITALIAN.FXT.new", "cannot move "},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.what);
        std::string root = folder + "/" + each.swapped, outside = root + "/outside";
        std::string game = Prepare(root, Scenarios[4]);
        WriteBytes(outside, "private");
        ASSERT_EQ(chmod(outside.c_str(), 0600), 0);
        FakeSwapInLinkWhenActingOn(std::string("/GTADATA/") + each.swapped, outside);
        ReplaceReport report;
        ReplaceLanguageFiles(game, RequestOf(Scenarios[4], NewFiles), &report);
        struct stat info;
        EXPECT_TRUE(stat(outside.c_str(), &info) == 0 && (info.st_mode & 07777) == 0600 && ReadBytes(outside) == "private");
        std::string told;
        for (const std::string &line : report.errors) told += line + "\n";
        for (const std::string &line : report.warnings) told += line + "\n";
        EXPECT_NE(told.find(each.told + game + "GTADATA/" + each.swapped), std::string::npos) << told;
    }
}

} // namespace
