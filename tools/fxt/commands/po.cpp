// fxt po and fxt make --po: one language's texts handed to translators as
// a PO file, and the translations taken back into the game folder.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/files.h"
#include "tools/fxt/formats/translations.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

#include <map>
#include <stdint.h>
#include <stdio.h>

namespace {

// A file time in seconds since 1970.
int64_t SecondsSince1970(const FILETIME &time) {
    return (int64_t)((((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime) / 10000000) -
           11644473600LL;  // from 1601 to 1970
}

// The first keys of a list, for a message: "[A], [B], [C], [D], [E] and 7
// more". A key is written as fxt check writes it, so that the empty key
// shows too.
std::string FirstKeys(const std::vector<std::string> &keys) {
    const size_t named = 5;
    std::string list;
    for (size_t i = 0; i < keys.size() && i < named; ++i) list += (i ? ", " : "") + keys[i];
    return list + (keys.size() > named ? " and " + std::to_string(keys.size() - named) + " more" : "");
}

} // namespace

int Po(const Options &options, int language, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    FILETIME written;
    const std::string &dated = files.paths[options.asTemplate ? options.source : language];
    if (!LastWriteTime(dated, &written)) {
        Say(ShownPath(dated) + ": " + LastErrorText());
        return EXIT_FAILED;
    }
    const std::string &code = options.languageCode;
    PoRequest request = {language, options.source, options.asTemplate, code.empty() ? LanguageCodes[language] : code,
                         PoDate(SecondsSince1970(written))};
    // For a fan translation written over the language, the texts still
    // as that language had them are the work left: untranslated.
    bool fan = options.coding.fanPage->number != DEFAULT_CODE_PAGE ||
               (!code.empty() && LanguageOfName(code.substr(0, code.find_first_of("_-@."))) != language);
    std::map<std::string, std::string> replaced;
    std::string backup;
    if (fan && !options.asTemplate) {
        if (!ReplacedTexts(folder, language, true, &replaced, &backup)) return EXIT_FAILED;
        request.replaced = &replaced;
    }
    size_t refused;
    std::string po = FormatPo(rows, request, options.coding, &refused);
    if (refused)
        Say("msgfmt would refuse " + Counted(refused, "entry", "entries") +
            " of this file, whose msgid and msgstr differ in beginning or ending with a line feed; msgcat, "
            "translation editors and fxt make --po read them");
    return WriteUtf8(po) ? EXIT_DONE : EXIT_FAILED;
}

int MakeFromPo(const Options &options, int language, const std::string &poPath, const std::string &argument) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return EXIT_FAILED;
    }
    std::string content, error;
    if (!ReadWholeFile(poPath, &content, &error)) {
        Say(NamedPath(poPath) + ": " + error);
        return EXIT_FAILED;
    }
    PoFile po;
    Refusals refusals;
    ReadPo(content, PoReading{language, options.codePageGiven, options.coding.pages}, &po, &refusals);
    if (po.entries.empty()) {
        SayRefusals(poPath, refusals);
        if (!AnyRefused(refusals)) Say(NamedPath(poPath) + " holds no entry: is it a PO file of fxt po?");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    TextCoding coding = options.coding;
    coding.fanLanguage = language;
    coding.fanPage = &options.coding.pages[CodePageIndex(po.codePage)];
    coding.language = po.language;
    std::string named = NamedPath(poPath) + ": ";
    if (!po.codePageTaken.empty())
        Say(named + "its translations are read as " + CodePageName(po.codePage) + "'s letters, " + po.codePageTaken);
    if (po.commasBelow) Say(named + CommasBelowWarning(po.commasBelow));
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, WRITING, &folder, &files, &rows)) return EXIT_FAILED;
    TranslationsTaken taken;
    if (!TakeTranslations(po, language, coding, &rows, &taken, &refusals)) {
        SayRefusals(poPath, refusals);
        if (taken.unknownKeys)
            Say("the file may be for another version of the game: msgmerge it with a new fxt po --template of this "
                "folder to bring it up to date");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    const std::vector<std::string> &lineFeeds = taken.lineFeeds, &outdated = taken.outdated;
    bool one = lineFeeds.size() == 1;
    if (!lineFeeds.empty())
        Say(named + (one ? "1 translation differs from the text it replaces"
                         : std::to_string(lineFeeds.size()) + " translations differ from the texts they replace") +
            " in ending with a line feed: " + FirstKeys(lineFeeds) + "; an editor (Poedit) may have made " +
            (one ? "it end as its msgid does" : "them end as their msgid does"));
    one = outdated.size() == 1;
    if (!outdated.empty())
        Say(named + (one ? "1 translation is" : std::to_string(outdated.size()) + " translations are") + " of another " +
            LanguageNames[po.source] + " text than the folder's (the file is older than the text, or for another " +
            "version): " + FirstKeys(outdated) + "; " + (one ? "it is used all the same" : "they are used all the same"));
    if (taken.changed + taken.same == 0) Say(named + "no entry is translated: nothing changes");
    std::string output;
    if (!WriteRows(options, folder, rows, files, &output)) return EXIT_FAILED;
    output += FileNameOf(files.paths[language]) + ": " + std::to_string(taken.changed + taken.same) + " translated (" +
              std::to_string(taken.changed) + (options.dryRun ? " would change, " : " changed, ") +
              std::to_string(taken.same) + " the same already), " + std::to_string(taken.untranslated) +
              " still to do, " + std::to_string(taken.fuzzy) + " fuzzy" +
              (outdated.empty() ? "" : "; " + Counted(outdated.size(), "translation", "translations") + " of another " +
                                           LanguageNames[po.source] + " text") +
              "\n";
    return WriteUtf8(output) ? EXIT_DONE : EXIT_FAILED;
}
