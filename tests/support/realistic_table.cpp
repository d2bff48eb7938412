#include "realistic_table.h"

#include "tools/fxt/fxt_table.h"

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
    struct Row {
        std::string key;
        int first;
        std::string texts[TABLE_LANGUAGES];
        bool present[TABLE_LANGUAGES];
    };
    std::vector<Row> rows;
    for (int i = 0; i < keys; ++i) {
        Row row;
        row.key = std::string(KeyPrefixes[random() % 10]) + "_" + std::to_string(1000 + i);
        if (i == keys / 3) row.key = "Gang_Intro";
        if (i == keys / 3 + 1) row.key = "GANG_INTRO";
        // Most keys are in every file; some join in a later language, some
        // are missing from one.
        int chance = random() % 100;
        row.first = chance < 97 ? 0 : 1 + chance % 3;
        for (int language = 0; language < TABLE_LANGUAGES; ++language) {
            row.present[language] = language == row.first || (language > row.first && random() % 30 != 0);
            row.texts[language] = random() % 150 == 0 ? "" : Sentence(random, language);
        }
        rows.push_back(row);
    }
    // Loading lists keys by the first file that has them.
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.first < b.first; });
    std::string table = TableHeader;
    for (const Row &row : rows) {
        const char *texts[TABLE_LANGUAGES];
        for (int language = 0; language < TABLE_LANGUAGES; ++language)
            texts[language] = row.present[language] ? row.texts[language].c_str() : nullptr;
        table += FormatTableRow(row.key.c_str(), texts);
    }
    return table;
}
