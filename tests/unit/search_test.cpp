// Finding a text in the table: where each kind of search lands. That it
// answers as the plain search of the reference does is the search fuzzer's
// check.
#include "core_fixture.h"

#include "text/language_file_writer.h"

namespace {

class SearchTest : public CoreTest {
protected:
    // Loads files holding these entries per language.
    void Load(const std::vector<std::pair<std::string, std::string>> (&files)[LANGUAGE_COUNT]) {
        WriteLanguageFiles(EncodeLanguageFile(files[0]), EncodeLanguageFile(files[1]), EncodeLanguageFile(files[2]),
                           EncodeLanguageFile(files[3]));
        ASSERT_EQ(LoadAllLanguageFiles(), 1);
    }
};

// "position language offset", or "none".
std::string Found(const char *text, int matchCase, int from, int backwards) {
    TextMatch match;
    if (!FindTextInTable(text, matchCase, from, backwards, &match)) return "none";
    return std::to_string(match.position) + " " + std::to_string(match.language) + " " + std::to_string(match.offset);
}

TEST_F(SearchTest, WhereEachSearchLands) {
    Load({{{"WELCOME", "Welcome to Harbour City!"}, {"KF_1", "Kill Frenzy!"}, {"CAR_THEFT", "Steal the car\nthen the docks"}},
          {{"WELCOME", "Bienvenue \xE0 Harbour City !"}, {"KF_1", "Tuerie !"}, {"ETE", "\xC9lan de l'\xE9t\xE9"}},
          {{"WELCOME", "Willkommen in Harbour City!"}, {"KF_1", "Amoklauf! Gro\xDF"}, {"SK", "\x8A" "koda"}},
          {{"KF_1", "Strage! \x9F"}, {"CAR_THEFT", "Ruba"}}});
    // The table: 0 WELCOME, 1 KF_1, 2 CAR_THEFT, 3 ETE, 4 SK.
    struct Case {
        const char *text;
        int matchCase, from, backwards;
        const char *found;
    };
    const Case cases[] = {
        {"frenzy", 0, -1, 0, "1 0 5"},        // English, any case
        {"Frenzy", 1, -1, 0, "1 0 5"},        // Match case
        {"frenzy", 1, -1, 0, "none"},         //
        {"tuerie", 0, -1, 0, "1 1 0"},        // French only
        {"AMOKLAUF", 0, -1, 0, "1 2 0"},      // German only
        {"strage", 0, -1, 0, "1 3 0"},        // Italian only
        {"car_t", 0, -1, 0, "2 -1 0"},        // the key only
        {"the docks", 0, -1, 0, "2 0 19"},    // on a text's second line
        {"r\nthen", 0, -1, 0, "2 0 12"},      // a line feed is a character
        {"\xE9LAN", 0, -1, 0, "3 1 0"},       // é finds É
        {"elan", 0, -1, 0, "none"},           // but e does not
        {"\xC9t\xC9", 0, -1, 0, "3 1 10"},    // nor É é
        {"\x9Akoda", 0, -1, 0, "4 2 0"},      // š finds Š
        {"\xFF", 0, -1, 0, "1 3 8"},          // ÿ finds Ÿ
        {"GROSS", 0, -1, 0, "none"},          // ß has no capital here
        {"harbour", 0, -1, 0, "0 0 11"},      // from no selection: the first key
        {"harbour", 0, 0, 0, "0 0 11"},       // round to the selected key itself
        {"city", 0, 1, 0, "0 0 19"},          // round past the last key
        {"city", 0, -1, 1, "0 0 19"},         // backwards from no selection: the last key first
        {"i", 0, 3, 1, "1 0 1"},              // backwards from the selected key
        {"Ruba", 0, 2, 1, "2 3 0"},           // round past the first key, back to the selected one
        {"N/A", 0, -1, 0, "none"},            // absent texts are no texts
        {"", 0, -1, 0, "none"},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(std::string(each.text) + (each.matchCase ? " matching case" : "") + " from " +
                     std::to_string(each.from) + (each.backwards ? " backwards" : ""));
        EXPECT_EQ(Found(each.text, each.matchCase, each.from, each.backwards), each.found);
    }
}

} // namespace
