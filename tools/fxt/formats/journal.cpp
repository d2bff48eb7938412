// The journal's lines, the fields of each separated by tabs: the first
// says what the file is, then the make's identifier, the folders it made,
// whether the files it replaces are kept as NAME.prev or the NAME.prev put
// back go, one line per file it replaces with where the old bytes are
// copied and backed up ("-" for none) and the size and SHA-256 of the old
// and new bytes, one per NAME.prev it removes, "planned", the identity of
// each file the make writes, noted as soon as the file exists and before
// its bytes (so that one cut short by a kill is still known as the make's),
// and the later stages:
//
//     fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back
//     make	5f0c2a...
//     made	GTADATA
//     previous	kept
//     replace	ENGLISH.FXT	ENGLISH.FXT.old	ENGLISH.FXT.bak	20512	9f86d0...	20733	60303a...
//     replace	GERMAN.FXT	-	-	-	-	18004	2c26b4...
//     drop	FRENCH.FXT.prev	19200	5d41c2...
//     planned
//     file	ENGLISH.FXT.old	5a000000-a729bc
//     file	ENGLISH.FXT.bak	5a000000-a729bd
//     file	ENGLISH.FXT.new	5a000000-a729be
//     file	GERMAN.FXT.new	5a000000-a729bf
//     swapping
//     done
#include "journal.h"

#include <stdlib.h>

const char JournalName[] = "fxt-make.journal";
const char RejectedJournalName[] = "fxt-make.journal.rejected";

namespace {

const char Heading[] =
    "fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back";
const char *const StageWords[] = {"", "planned", "swapping", "done"};

std::vector<std::string> Fields(const std::string &line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::string SumFields(const FileSum &sum) {
    return sum.sha256.empty() ? "-\t-" : std::to_string(sum.size) + "\t" + sum.sha256;
}

bool IsHex(const std::string &text, size_t length) {
    return text.size() == length && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// A size and a checksum, or "-" for both.
bool ReadSum(const std::string &size, const std::string &sha, FileSum *sum) {
    if (size == "-" && sha == "-") return true;
    if (size.empty() || size.size() > 12 || size.find_first_not_of("0123456789") != std::string::npos) return false;
    sum->size = strtoull(size.c_str(), nullptr, 10);
    sum->sha256 = sha;
    return IsHex(sha, 64);
}

// Only names in GTADATA itself.
bool IsPlainName(const std::string &name) {
    return !name.empty() && name.size() < 64 && name.find_first_of("/\\:") == std::string::npos && name != "." &&
           name != "..";
}

int Refuse(std::string *problem, const std::string &what) {
    *problem = what;
    return 0;
}

} // namespace

std::string CopyName(const JournalFile &file) {
    return file.name + ".old";
}

std::string BackupName(const JournalFile &file) {
    return file.name + ".bak";
}

std::string PreviousName(const std::string &name) {
    return name + ".prev";
}

std::string JournalPlanText(const Journal &journal) {
    std::string text = std::string(Heading) + "\nmake\t" + journal.make + "\n";
    if (journal.madeGameFolder) text += "made\tgame folder\n";
    if (journal.madeDataFolder) text += "made\tGTADATA\n";
    text += journal.keepsPrevious ? "previous\tkept\n" : "previous\tput back\n";
    for (const JournalFile &file : journal.files)
        text += "replace\t" + file.name + "\t" + (file.hasOld ? CopyName(file) : "-") + "\t" +
                (file.newBackup ? BackupName(file) : "-") + "\t" + SumFields(file.oldSum) + "\t" +
                SumFields(file.newSum) + "\n";
    for (const JournalDrop &drop : journal.drops) text += "drop\t" + drop.name + "\t" + SumFields(drop.sum) + "\n";
    return text + StageWords[JOURNAL_PLANNED] + "\n";
}

std::string JournalFileText(const std::string &name, const std::string &identity) {
    return "file\t" + name + "\t" + identity + "\n";
}

std::string JournalSwappingText(void) {
    return std::string(StageWords[JOURNAL_SWAPPING]) + "\n";
}

std::string JournalDoneText(void) {
    return std::string(StageWords[JOURNAL_DONE]) + "\n";
}

int ParseJournal(const std::string &text, Journal *journal, JournalStage *stage, std::string *problem) {
    *journal = Journal();
    *stage = JOURNAL_PLANNING;
    // Only whole lines count: a journal cut short in its writing is still
    // being planned, and a plan cut short has changed nothing.
    size_t start = 0, end;
    for (size_t number = 0; (end = text.find('\n', start)) != std::string::npos; ++number, start = end + 1) {
        std::string line = text.substr(start, end - start);
        std::vector<std::string> fields = Fields(line);
        if (number == 0) {
            if (line != Heading) return Refuse(problem, "its first line is not a journal's");
        } else if (number == 1) {
            if (fields.size() != 2 || fields[0] != "make" || !IsHex(fields[1], 32))
                return Refuse(problem, "it names no make");
            journal->make = fields[1];
        } else if (*stage < JOURNAL_DONE && line == StageWords[*stage + 1]) {
            *stage = (JournalStage)(*stage + 1);
        } else if (*stage == JOURNAL_PLANNING && line == "made\tgame folder") {
            journal->madeGameFolder = true;
        } else if (*stage == JOURNAL_PLANNING && line == "made\tGTADATA") {
            journal->madeDataFolder = true;
        } else if (*stage == JOURNAL_PLANNING && (line == "previous\tkept" || line == "previous\tput back") &&
                   number == (size_t)(2 + journal->madeGameFolder + journal->madeDataFolder)) {
            journal->keepsPrevious = line == "previous\tkept";
        } else if (*stage == JOURNAL_PLANNING && fields.size() == 8 && fields[0] == "replace") {
            JournalFile file;
            file.name = fields[1];
            file.hasOld = fields[2] == CopyName(file);
            file.newBackup = fields[3] == BackupName(file);
            if (!IsPlainName(file.name) || (!file.hasOld && fields[2] != "-") || (!file.newBackup && fields[3] != "-") ||
                (file.newBackup && !file.hasOld) || !ReadSum(fields[4], fields[5], &file.oldSum) ||
                !ReadSum(fields[6], fields[7], &file.newSum) || file.newSum.sha256.empty() ||
                file.hasOld == file.oldSum.sha256.empty())
                return Refuse(problem, "line " + std::to_string(number + 1) + " is not a file's plan");
            journal->files.push_back(file);
        } else if (*stage == JOURNAL_PLANNING && fields.size() == 4 && fields[0] == "drop") {
            JournalDrop drop;
            drop.name = fields[1];
            if (!IsPlainName(drop.name) || !ReadSum(fields[2], fields[3], &drop.sum) || drop.sum.sha256.empty())
                return Refuse(problem, "line " + std::to_string(number + 1) + " is not a file's plan");
            journal->drops.push_back(drop);
        } else if (*stage == JOURNAL_PLANNED && fields.size() == 3 && fields[0] == "file") {
            bool known = false;
            for (JournalFile &file : journal->files) {
                std::string *identity = fields[1] == file.name + ".new"                  ? &file.newIdentity
                                        : file.hasOld && fields[1] == CopyName(file)      ? &file.copyIdentity
                                        : file.newBackup && fields[1] == BackupName(file) ? &file.backupIdentity
                                                                                          : nullptr;
                if (!identity || !identity->empty() || fields[2].empty() || fields[2].size() > 40) continue;
                *identity = fields[2];
                known = true;
            }
            if (!known) return Refuse(problem, "line " + std::to_string(number + 1) + " names no file of the plan");
        } else {
            return Refuse(problem, "line " + std::to_string(number + 1) + " is not a journal's");
        }
    }
    // Cut short in its first line, it is a journal if that is how it began.
    if (start == 0 && std::string(Heading).compare(0, text.size(), text) != 0)
        return Refuse(problem, "its first line is not a journal's");
    return 1;
}
