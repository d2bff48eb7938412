// The journal's lines: the first says what the file is, then the folders the
// make made, one line per file it replaces with where the old bytes are
// ("-" for none), and a line for each stage reached:
//
//     fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back
//     made	GTADATA
//     replace	ENGLISH.FXT	ENGLISH.FXT.bak
//     replace	FRENCH.FXT	FRENCH.FXT.old
//     replace	GERMAN.FXT	-
//     planned
//     swapping
#include "journal.h"

const char JournalName[] = "fxt-make.journal";

namespace {

const char Heading[] =
    "fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back";
const char GameFolderLine[] = "made\tgame folder";
const char DataFolderLine[] = "made\tGTADATA";
const char *const StageWords[] = {"", "planned", "swapping", "done"};

std::string OldBytesName(const JournalFile &file) {
    return file.old == IN_NEW_BACKUP ? file.name + ".bak" : file.old == IN_UNDO_COPY ? file.name + ".old" : "-";
}

} // namespace

std::string JournalText(const Journal &journal) {
    std::string text = std::string(Heading) + "\n";
    if (journal.madeGameFolder) text += std::string(GameFolderLine) + "\n";
    if (journal.madeDataFolder) text += std::string(DataFolderLine) + "\n";
    for (const JournalFile &file : journal.files) text += "replace\t" + file.name + "\t" + OldBytesName(file) + "\n";
    return text + JournalStageLine(JOURNAL_PLANNED);
}

std::string JournalStageLine(JournalStage stage) {
    return std::string(StageWords[stage]) + "\n";
}

int ParseJournal(const std::string &text, Journal *journal, JournalStage *stage) {
    *journal = Journal();
    *stage = JOURNAL_PLANNING;
    // Only whole lines count: a journal cut short in its writing is still
    // being planned.
    size_t start = 0, end;
    for (size_t number = 0; (end = text.find('\n', start)) != std::string::npos; ++number, start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (number == 0) {
            if (line != Heading) return 0;
            continue;
        }
        if (*stage < JOURNAL_DONE && line == StageWords[*stage + 1]) {
            *stage = (JournalStage)(*stage + 1);
        } else if (*stage != JOURNAL_PLANNING) {
            return 0;
        } else if (line == GameFolderLine) {
            journal->madeGameFolder = true;
        } else if (line == DataFolderLine) {
            journal->madeDataFolder = true;
        } else {
            size_t name = line.find('\t'), old = line.find('\t', name + 1);
            if (name == std::string::npos || old == std::string::npos || line.compare(0, name, "replace") != 0) return 0;
            JournalFile file = {line.substr(name + 1, old - name - 1), NO_OLD_FILE};
            // Only names in GTADATA itself.
            if (file.name.empty() || file.name.find_first_of("/\\:") != std::string::npos) return 0;
            std::string kept = line.substr(old + 1);
            file.old = kept == file.name + ".bak" ? IN_NEW_BACKUP : kept == file.name + ".old" ? IN_UNDO_COPY : NO_OLD_FILE;
            if (file.old == NO_OLD_FILE && kept != "-") return 0;
            journal->files.push_back(file);
        }
    }
    // Cut short in its first line, it is a journal if that is how it began.
    return start > 0 || std::string(Heading).compare(0, text.size(), text) == 0;
}
