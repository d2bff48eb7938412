// Parsing the decoded files into entries and merging the four files.
#include "core_fixture.h"

#include "text/text_store.h"

#include "text/language_file_writer.h"

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char AllocationError[] = "Erreur d'allocation !\r\n";

// Raw bytes of decoded characters that follow the header.
std::string BodyBytes(const std::string &decoded) {
    return EncodeDecodedBytes(std::string(8, 'x') + decoded).substr(8);
}

class LoaderTest : public CoreTest {
protected:
    // Loads the files written, then again with each allocation failing in
    // turn: loading goes on, the one message is written, and only the entry
    // or text that allocation held is lost; the list stays whole and every
    // key unique.
    void ExpectEachFailureLosesOnlyItsOwn(void) {
        ASSERT_EQ(LoadAllLanguageFiles(), 1);
        std::map<std::string, std::vector<std::optional<std::string>>> clean;
        for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
            for (const char *text : entry->texts) clean[entry->key].push_back(text ? std::optional<std::string>(text) : std::nullopt);
        long allocations = FakeAllocationCount();
        ASSERT_GE(allocations, 15);
        for (long failing = 1; failing <= allocations; ++failing) {
            SCOPED_TRACE("allocation " + std::to_string(failing) + " of " + std::to_string(allocations) + " fails");
            FreeTextTable();
            ASSERT_EQ(FakeLiveAllocations(), 0);
            FakeReset();
            FakeFailAllocation(failing);
            ASSERT_EQ(LoadAllLanguageFiles(), 1);
            EXPECT_EQ(FakeDebugOutput(), AllocationError);
            std::set<std::string> keys;
            bool lostSomething = TheTextTable.head == nullptr;
            const TextEntry *last = nullptr;
            for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
                ASSERT_NE(entry->key, nullptr);
                ASSERT_TRUE(keys.insert(entry->key).second) << "key twice: " << entry->key;
                ASSERT_LE(keys.size(), clean.size()) << "the list runs on";
                auto same = clean.find(entry->key);
                ASSERT_NE(same, clean.end()) << entry->key;
                for (int i = 0; i < LANGUAGE_COUNT; ++i) {
                    if (entry->texts[i]) EXPECT_EQ(entry->texts[i], same->second[i]) << entry->key;
                    lostSomething |= !entry->texts[i] && same->second[i];
                }
                last = entry;
            }
            EXPECT_EQ(TheTextTable.tail, last) << "the tail is the last entry";
            EXPECT_TRUE(lostSomething || keys.size() < clean.size()) << "every allocation holds something";
        }
    }

    void LoadDecoded(const std::string &english, const std::string &french = "",
                     const std::string &german = "", const std::string &italian = "") {
        FreeTextTable();
        WriteLanguageFiles(EncodeDecodedBytes(english), EncodeDecodedBytes(french),
                           EncodeDecodedBytes(german), EncodeDecodedBytes(italian));
        ASSERT_EQ(LoadAllLanguageFiles(), 1);
    }

    std::vector<std::string> EnglishTable(const std::string &decoded) {
        LoadDecoded(decoded);
        return TableLines();
    }
};

using Lines = std::vector<std::string>;

TEST_F(LoaderTest, WhereTheParseStops) {
    EXPECT_EQ(EnglishTable(""), Lines{});
    EXPECT_EQ(EnglishTable("x[A]one[B]"), Lines{}) << "data must start with an entry";
    EXPECT_EQ(EnglishTable("[A]one[B]two"), Lines{"A|one|-|-|-"}) << "a text that runs into the end is dropped";
    EXPECT_EQ(EnglishTable("[A]x[]y[C]z["), Lines{"A|x|-|-|-"}) << "an empty key ends the file";
    EXPECT_EQ(EnglishTable("[A]"), Lines{}) << "end right after the key";
    EXPECT_EQ(EnglishTable("[A]one[B"), Lines{"A|one|-|-|-"}) << "a partial key is dropped";
    LoadDecoded("[A]one[B]two[");
    EXPECT_EQ(TableLines(), (Lines{"A|one|-|-|-", "B|two|-|-|-"}));
}

TEST_F(LoaderTest, EndValueInTheMiddleOfAFileEndsItsData) {
    FreeTextTable();
    std::string english = EncodeDecodedBytes("[A]one[B]two[") + '\0' + BodyBytes("C]three[");
    WriteLanguageFiles(english, EncodeDecodedBytes("[C]trois["), "", "");
    ASSERT_EQ(LoadAllLanguageFiles(), 1);
    EXPECT_EQ(TableLines(), (Lines{"A|one|-|-|-", "B|two|-|-|-", "C|-|trois|-|-"}));
}

TEST_F(LoaderTest, TextsAndKeysAsStored) {
    LoadDecoded("[A]first[A]second[E][L1]one\n[L2]two\n\n[S]a]b[[K]k[\xE9t\xE9]\xE0\xFE\xC3\x01[");
    EXPECT_EQ(TableLines(), (Lines{"A|first|-|-|-", "E||-|-|-", "L1|one|-|-|-", "L2|two\n|-|-|-",
                                   "S|a]b|-|-|-", "[K|k|-|-|-", "\xE9t\xE9|\xE0\xFE\xC3\x01|-|-|-"}));
}

TEST_F(LoaderTest, DecodedZeroEndsTheStoredKeyOrText) {
    LoadDecoded(std::string("[A\0B]x\0y[\0Z]empty key[C]c[", 26));
    EXPECT_EQ(TableLines(), (Lines{"A|x|-|-|-", "|empty key|-|-|-", "C|c|-|-|-"}));
}

TEST_F(LoaderTest, EscapedCharactersTakePartInTheSyntax) {
    FreeTextTable();
    // Raw 196 28 is a "[" that starts an entry; raw 196 30 is a "]" that ends a key.
    std::string english = EncodeDecodedBytes("[A]one two") + "\xC4\x1C" + BodyBytes("B") + "\xC4\x1E" +
                          BodyBytes("two[");
    WriteLanguageFiles(english, "", "", "");
    ASSERT_EQ(LoadAllLanguageFiles(), 1);
    EXPECT_EQ(TableLines(), (Lines{"A|one two|-|-|-", "B|two|-|-|-"}));
}

TEST_F(LoaderTest, MergesInOrderOfFirstStore) {
    LoadDecoded("[A]a-en[B]b-en[", "[C]c-fr[A]a-fr[X]dropped", "[D]d-de[B]b-de[", "[B]b-it[A]a-it[D]d-it[E]e-it[");
    EXPECT_EQ(TableLines(), (Lines{"A|a-en|a-fr|-|a-it", "B|b-en|-|b-de|b-it", "C|-|c-fr|-|-",
                                   "D|-|-|d-de|d-it", "E|-|-|-|e-it"}));
}

TEST_F(LoaderTest, KeysAreComparedByteForByte) {
    LoadDecoded("[A]upper[a]lower[A\xAD]soft hyphen[AB]longer[", "[a]fr[A\xAD]fr2[A]fr3[");
    EXPECT_EQ(TableLines(), (Lines{"A|upper|fr3|-|-", "a|lower|fr|-|-", "A\xAD|soft hyphen|fr2|-|-",
                                   "AB|longer|-|-|-"}));
    EXPECT_EQ(FindTextEntry("A\xAD"), TheTextTable.head->next->next);
    EXPECT_EQ(FindTextEntry("A\xAE"), nullptr);
    FreeTextTable();
    EXPECT_EQ(FindTextEntry("A"), nullptr) << "empty table";
}

TEST_F(LoaderTest, LongKeysAndTextsAreKeptWhole) {
    std::string key63(63, 'k'), key64(64, 'K'), longKey(5000, 'q');
    std::string text255(255, 't'), text256(256, 'T'), longText;
    for (int i = 0; i < 9000; ++i) longText += "line " + std::to_string(i) + (i % 7 ? " " : "\n");
    LoadDecoded("[" + key63 + "]" + text255 + "[" + key64 + "]" + text256 + "[" + longKey + "]" + longText +
                "\n[short]s[");
    EXPECT_EQ(TableLines(), (Lines{key63 + "|" + text255 + "|-|-|-", key64 + "|" + text256 + "|-|-|-",
                                   longKey + "|" + longText + "|-|-|-", "short|s|-|-|-"}));
    EXPECT_EQ(FakeDebugOutput(), "");
}

TEST_F(LoaderTest, EachFailingAllocationLosesOnlyItsOwnEntryOrText) {
    std::string longKey(100, 'L'), longText(700, 'x');
    WriteLanguageFiles(EncodeDecodedBytes("[A]a[" + longKey + "]" + longText + "[B]b["),
                       EncodeDecodedBytes("[B]bf[C]cf[A]af[" + longKey + "]lf["),
                       EncodeDecodedBytes("[D]" + longText + "["), EncodeDecodedBytes("[A]ai["));
    ExpectEachFailureLosesOnlyItsOwn();
}

TEST_F(LoaderTest, FileThatCannotBeOpenedStopsTheLoadWithTheSystemsText) {
    struct Case {
        const char *what;
        std::function<void(const std::string &)> spoil;
        const char *message;
    };
    std::vector<Case> cases = {
        {"missing", [](const std::string &path) { unlink(path.c_str()); },
         "The system cannot find the file specified.\r\n"},
        {"a folder", [](const std::string &path) { unlink(path.c_str()); mkdir(path.c_str(), 0777); },
         "Access is denied.\r\n"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.what);
        FreeTextTable();
        FakeReset();
        WriteLanguageFiles(EncodeDecodedBytes("[A]a["), EncodeDecodedBytes("[B]b["), "", "");
        std::string french = LanguageFilePath(LANGUAGE_FRENCH);
        each.spoil(french);
        EXPECT_EQ(LoadAllLanguageFiles(), 0);
        ASSERT_EQ(FakeMessageBoxes().size(), 1u);
        EXPECT_EQ(FakeMessageBoxes()[0].text, each.message);
        EXPECT_EQ(FakeMessageBoxes()[0].caption, "Parlyte");
        EXPECT_EQ(FakeMessageBoxes()[0].type, (UINT)MB_ICONERROR);
        EXPECT_EQ(FakeLastOpenedPath(), french) << "German and Italian are not opened";
        EXPECT_EQ(TableLines(), Lines{"A|a|-|-|-"});
        rmdir(french.c_str());
    }
}

TEST_F(LoaderTest, LockedFileAndMissingFolderGiveTheirOwnTexts) {
    WriteLanguageFiles(EncodeDecodedBytes("[A]a["), "", "", "");
    int holder = open(LanguageFilePath(LANGUAGE_ENGLISH).c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    EXPECT_EQ(LoadAllLanguageFiles(), 0);
    close(holder);
    lstrcatA(GameFolderPath, "nowhere\\");
    EXPECT_EQ(LoadAllLanguageFiles(), 0);
    ASSERT_EQ(FakeMessageBoxes().size(), 2u);
    EXPECT_EQ(FakeMessageBoxes()[0].text,
              "The process cannot access the file because it is being used by another process.\r\n");
    EXPECT_EQ(FakeMessageBoxes()[1].text, "The system cannot find the path specified.\r\n");
}

TEST_F(LoaderTest, GameFolderTooLongForAPathIsRefusedNotOverrun) {
    std::string longest(MAX_PATH - 1, 'x');
    lstrcpyA(GameFolderPath, (longest + "\\").c_str());
    EXPECT_EQ(LoadAllLanguageFiles(), 0);
    ASSERT_EQ(FakeMessageBoxes().size(), 1u);
    EXPECT_EQ(FakeMessageBoxes()[0].text, "The system cannot find the path specified.\r\n");
}

TEST_F(LoaderTest, ReadErrorEndsOnlyThatFile) {
    std::string english;
    for (int i = 0; i < 2000; ++i) english += "[K" + std::to_string(i) + "]text number " + std::to_string(i) + " of many";
    english += "[";
    WriteLanguageFiles(EncodeDecodedBytes(english), EncodeDecodedBytes("[F]f[K1]k1["), "", "");
    FakeFailRead(2);
    ASSERT_EQ(LoadAllLanguageFiles(), 1);
    Lines lines = TableLines();
    ASSERT_GT(lines.size(), 100u);
    ASSERT_LT(lines.size(), 2000u);
    size_t english_count = lines.size() - 1;
    for (size_t i = 0; i < english_count; ++i) {
        std::string n = std::to_string(i);
        EXPECT_EQ(lines[i], "K" + n + "|text number " + n + " of many|" + (i == 1 ? "k1" : "-") + "|-|-");
    }
    EXPECT_EQ(lines.back(), "F|-|f|-|-");
}

TEST_F(LoaderTest, LoadingAgainStartsAFreshTable) {
    LoadDecoded("[A]a[");
    TextTable first = TheTextTable;
    ASSERT_EQ(LoadAllLanguageFiles(), 1);
    EXPECT_EQ(TableLines(), Lines{"A|a|-|-|-"});
    EXPECT_NE(TheTextTable.head, first.head);
    FreeTextTable();
    TheTextTable = first;
}

TEST(TextTable, CopyText) {
    FakeReset();
    char *whole = CopyText("abc", -1);
    EXPECT_STREQ(whole, "abc");
    char *empty = CopyText("", -1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], '\0');
    FakeFailAllocation(1);
    EXPECT_EQ(CopyText("abc", 3), nullptr);
    LocalFree(whole);
    LocalFree(empty);
    EXPECT_EQ(FakeLiveAllocations(), 0);
}

} // namespace
