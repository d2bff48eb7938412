// Finding the game folder: the settings file, the folder dialog's scripted
// answers, and the checks of a folder.
#include "core_fixture.h"

#include "folder/game_folder.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Title[] =
    "Select the folder where you installed Grand Theft Auto.\n\nNote: you can store the GTA path forever in the Parlyte.ini.";

class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeReset();
        work = MakeTemporaryFolder();
        ASSERT_TRUE(getcwd(previous, sizeof previous));
        ASSERT_EQ(chdir(work.c_str()), 0);
        GameFolderPath[0] = '\0';
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previous), 0);
        EXPECT_EQ(FakeOpenHandleCount(), 0);
        RemoveTree(work);
    }

    // A folder below the work folder, with a GTADATA folder when asked.
    std::string GameFolder(const std::string &name, bool withData = true) {
        std::string path = work + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0777), 0);
        if (withData) EXPECT_EQ(mkdir((path + "/GTADATA").c_str(), 0777), 0);
        return path;
    }

    std::string Settings() { return ReadBytes(work + "/Parlyte.ini"); }

    std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const FakeMessageBox &box : FakeMessageBoxes()) {
            EXPECT_EQ(box.caption, "Parlyte");
            texts.push_back(box.text + (box.type == (MB_OK | MB_ICONWARNING) ? " (warning)" : box.type == (MB_OK | MB_ICONERROR) ? " (error)" : " (other)"));
        }
        return texts;
    }

    std::string work;
    char previous[4096];
};

using Texts = std::vector<std::string>;

TEST_F(GameFolderTest, StoredFolderIsAcceptedWithABackslashAndNotWrittenBack) {
    std::string game = GameFolder("game");
    std::string settings = "; mine\r\n[gta]\r\n GTAPath = " + game + "\r\n";
    WriteBytes("Parlyte.ini", settings);
    EXPECT_EQ(LocateGameFolder(), 1);
    EXPECT_STREQ(GameFolderPath, (game + "\\").c_str());
    EXPECT_EQ(Settings(), settings);
    EXPECT_EQ(FakeFolderDialogCount(), 0);
    EXPECT_EQ(BoxTexts(), Texts{});
}

TEST_F(GameFolderTest, NoSettingsOpensTheDialogAtOnceAndStoresTheAcceptedPick) {
    std::string game = GameFolder("game");
    FakeScriptFolderPick(game);
    EXPECT_EQ(LocateGameFolder(), 1);
    EXPECT_EQ(BoxTexts(), Texts{});
    EXPECT_EQ(FakeLastFolderDialogTitle(), Title);
    EXPECT_EQ(FakeLastFolderDialogFlags(), 1u);
    EXPECT_EQ(Settings(), "[GTA]\r\nGTAPath=" + game + "\\\r\n");
    EXPECT_STREQ(GameFolderPath, (game + "\\").c_str());
}

TEST_F(GameFolderTest, BadPicksWarnUntilAGoodOne) {
    std::string empty = GameFolder("empty", false);
    std::string file = GameFolder("file", false);
    WriteBytes(file + "/GTADATA", "not a folder");
    std::string game = GameFolder("game");
    for (const std::string &pick : {empty, file, work + "/missing", game}) FakeScriptFolderPick(pick);
    EXPECT_EQ(LocateGameFolder(), 1);
    EXPECT_EQ(BoxTexts(), (Texts{empty + "\\: wrong directory! (warning)", file + "\\: wrong directory! (warning)",
                                work + "/missing\\: wrong directory! (warning)"}));
    EXPECT_EQ(FakeFolderDialogCount(), 4);
    EXPECT_EQ(Settings(), "[GTA]\r\nGTAPath=" + game + "\\\r\n");
}

TEST_F(GameFolderTest, RejectedStoredValueStaysWhenTheDialogIsCancelled) {
    std::string settings = "[GTA]\r\nGTAPath=" + work + "/nowhere\r\n[Other]\r\nx=1\r\n";
    WriteBytes("Parlyte.ini", settings);
    EXPECT_EQ(LocateGameFolder(), 0);
    EXPECT_EQ(BoxTexts(), Texts{"Wrong directory in Parlyte.ini! (error)"});
    EXPECT_EQ(FakeFolderDialogCount(), 1);
    EXPECT_EQ(Settings(), settings);
}

TEST_F(GameFolderTest, RejectedStoredValueIsReplacedByAnAcceptedPick) {
    WriteBytes("Parlyte.ini", "[GTA]\r\nGTAPath=" + work + "/nowhere\r\n[Other]\r\nx=1\r\n");
    std::string game = GameFolder("game");
    FakeScriptFolderPick(game + "\\");
    EXPECT_EQ(LocateGameFolder(), 1);
    EXPECT_STREQ(GameFolderPath, (game + "\\").c_str()) << "no second backslash after one already there";
    EXPECT_EQ(Settings(), "[GTA]\r\nGTAPath=" + game + "\\\r\n[Other]\r\nx=1\r\n");
}

TEST_F(GameFolderTest, DriveRootGetsNoSecondBackslash) {
    // Natively "C:\" is the folder "C:" in the current directory.
    GameFolder("C:");
    FakeScriptFolderPick("C:\\");
    EXPECT_EQ(LocateGameFolder(), 1);
    EXPECT_STREQ(GameFolderPath, "C:\\");
    EXPECT_EQ(Settings(), "[GTA]\r\nGTAPath=C:\\\r\n");
}

TEST_F(GameFolderTest, PickWithoutAPathGivesUp) {
    FakeScriptFolderPick("");
    EXPECT_EQ(LocateGameFolder(), 0);
    EXPECT_EQ(BoxTexts(), Texts{});
    EXPECT_EQ(Settings(), "");
}

TEST_F(GameFolderTest, LongestAcceptedFolderIs234CharactersWithItsBackslash) {
    // Folders whose paths, with the backslash, are 234 and 235 characters.
    for (size_t length : {234u, 235u}) {
        std::string path = work + "/";
        while (path.size() + 1 < length) path += std::string(std::min<size_t>(60, length - 1 - path.size()), 'd') + "/";
        path.pop_back();
        std::string::size_type slash = path.rfind('/');
        path = path.substr(0, slash + 1) + std::string(length - 1 - slash - 1, 'e');
        ASSERT_EQ(path.size() + 1, length);
        for (std::string::size_type at = work.size() + 1; (at = path.find('/', at)) != std::string::npos; ++at)
            mkdir(path.substr(0, at).c_str(), 0777);
        ASSERT_EQ(mkdir(path.c_str(), 0777), 0);
        ASSERT_EQ(mkdir((path + "/GTADATA").c_str(), 0777), 0);
        lstrcpyA(GameFolderPath, path.c_str());
        EXPECT_EQ(CheckGameFolder(), length == 234 ? 1 : 0) << length;
        EXPECT_STREQ(GameFolderPath, (path + "\\").c_str()) << "the backslash stays whatever the outcome";
    }
    GameFolderPath[0] = '\0';
    EXPECT_EQ(CheckGameFolder(), 0) << "an empty path";
}

TEST_F(GameFolderTest, LongestStoredValueIsCheckedWithoutOverflow) {
    std::string longest(MAX_PATH - 1, 'x');
    WriteBytes("Parlyte.ini", "[GTA]\r\nGTAPath=" + longest + "\r\n");
    EXPECT_EQ(LocateGameFolder(), 0);
    EXPECT_STREQ(GameFolderPath, (longest + "\\").c_str());
    EXPECT_EQ(BoxTexts(), Texts{"Wrong directory in Parlyte.ini! (error)"});
}

} // namespace
