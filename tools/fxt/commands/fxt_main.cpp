// fxt: prints the merged table of a game folder's four language files,
// writes language files from such a table, tells what the files hold that
// never reaches the table, hands one language's texts to translators as a
// PO file and takes them back, and puts the backups back. The same source
// on Windows and on Linux.
#include "commands.h"
#include "output.h"

#include "tools/fxt/platform/platform.h"

#include <algorithm>
#include <new>
#include <stdio.h>
#include <vector>

namespace {

const char Usage[] =
    "usage: fxt dump [--ansi] GAMEFOLDER        print GAMEFOLDER's four language files as one table\n"
    "       fxt make [--ansi] [--remove-keys] TABLE GAMEFOLDER\n"
    "                                           write GAMEFOLDER/GTADATA/*.FXT from TABLE (- for standard input),\n"
    "                                           keeping each file replaced the first time as NAME.bak; keys the\n"
    "                                           folder has and TABLE lacks are removed only with --remove-keys\n"
    "       fxt check [--ansi] GAMEFOLDER       tell what the language files hold that does not reach the table\n"
    "       fxt po [--template] [--source LANGUAGE] LANGUAGE GAMEFOLDER\n"
    "                                           print a PO file of LANGUAGE's texts for translators, the msgid\n"
    "                                           from English or the source; a template has every msgstr empty\n"
    "       fxt make --po LANGUAGE FILE.po GAMEFOLDER\n"
    "                                           write LANGUAGE's translated texts from FILE.po, keeping the rest\n"
    "       fxt restore GAMEFOLDER              put each NAME.bak back in place of its language file\n"
    "Tables are UTF-8; with --ansi they are the bytes the files hold (Windows-1252). LANGUAGE is English,\n"
    "French, German or Italian, or en, fr, de, it. A make writes only the files it changes. Each command\n"
    "first undoes an earlier fxt make of the folder that was interrupted.\n";

// fxt COMMAND [OPTIONS] ARGUMENTS...: the options come right after the
// command word.
int Run(const std::vector<std::string> &arguments) {
    std::string command = arguments.empty() ? "" : arguments[0];
    if (arguments.size() == 1 && (command == "--help" || command == "-h"))
        return WriteOut(Usage, TABLE_ANSI) ? EXIT_DONE : EXIT_FAILED;
    bool ansi = false, removeKeys = false, po = false, asTemplate = false, known = true;
    int source = LANGUAGE_ENGLISH;
    size_t first = 1;
    for (; known && first < arguments.size() && arguments[first].compare(0, 2, "--") == 0; ++first) {
        const std::string &option = arguments[first];
        if (option == "--ansi" && command != "po" && command != "restore") ansi = true;
        else if (option == "--remove-keys" && command == "make") removeKeys = true;
        else if (option == "--po" && command == "make") po = true;
        else if (option == "--template" && command == "po") asTemplate = true;
        else if (option == "--source" && command == "po" && first + 1 < arguments.size())
            known = (source = LanguageOfName(arguments[++first])) >= 0;
        else known = false;
    }
    TableEncoding encoding = ansi ? TABLE_ANSI : TABLE_UTF8;
    std::vector<std::string> operands(arguments.begin() + std::min(first, arguments.size()), arguments.end());
    int language = operands.empty() ? -1 : LanguageOfName(operands[0]);
    known = known && !(po && (ansi || removeKeys));
    if (known && command == "dump" && operands.size() == 1) return Dump(operands[0], encoding);
    if (known && command == "make" && !po && operands.size() == 2) return Make(operands[0], operands[1], encoding, removeKeys);
    if (known && command == "make" && po && operands.size() == 3 && language >= 0)
        return MakeFromPo(language, operands[1], operands[2]);
    if (known && command == "check" && operands.size() == 1) return Check(operands[0], encoding);
    if (known && command == "po" && operands.size() == 2 && language >= 0 && language != source)
        return Po(PoRequest{language, source, asTemplate, ""}, operands[1]);
    if (known && command == "restore" && operands.size() == 1) return Restore(operands[0]);
    fputs(Usage, stderr);
    return EXIT_USAGE;
}

} // namespace

int main(int argc, char **argv) {
    UseBinaryStandardStreams();
    FindNamesInAnyCaseBelow("");
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc &) {
        // A make that ran out of memory has put the game folder back first.
        Say("out of memory");
        return EXIT_FAILED;
    }
}
