// Byte-level decoding of language files.
#include "core_fixture.h"

namespace {

class DecoderTest : public CoreTest {
protected:
    // Eight raw bytes that decode to "[HEADER]", so that what follows is body.
    static std::string Header() {
        const char decoded[] = "[HEADER]";
        std::string raw;
        for (int i = 0; i < 8; ++i) raw += (char)(decoded[i] + HeaderKey[i]);
        return raw;
    }

    std::vector<int> DecodeAll(size_t atMost = 100000) {
        std::vector<int> values;
        for (int value; values.size() < atMost && (value = ReadDecodedChar()) != -1;) values.push_back(value);
        return values;
    }
};

TEST_F(DecoderTest, EmptyFileEndsAtOnceAndStaysEnded) {
    OpenReaderOn("");
    EXPECT_EQ(ReadDecodedChar(), -1);
    EXPECT_EQ(ReadDecodedChar(), -1);
    EXPECT_EQ(ReadRawByte(), -1);
}

TEST_F(DecoderTest, HeaderBytesDecodeByKeyOnlyEvenWhenTheyLookSpecial) {
    // Key value itself gives 0, one below wraps to 255; 1, 196 and 255 are
    // plain bytes in the header.
    std::string raw = {(char)57, (char)211, 1, (char)196, (char)255, 0, (char)10, (char)132};
    OpenReaderOn(raw + "\x02");
    std::vector<int> expected = {0, 255, (1 - 18) & 0xFF, (196 - 160) & 0xFF, (255 - 83) & 0xFF,
                                 (0 - 240) & 0xFF, (10 - 9) & 0xFF, 1, 1};
    EXPECT_EQ(DecodeAll(), expected);
    EXPECT_EQ(FakeDebugOutput(), "");
}

TEST_F(DecoderTest, BodyRules) {
    std::string body = {1, 11, 2, (char)196, 28, (char)196, 30, (char)196, (char)255, (char)255, 'b', 0, 'z'};
    OpenReaderOn(Header() + body);
    for (int i = 0; i < 8; ++i) ReadDecodedChar();
    EXPECT_EQ(ReadDecodedChar(), 10) << "raw 1 is a line feed";
    EXPECT_EQ(ReadDecodedChar(), 10) << "raw 11 shifts to a line feed";
    EXPECT_EQ(ReadDecodedChar(), 1);
    EXPECT_EQ(ReadDecodedChar(), '[') << "escaped bytes are not shifted";
    EXPECT_EQ(ReadDecodedChar(), ']');
    EXPECT_EQ(ReadDecodedChar() & 0xFF, 62) << "255 + 63, low eight bits";
    EXPECT_EQ(FakeDebugOutput(), "") << "an escaped 255 is not a mark";
    EXPECT_EQ(ReadDecodedChar(), 255);
    EXPECT_EQ(FakeDebugOutput(), "@");
    EXPECT_EQ(ReadDecodedChar(), 'a');
    EXPECT_EQ(ReadDecodedChar(), -1) << "raw 0 shifts to the end value";
    EXPECT_EQ(FakeDebugOutput(), "@") << "without a second mark";
    EXPECT_EQ(ReadDecodedChar(), 'y') << "the reader itself goes on";
}

TEST_F(DecoderTest, EscapeOf192EndsTheData) {
    OpenReaderOn(Header() + "\xC4\xC0");
    for (int i = 0; i < 8; ++i) ReadDecodedChar();
    EXPECT_EQ(ReadDecodedChar() & 0xFF, EndValue);
}

TEST_F(DecoderTest, EscapeAsLastByteEndsTheData) {
    OpenReaderOn(Header() + "b\xC4");
    for (int i = 0; i < 8; ++i) ReadDecodedChar();
    EXPECT_EQ(ReadDecodedChar(), 'a');
    EXPECT_EQ(ReadDecodedChar(), -1);
}

TEST_F(DecoderTest, FileOfOneWholeBlockIsReadOnceThenEnds) {
    std::string raw = Header() + std::string(LANGUAGE_FILE_BLOCK - 8, 'c');
    OpenReaderOn(raw);
    EXPECT_EQ(ReadRawByte(), (unsigned char)raw[0]);
    EXPECT_EQ(TheLanguageFileReader.fill, (DWORD)LANGUAGE_FILE_BLOCK);
    std::vector<int> values = DecodeAll();
    ASSERT_EQ(values.size(), (size_t)LANGUAGE_FILE_BLOCK - 1);
    EXPECT_EQ(values.back(), 'b');
    EXPECT_EQ(TheLanguageFileReader.fill, 0u) << "the read after the block found nothing";
    EXPECT_EQ(ReadDecodedChar(), -1);
}

TEST_F(DecoderTest, EscapeSplitAcrossBlocksTakesItsPartnerFromTheNextBlock) {
    std::string raw = Header() + std::string(LANGUAGE_FILE_BLOCK - 9, 'c') + "\xC4" + "\x1C" + "e";
    ASSERT_EQ(raw[LANGUAGE_FILE_BLOCK - 1], '\xC4');
    OpenReaderOn(raw);
    std::vector<int> values = DecodeAll();
    ASSERT_EQ(values.size(), (size_t)LANGUAGE_FILE_BLOCK + 1);
    EXPECT_EQ(values[LANGUAGE_FILE_BLOCK - 2], 'b');
    EXPECT_EQ(values[LANGUAGE_FILE_BLOCK - 1], '[');
    EXPECT_EQ(TheLanguageFileReader.fill, 0u);
}

TEST_F(DecoderTest, HeaderCountsRawBytesAcrossBlocksOfAnyLength) {
    // Three full blocks and a tail: every byte after the header decodes by
    // the body rules, whichever block it sits in.
    std::string raw = Header();
    for (size_t i = 8; i < 3 * LANGUAGE_FILE_BLOCK + 100; ++i) raw += (char)(2 + i % 190);
    OpenReaderOn(raw);
    std::vector<int> values = DecodeAll(raw.size() + 1);
    ASSERT_EQ(values.size(), raw.size());
    for (size_t i = 8; i < raw.size(); ++i)
        ASSERT_EQ(values[i], (int)(1 + i % 190)) << "at byte " << i;
}

} // namespace
