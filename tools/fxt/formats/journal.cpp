// The journal's lines, the fields of each separated by tabs, the last of
// them its signature: the first line says what the file is, then come the
// make's identifier, the folders it made, whether the files it replaces
// are kept as NAME.prev or the NAME.prev put back go, one line per file it
// replaces with where the old bytes are copied and backed up ("-" for none)
// and the size and SHA-256 of the old and new bytes, one per NAME.prev it
// removes with its size, SHA-256 and identity, "planned", the identity of
// each file the make writes, noted as soon as the file exists and before
// its bytes (so that one cut short by a kill is still known as the make's),
// and the later stages:
//
//     fxt make journal: while this file is here the make is unfinished; any fxt command puts the folder back	3b1f...
//     make	5f0c2a...	90d2...
//     made	GTADATA	1c4e...
//     previous	kept	77a0...
//     replace	ENGLISH.FXT	ENGLISH.FXT.old	ENGLISH.FXT.bak	20512	9f86d0...	20733	60303a...	e4b1...
//     replace	GERMAN.FXT	-	-	-	-	18004	2c26b4...	0a9c...
//     drop	FRENCH.FXT.prev	19200	5d41c2...	5a000000-a729b0	f3d2...
//     planned	8e41...
//     file	ENGLISH.FXT.old	5a000000-a729bc	6d0f...
//     file	ENGLISH.FXT.bak.new	5a000000-a729bd	c2a8...
//     file	ENGLISH.FXT.new	5a000000-a729be	59b7...
//     file	GERMAN.FXT.new	5a000000-a729bf	1f08...
//     swapping	a3c5...
//     done	40e9...
//
// A line's signature is the HMAC-SHA256, by the user's secret, of the
// GTADATA folder's identity and of every byte of the journal before the
// signature: no line can be added, changed, removed or moved to another
// folder without the secret.
#include "journal.h"

#include "sha256.h"

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

bool IsIdentity(const std::string &text) {
    return !text.empty() && text.size() <= 40;
}

std::string Signature(const std::string &signedText, const JournalSeal &seal) {
    return HmacSha256(seal.key, "fxt make journal of " + seal.folder + "\n" + signedText);
}

// The lines of the plan, each with the fields after its word; the stage at
// which it may stand; and what it adds to the journal, or false.
struct LineKind {
    const char *word;
    size_t fields;
    JournalStage stage;
    bool (*read)(const std::vector<std::string> &fields, Journal *journal);
};

bool ReadMade(const std::vector<std::string> &fields, Journal *journal) {
    bool *made = fields[1] == "game folder" ? &journal->madeGameFolder
                 : fields[1] == "GTADATA"   ? &journal->madeDataFolder
                                            : nullptr;
    if (!made || *made || !journal->files.empty()) return false;
    return *made = true;
}

bool ReadPrevious(const std::vector<std::string> &fields, Journal *journal) {
    journal->keepsPrevious = fields[1] == "kept";
    return (journal->keepsPrevious || fields[1] == "put back") && journal->files.empty();
}

bool ReadReplace(const std::vector<std::string> &fields, Journal *journal) {
    JournalFile file;
    file.name = fields[1];
    file.hasOld = fields[2] == CopyName(file);
    file.newBackup = fields[3] == BackupName(file);
    journal->files.push_back(file);
    return IsPlainName(file.name) && (file.hasOld || fields[2] == "-") && (file.newBackup || fields[3] == "-") &&
           (file.hasOld || !file.newBackup) && ReadSum(fields[4], fields[5], &journal->files.back().oldSum) &&
           ReadSum(fields[6], fields[7], &journal->files.back().newSum) &&
           !journal->files.back().newSum.sha256.empty() && file.hasOld != journal->files.back().oldSum.sha256.empty();
}

bool ReadDrop(const std::vector<std::string> &fields, Journal *journal) {
    JournalDrop drop;
    drop.name = fields[1];
    drop.identity = fields[4];
    journal->drops.push_back(drop);
    return IsPlainName(drop.name) && ReadSum(fields[2], fields[3], &journal->drops.back().sum) &&
           !journal->drops.back().sum.sha256.empty() && IsIdentity(drop.identity);
}

// A file the make wrote, each once, by the name it has while it is written.
bool ReadFileIdentity(const std::vector<std::string> &fields, Journal *journal) {
    for (JournalFile &file : journal->files) {
        std::string *identity = fields[1] == file.name + ".new"                      ? &file.newIdentity
                                : file.hasOld && fields[1] == CopyName(file)         ? &file.copyIdentity
                                : file.newBackup && fields[1] == NewBackupName(file) ? &file.backupIdentity
                                                                                     : nullptr;
        if (!identity) continue;
        if (!identity->empty() || !IsIdentity(fields[2])) return false;
        *identity = fields[2];
        return true;
    }
    return false;
}

const LineKind LineKinds[] = {
    {"made", 2, JOURNAL_PLANNING, ReadMade},
    {"previous", 2, JOURNAL_PLANNING, ReadPrevious},
    {"replace", 8, JOURNAL_PLANNING, ReadReplace},
    {"drop", 5, JOURNAL_PLANNING, ReadDrop},
    {"file", 3, JOURNAL_PLANNED, ReadFileIdentity},
};

// One line of the journal after its first two: a stage reached, or a line
// of the plan where its stage allows it.
bool ReadLine(const std::vector<std::string> &fields, Journal *journal, JournalStage *stage) {
    if (*stage < JOURNAL_DONE && fields.size() == 1 && fields[0] == StageWords[*stage + 1]) {
        *stage = (JournalStage)(*stage + 1);
        // A whole plan replaces a file.
        return *stage != JOURNAL_PLANNED || !journal->files.empty();
    }
    for (const LineKind &kind : LineKinds)
        if (fields[0] == kind.word)
            return fields.size() == kind.fields && *stage == kind.stage && kind.read(fields, journal);
    return false;
}

JournalProblem Refuse(std::string *problem, const std::string &what) {
    *problem = what;
    return JOURNAL_MALFORMED;
}

} // namespace

std::string RejectedJournalNameOf(int number) {
    return number <= 1 ? RejectedJournalName : RejectedJournalName + ("-" + std::to_string(number));
}

std::string CopyName(const JournalFile &file) {
    return file.name + ".old";
}

std::string BackupName(const JournalFile &file) {
    return file.name + ".bak";
}

std::string NewBackupName(const JournalFile &file) {
    return BackupName(file) + ".new";
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
    for (const JournalDrop &drop : journal.drops)
        text += "drop\t" + drop.name + "\t" + SumFields(drop.sum) + "\t" + drop.identity + "\n";
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

std::string SignedJournalLines(const std::string &written, const std::string &lines, const JournalSeal &seal) {
    std::string text = written;
    for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1) {
        text += lines.substr(start, end - start) + "\t";
        text += Signature(text, seal) + "\n";
    }
    return text.substr(written.size());
}

JournalProblem ParseJournal(const std::string &text, const JournalSeal &seal, Journal *journal, JournalStage *stage,
                            std::string *problem) {
    *journal = Journal();
    *stage = JOURNAL_PLANNING;
    size_t start = 0, end;
    for (size_t number = 0; (end = text.find('\n', start)) != std::string::npos; ++number, start = end + 1) {
        size_t tab = text.rfind('\t', end);
        if (tab == std::string::npos || tab < start || Signature(text.substr(0, tab + 1), seal) != text.substr(tab + 1, end - tab - 1))
            return JOURNAL_FOREIGN;
        std::string line = text.substr(start, tab - start);
        std::vector<std::string> fields = Fields(line);
        if (number == 0) {
            if (line != Heading) return Refuse(problem, "its first line is not a journal's");
        } else if (number == 1) {
            if (fields.size() != 2 || fields[0] != "make" || !IsHex(fields[1], 32)) return Refuse(problem, "it names no make");
            journal->make = fields[1];
        } else if (!ReadLine(fields, journal, stage)) {
            return Refuse(problem, "line " + std::to_string(number + 1) + " is not a journal's");
        }
    }
    // Empty, it is the journal of a make killed before it wrote its plan,
    // which changed nothing: it says nothing to act on.
    if (start == 0 && !text.empty()) return Refuse(problem, "it holds no whole line");
    return JOURNAL_READ;
}
