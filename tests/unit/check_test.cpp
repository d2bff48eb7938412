// fxt check: each kind of finding at its offset. That fxt stores what
// loading stores is the loader's fuzzer's check.
#include "core_fixture.h"

#include "tools/fxt/folder/folder_files.h"
#include "tools/fxt/formats/check.h"
#include "text/language_file_writer.h"
#include "tools/fxt/formats/rows.h"


namespace {

using Findings = std::vector<std::string>;

// Raw bytes of decoded characters that follow the header.
std::string BodyBytes(const std::string &decoded) {
    return EncodeDecodedBytes(std::string(8, 'x') + decoded).substr(8);
}

class CheckTest : public CoreTest {
protected:
    // The findings of one file as "offset: text".
    Findings FindingsOf(int index, const std::string &raw) {
        std::string files[LANGUAGE_COUNT];
        files[index] = raw;
        WriteLanguageFiles(files[0], files[1], files[2], files[3]);
        FolderFiles read;
        ReadFolderFiles(folder + "/", &read);
        EXPECT_TRUE(read.readable[index]);
        check = read.scans[index];
        Findings lines;
        for (const CheckFinding &finding : CheckFindings(check))
            lines.push_back(std::to_string(finding.offset) + ": " + finding.text);
        return lines;
    }

    ScannedFile check;  // the last one
};

// Where in the raw file the decoded data's first occurrence of needle begins.
std::string At(const std::string &decoded, const std::string &needle) {
    size_t found = decoded.find(needle);
    EXPECT_NE(found, std::string::npos) << needle;
    return std::to_string(EncodeDecodedBytes(decoded.substr(0, found)).size());
}

TEST_F(CheckTest, EachFindingAtTheOffsetOfItsEntry) {
    const std::string dup = "[A]one[B]two[A]three[C]c[";
    const std::string zeros = std::string("[A\0B]x[C]ab\0cd[C]again[", 23);
    const std::string emptyKey = "[A]x[]y[C]z[D]d[";
    struct Case {
        std::string decoded;
        Findings expected;
    };
    const std::vector<Case> cases = {
        {dup, {At(dup, "[A]three") + ": [A] occurs earlier in this file, at offset 0: this text is ignored"}},
        {"[A]one[B]two", {"6: [B] is the last entry and its text runs into the end of the data: it is not stored"}},
        {"[A]one[B]", {"6: [B] is the last entry and its text runs into the end of the data: it is not stored"}},
        {"[A]one[BC", {"6: [BC: the data ends inside this key: the entry is not stored"}},
        // After the header a decoded 0 takes two raw bytes, so the offsets
        // after it move on by one.
        {zeros,
         {"0: [A\\0B] holds a decoded 0 in its key: it is stored cut short, as [A]",
          "6: [C] holds a decoded 0 in its text: the text is stored cut short, after 2 characters",
          At(zeros, "[C]again") + ": [C] occurs earlier in this file, at offset 6: this text is ignored"}},
        {emptyKey, {At(emptyKey, "[]") + ": the empty key [] ends the data: 2 entries after it are ignored"}},
        {"[A]x[]y[C]z[", {"4: the empty key [] ends the data: 1 entry after it is ignored"}},
        {"[A]x[]", {}},
        {"[A]x[]trailing words, no entry", {}},
        {"x[A]one[B]two[", {"0: the data does not begin with '[': nothing of this file is loaded, and 2 entries in it "
                            "are ignored"}},
        {"no entries at all", {}},
        {"", {}},
        {"[A]one[B]two[", {}},
        {std::string("[\0]how make writes the empty key[A]a[", 37), {}},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.decoded);
        EXPECT_EQ(FindingsOf(LANGUAGE_ENGLISH, EncodeDecodedBytes(each.decoded)), each.expected);
    }
}

TEST_F(CheckTest, DataEndingBeforeTheEndOfTheFile) {
    // A raw 255 ends the data; what follows it is never read.
    std::string raw = EncodeDecodedBytes("[A]one[B]tw") + "\xFF" + BodyBytes("o[C]c[D]d[");
    EXPECT_EQ(FindingsOf(LANGUAGE_FRENCH, raw),
              Findings{"6: [B] is the last entry and its text runs into the end of the data: it is not stored; the "
                       "data ends at offset 11, before the end of the file, and 2 entries after it are not read"});
    raw = EncodeDecodedBytes("[A]one[BC") + '\0' + BodyBytes("D]d[");
    EXPECT_EQ(FindingsOf(LANGUAGE_GERMAN, raw),
              Findings{"6: [BC: the data ends inside this key: the entry is not stored; the data ends at offset 9, "
                       "before the end of the file"});
    raw = EncodeDecodedBytes("[A]one two[") + '\0' + BodyBytes("x[D]d[");
    EXPECT_EQ(FindingsOf(LANGUAGE_GERMAN, raw),
              Findings{"10: the data ends at offset 11, before the end of the file, and 1 entry after it is not read"});
    EXPECT_EQ(check.unreached, 1);
    // Loading would stop again at the empty key.
    raw = EncodeDecodedBytes("[A]one[B]tw") + '\0' + BodyBytes("o[C]c[][D]d[E]e[");
    EXPECT_EQ(FindingsOf(LANGUAGE_GERMAN, raw),
              Findings{"6: [B] is the last entry and its text runs into the end of the data: it is not stored; the "
                       "data ends at offset 11, before the end of the file, and 1 entry after it is not read"});
    EXPECT_EQ(check.unreached, 1);
}

TEST_F(CheckTest, OffsetsAcrossBlocksAndEscapes) {
    // The key "[" written as an escape, a text that crosses into the second
    // block, an escape split by the block boundary, and a repeated key after it.
    std::string raw = EncodeDecodedBytes("[A]abcdefgh") + "\xC4\x1C" + BodyBytes("K]");
    raw += BodyBytes(std::string(LANGUAGE_FILE_BLOCK - 1 - raw.size(), 't'));
    ASSERT_EQ(raw.size(), (size_t)LANGUAGE_FILE_BLOCK - 1);
    raw += "\xC4\x3B";  // a decoded "z" whose escape byte ends the first block
    size_t repeated = raw.size();
    raw += BodyBytes("[K]again[A]x[");
    EXPECT_EQ(FindingsOf(LANGUAGE_ITALIAN, raw),
              (Findings{std::to_string(repeated) + ": [K] occurs earlier in this file, at offset 11: this text is "
                                                   "ignored",
                        std::to_string(repeated + 8) + ": [A] occurs earlier in this file, at offset 0: this text is "
                                                       "ignored"}));
}

} // namespace
