// fxt: prints the merged table of a game folder's four language files,
// writes language files from such a table, tells what the files hold that
// never reaches the table, hands one language's texts to translators as a
// PO file and takes them back, puts the kept files back, and compares two
// folders. The same source on Windows and on Linux.
#include "commands.h"
#include "output.h"

#include "tools/fxt/platform/platform.h"

#include <new>
#include <stdio.h>
#include <stdlib.h>

namespace {

const char Usage[] =
    "usage: fxt dump [--ansi] [--codepage LANGUAGE=N] GAMEFOLDER\n"
    "                                  print GAMEFOLDER's four language files as one table\n"
    "       fxt make [--ansi] [--codepage LANGUAGE=N] [--remove-keys] [--dry-run] TABLE GAMEFOLDER\n"
    "                                  write GAMEFOLDER/GTADATA/*.FXT from TABLE (- for standard input);\n"
    "                                  keys the folder has and TABLE lacks are removed only with --remove-keys\n"
    "       fxt check [--ansi] [--codepage LANGUAGE=N] GAMEFOLDER\n"
    "                                  tell what the language files hold that does not reach the table\n"
    "       fxt po [--template] [--source LANGUAGE] [--language CODE] [--codepage N] LANGUAGE GAMEFOLDER\n"
    "                                  print a PO file of LANGUAGE's texts for translators, the msgid from\n"
    "                                  English or the source; a template has every msgstr empty; for a fan\n"
    "                                  translation (CODE, or N other than 1252) texts still as LANGUAGE's\n"
    "                                  backup has them are untranslated\n"
    "       fxt make --po [--codepage N] [--dry-run] LANGUAGE FILE.po GAMEFOLDER\n"
    "                                  write LANGUAGE's translated texts from FILE.po, keeping the rest\n"
    "       fxt restore [--dry-run] [LANGUAGE...] GAMEFOLDER\n"
    "                                  put back each NAME.bak, the file before the first make\n"
    "       fxt undo [--dry-run] GAMEFOLDER\n"
    "                                  put back each NAME.prev, the file before the last make, once\n"
    "       fxt diff [--ansi] [--codepage LANGUAGE=N] OLDFOLDER NEWFOLDER\n"
    "                                  print the texts that differ, language by language; exit 0 when none do\n"
    "       fxt missing [--ansi] [--codepage N] LANGUAGE GAMEFOLDER\n"
    "                                  print the keys whose LANGUAGE text is absent, or still as LANGUAGE's\n"
    "                                  backup has it: the work left of a fan translation written over it\n"
    "Tables are UTF-8; with --ansi they are the bytes the files hold. The game's four languages are the\n"
    "letters of Windows code page 1252; a fan translation written over one of them has those of code page\n"
    "N: --codepage Italian=1250 for its column, or --codepage N where the command names the language.\n"
    "N is 1250 (Central European), 1251 (Cyrillic), 1252 (Western European), 1253 (Greek), 1254 (Turkish)\n"
    "or 1257 (Baltic). make --po takes N from --codepage, else the file's X-Code-Page, else its Language\n"
    "(pl: 1250, ru: 1251, ...), else 1252. LANGUAGE is English, French, German or Italian, or en, fr, de,\n"
    "it. A make writes only the files it changes, keeping each file it replaces as NAME.prev and, the first\n"
    "time, as NAME.bak; with --dry-run it only tells what it would write. Each command first undoes an\n"
    "earlier fxt make of the folder that was interrupted.\n";

// A command's options, and the arguments that follow them.
struct Form {
    const char *command;
    const char *options;   // each between spaces
    const char *operands;  // as the usage names them
    size_t count;          // how many; restore takes more
};

const Form Forms[] = {
    {"dump", " --ansi --codepage ", "GAMEFOLDER", 1},
    {"make", " --ansi --codepage --remove-keys --dry-run --po ", "TABLE GAMEFOLDER", 2},
    {"make --po", " --codepage --dry-run --po ", "LANGUAGE FILE.po GAMEFOLDER", 3},
    {"check", " --ansi --codepage ", "GAMEFOLDER", 1},
    {"po", " --template --source --language --codepage ", "LANGUAGE GAMEFOLDER", 2},
    {"restore", " --dry-run ", "[LANGUAGE...] GAMEFOLDER", 1},
    {"undo", " --dry-run ", "GAMEFOLDER", 1},
    {"diff", " --ansi --codepage ", "OLDFOLDER NEWFOLDER", 2},
    {"missing", " --ansi --codepage ", "LANGUAGE GAMEFOLDER", 2},
};

const char LanguageHint[] =
    " is not one of the game's languages: give English, French, German or Italian (en, fr, de, it); a "
    "translation into another language is written over one of them";

// A command line read, or what is wrong with it.
struct CommandLine {
    const Form *form = nullptr;
    Options options;
    std::vector<std::string> operands;
    std::vector<int> languages;  // those the operands name
    std::string problem;
};

const Form *FindForm(const std::string &command) {
    for (const Form &form : Forms)
        if (command == form.command) return &form;
    return nullptr;
}

bool Takes(const Form &form, const std::string &option) {
    return std::string(form.options).find(" " + option + " ") != std::string::npos;
}

std::string CodePageList(void) {
    std::string list;
    for (int i = 0; i < CODE_PAGE_COUNT; ++i)
        list += std::string(i == 0 ? "" : i + 1 == CODE_PAGE_COUNT ? " or " : ", ") +
                std::to_string(CodePages[i].number) + " (" + CodePages[i].region + ")";
    return list;
}

// The code page of --codepage's value, N or LANGUAGE=N, or 0; and the
// language it names, or -1.
int CodePageOf(const std::string &value, int *language) {
    size_t equals = value.find('=');
    *language = equals == std::string::npos ? -1 : LanguageOfName(value.substr(0, equals));
    std::string number = equals == std::string::npos ? value : value.substr(equals + 1);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos ||
        (equals != std::string::npos && *language < 0))
        return 0;
    int page = atoi(number.c_str());
    return CodePageIndex(page) < 0 ? 0 : page;
}

// The options, right after the command word; "" or what is wrong.
std::string ReadOptions(const std::vector<std::string> &arguments, size_t *next, CommandLine *line) {
    bool ansi = false;
    for (; *next < arguments.size() && arguments[*next].compare(0, 2, "--") == 0; ++*next) {
        const std::string &option = arguments[*next];
        // --po makes another command of make, whose options are its own.
        if (option == "--po" && Takes(*line->form, option)) line->form = FindForm("make --po");
        if (!Takes(*line->form, option)) return option + " is not an option of fxt " + line->form->command;
        bool valued = option == "--source" || option == "--codepage" || option == "--language";
        if (valued && *next + 1 == arguments.size()) return option + " needs a value";
        const std::string &value = valued ? arguments[++*next] : option;
        if (option == "--ansi") ansi = true;
        else if (option == "--remove-keys") line->options.removeKeys = true;
        else if (option == "--template") line->options.asTemplate = true;
        else if (option == "--dry-run") line->options.dryRun = true;
        else if (option == "--source" && (line->options.source = LanguageOfName(value)) < 0) return value + LanguageHint;
        else if (option == "--language") line->options.languageCode = value;
        else if (option == "--codepage" && !(line->options.codePageGiven = CodePageOf(value, &line->options.codePageLanguage)))
            return value + " is not a code page fxt knows: give " + CodePageList() +
                   (value.find('=') != std::string::npos ? ", after English, French, German or Italian and =" : "");
    }
    for (size_t i = 1; i < *next; ++i)
        if (arguments[i].compare(0, 2, "--") == 0 && !Takes(*line->form, arguments[i]))
            return arguments[i] + " is not an option of fxt " + line->form->command;
    line->options.coding.encoding = ansi ? TABLE_ANSI : TABLE_UTF8;
    return "";
}

// The language a fan translation is written over, from --codepage and the
// language the command names; "" or what is wrong.
std::string FanTranslationProblem(CommandLine *line) {
    Options &options = line->options;
    std::string command = line->form->command;
    int named = command == "po" || command == "make --po" || command == "missing" ? line->languages[0] : -1;
    if (!options.codePageGiven) {
        options.coding.fanLanguage = named;
        return "";
    }
    if (named < 0 && options.codePageLanguage < 0)
        return std::string("the game's four languages are Windows-1252: give the language a fan translation is "
                           "written over with its code page, --codepage Italian=") +
               std::to_string(options.codePageGiven);
    if (named >= 0 && options.codePageLanguage >= 0 && options.codePageLanguage != named)
        return std::string("--codepage names ") + LanguageNames[options.codePageLanguage] + ", and fxt " + command +
               " " + LanguageNames[named] + ": give --codepage " + std::to_string(options.codePageGiven);
    options.coding.fanLanguage = named >= 0 ? named : options.codePageLanguage;
    return "";
}

// The arguments after the options, with the languages they name; "" or
// what is wrong.
std::string ReadOperands(const std::vector<std::string> &arguments, size_t next, CommandLine *line) {
    line->operands.assign(arguments.begin() + (long)next, arguments.end());
    std::string command = line->form->command;
    size_t given = line->operands.size(), wanted = line->form->count;
    for (const std::string &operand : line->operands)
        if (operand.compare(0, 2, "--") == 0 && operand.size() > 2)
            return operand + " comes after the arguments: options come right after the command word";
    if (given < wanted || (given > wanted && command != "restore"))
        return "fxt " + command + " takes " + line->form->operands + "; " +
               (given == 1 ? "1 argument was" : std::to_string(given) + " arguments were") + " given" +
               (given > wanted ? ": a path with spaces needs quotes (\"C:\\Program Files\\GTA\")" : "");
    bool named = command == "make --po" || command == "po" || command == "missing";
    size_t languages = named ? 1 : command == "restore" ? given - 1 : 0;
    for (size_t i = 0; i < languages; ++i) {
        line->languages.push_back(LanguageOfName(line->operands[i]));
        if (line->languages.back() < 0) return line->operands[i] + LanguageHint;
    }
    if (command == "po" && line->languages[0] == line->options.source)
        return std::string("the source language is the language itself (") + LanguageNames[line->options.source] +
               "): give another --source";
    return FanTranslationProblem(line);
}

CommandLine Read(const std::vector<std::string> &arguments) {
    CommandLine line;
    std::string command = arguments.empty() ? "" : arguments[0];
    line.form = FindForm(command);
    size_t next = 1;
    if (!line.form) line.problem = command.empty() ? "no command given" : command + " is not a command of fxt";
    else line.problem = ReadOptions(arguments, &next, &line);
    if (line.form && line.problem.empty()) line.problem = ReadOperands(arguments, next, &line);
    return line;
}

int Run(const CommandLine &line) {
    std::string command = line.form->command;
    const std::vector<std::string> &operands = line.operands;
    const Options &options = line.options;
    if (command == "dump") return Dump(options, operands[0]);
    if (command == "make") return Make(options, operands[0], operands[1]);
    if (command == "make --po") return MakeFromPo(options, line.languages[0], operands[1], operands[2]);
    if (command == "check") return Check(options, operands[0]);
    if (command == "po") return Po(options, line.languages[0], operands[1]);
    if (command == "restore") return Restore(options, line.languages, operands.back());
    if (command == "undo") return UndoLastMake(options, operands[0]);
    if (command == "diff") return Diff(options, operands[0], operands[1]);
    return Missing(options, line.languages[0], operands[1]);
}

} // namespace

int FxtMain(const std::vector<std::string> &arguments) {
    UseBinaryStandardStreams();
    FindNamesInAnyCaseBelow("");
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
        return WriteUtf8(Usage) ? EXIT_DONE : EXIT_FAILED;
    try {
        CommandLine line = Read(arguments);
        if (!line.problem.empty()) {
            Say(line.problem);
            fputs(Usage, stderr);
            return EXIT_USAGE;
        }
        // Every code page, so that a character can be told where it is.
        CodePage pages[CODE_PAGE_COUNT];
        for (int i = 0; i < CODE_PAGE_COUNT; ++i) {
            unsigned characters[256];
            if (ConvertedCharacters(CodePages[i].number, characters))
                MakeCodePage(CodePages[i].number, characters, &pages[i]);
        }
        // A fan translation's letters: of the page given, or of its language.
        Options &options = line.options;
        const FanLanguage *fan = FindFanLanguage(options.languageCode);
        int codePage = options.codePageGiven ? options.codePageGiven : fan ? fan->codePage : DEFAULT_CODE_PAGE;
        options.coding.pages = pages;
        options.coding.gamePage = options.coding.page = &pages[CodePageIndex(DEFAULT_CODE_PAGE)];
        options.coding.fanPage = &pages[CodePageIndex(codePage)];
        for (int number : {(int)DEFAULT_CODE_PAGE, codePage})
            if (pages[CodePageIndex(number)].number == 0) {
                Say("this system has no converter of " + CodePageName(number));
                return EXIT_FAILED;
            }
        return Run(line);
    } catch (const std::bad_alloc &) {
        // A make that ran out of memory has put the game folder back first.
        Say("out of memory");
        return EXIT_FAILED;
    }
}
