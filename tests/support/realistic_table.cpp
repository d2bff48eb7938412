#include "realistic_table.h"

#include "tools/fxt/formats/table.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

const char *const KeyPrefixes[] = {"MIS", "HLP", "CAR", "GNG", "TXT", "BRF", "PAG", "OBJ", "ZN", "RAD"};

// Words of each language; the accented ones in Windows-1252.
const char *const Words[4][16] = {
    {"the", "car", "mission", "police", "street", "money", "boss", "drive", "bridge", "harbour", "quickly",
     "bonus", "wanted", "hotel", "keys", "yard"},
    {"la", "voiture", "mission", "police", "rue", "argent", "patron", "\xE9t\xE9", "pont", "port",
     "vite", "pr\xEAt", "recherch\xE9", "h\xF4tel", "cl\xE9s", "gar\xE7on"},
    {"das", "Auto", "Auftrag", "Polizei", "Stra\xDF" "e", "Geld", "Boss", "fahren", "Br\xFC" "cke", "Hafen",
     "schnell", "gr\xF6\xDF" "er", "gesucht", "Hotel", "Schl\xFC" "ssel", "M\xFC" "nze"},
    {"la", "macchina", "missione", "polizia", "strada", "soldi", "capo", "citt\xE0", "ponte", "porto", "pi\xF9",
     "perch\xE9", "ricercato", "albergo", "chiavi", "cos\xEC"},
};

std::string Sentence(std::mt19937 &random, int language) {
    size_t length = 5 + random() % 196;
    std::string text;
    while (text.size() < length) {
        if (!text.empty()) text += random() % 25 == 0 ? '\n' : ' ';
        text += Words[language][random() % 16];
    }
    text.resize(length);
    if (text.back() == ' ' || text.back() == '\n') text.back() = '.';
    return text;
}

} // namespace

std::string RealisticTable(int keys, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<TableRow> rows;
    for (int i = 0; i < keys; ++i) {
        TableRow row;
        row.key = std::string(KeyPrefixes[random() % 10]) + "_" + std::to_string(1000 + i);
        if (i == keys / 3) row.key = "Gang_Intro";
        if (i == keys / 3 + 1) row.key = "GANG_INTRO";
        // Most keys are in every file; some join in a later language, some
        // are missing from one.
        int chance = random() % 100;
        int first = chance < 97 ? 0 : 1 + chance % 3;
        for (int language = 0; language < LANGUAGE_COUNT; ++language) {
            bool present = language == first || (language > first && random() % 30 != 0);
            std::string text = random() % 150 == 0 ? "" : Sentence(random, language);
            if (present) row.texts[language] = text;
        }
        rows.push_back(row);
    }
    // Loading lists keys by the first file that has them.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TableRow &a, const TableRow &b) { return FirstLanguage(a) < FirstLanguage(b); });
    std::string table = TableHeader;
    for (const TableRow &row : rows) table += FormatTableRow(row);
    return table;
}
