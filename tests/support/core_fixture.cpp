#include "core_fixture.h"

#include "text/text_store.h"

#include <fstream>
#include <ftw.h>
#include <sstream>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

std::string MakeTemporaryFolder(void) {
    const char *base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/parlyte-XXXXXX";
    if (!mkdtemp(&pattern[0])) ADD_FAILURE() << "cannot make a temporary folder";
    return pattern;
}

static int RemoveOne(const char *path, const struct stat *, int, struct FTW *) {
    return remove(path);
}

void RemoveTree(const std::string &path) {
    nftw(path.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
}

void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << path;
}

std::string ReadBytes(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A file larger than this is told by its size: a test makes it sparse.
static const off_t LargestSnapshotFile = 1 << 26;

static std::string LinkTarget(const char *path) {
    char target[4096];
    ssize_t length = readlink(path, target, sizeof target);
    return length < 0 ? "" : std::string(target, (size_t)length);
}

std::map<std::string, std::string> FolderSnapshot(const std::string &folder) {
    static std::map<std::string, std::string> *snapshot;
    static size_t prefix;
    std::map<std::string, std::string> taken;
    snapshot = &taken;
    prefix = folder.size() + 1;
    nftw(
        folder.c_str(),
        [](const char *path, const struct stat *info, int, struct FTW *) {
            std::string name = path;
            if (name.size() < prefix) return 0;
            name = name.substr(prefix);
            if (S_ISDIR(info->st_mode))
                (*snapshot)[name + "/"] = "";
            else if (S_ISLNK(info->st_mode))
                (*snapshot)[name] = "link to " + LinkTarget(path);
            else if (!S_ISREG(info->st_mode))
                (*snapshot)[name] = "not a file";
            else if (info->st_size > LargestSnapshotFile)
                (*snapshot)[name] = std::to_string(info->st_size) + " bytes";
            else
                (*snapshot)[name] = ReadBytes(path);
            return 0;
        },
        16, FTW_PHYS);
    return taken;
}

std::vector<std::string> TableLines(void) {
    std::vector<std::string> lines;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        std::string line = entry->key ? entry->key : "<null key>";
        for (const char *text : entry->texts) line += std::string("|") + (text ? text : "-");
        lines.push_back(line);
    }
    return lines;
}

void CoreTest::SetUp() {
    FakeReset();
    folder = MakeTemporaryFolder();
    // The key that signs fxt make's journals, the test's own.
    setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
    ASSERT_EQ(mkdir((folder + "/GTADATA").c_str(), 0777), 0);
    std::string path = folder + "/";
    ASSERT_LT(path.size(), sizeof GameFolderPath);
    lstrcpyA(GameFolderPath, path.c_str());
}

void CoreTest::TearDown() {
    if (readerOpen) CloseHandle(TheLanguageFileReader.file);
    FreeTextTable();
    EXPECT_EQ(FakeOpenHandleCount(), 0) << "a file or search handle was left open";
    EXPECT_EQ(FakeLiveAllocations(), 0) << "a block of the local heap was not freed";
    RemoveTree(folder);
}

std::string CoreTest::LanguageFilePath(int index) const {
    return folder + "/" + CompatNativePath(LanguageFileNames[index]);
}

void CoreTest::WriteLanguageFiles(const std::string &english, const std::string &french,
                                  const std::string &german, const std::string &italian) {
    const std::string *files[LANGUAGE_COUNT] = {&english, &french, &german, &italian};
    for (int i = 0; i < LANGUAGE_COUNT; ++i) WriteBytes(LanguageFilePath(i), *files[i]);
}

void CoreTest::OpenReaderOn(const std::string &raw) {
    std::string path = folder + "/raw.bin";
    WriteBytes(path, raw);
    TheLanguageFileReader.fill = 0;
    TheLanguageFileReader.position = 0;
    TheLanguageFileReader.headerCount = 0;
    TheLanguageFileReader.file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(TheLanguageFileReader.file, INVALID_HANDLE_VALUE);
    readerOpen = true;
}
