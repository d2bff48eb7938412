// What the native tests of the core share: a fresh game folder per test, the
// stand-in layer reset, and the table freed afterwards so that the sanitizers
// see every block accounted for.
#ifndef PARLYTE_CORE_FIXTURE_H
#define PARLYTE_CORE_FIXTURE_H

#include <gtest/gtest.h>

#include "tests/fakes/fakes.h"
#include "loaded_table.h"
#include "text/text_store.h"

#include <map>
#include <string>
#include <vector>

std::string MakeTemporaryFolder(void);
void RemoveTree(const std::string &path);
void WriteBytes(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);
// Every file and folder below a folder: a file's path with its bytes (or,
// for one of more than 64 MB, its size), a folder's path with "/" at its
// end and no bytes, a link's with what it leads to, anything else's with
// "not a file". Links are not followed.
std::map<std::string, std::string> FolderSnapshot(const std::string &folder);

// The table as lines of "key|English|French|German|Italian", with "-" for an
// absent text.
std::vector<std::string> TableLines(void);

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the four raw files and points GameFolderPath at the folder.
    void WriteLanguageFiles(const std::string &english, const std::string &french,
                            const std::string &german, const std::string &italian);
    std::string LanguageFilePath(int index) const;
    // Opens raw bytes for the reader, as loading does before parsing.
    void OpenReaderOn(const std::string &raw);

    std::string folder;
    bool readerOpen = false;
};

#endif
