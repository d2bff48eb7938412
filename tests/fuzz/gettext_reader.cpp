#include "gettext_reader.h"

#include <gettext-po.h>
#include <iconv.h>

#include <algorithm>
#include <fstream>
#include <stdlib.h>
#include <strings.h>
#include <tuple>
#include <unistd.h>

namespace {

int gettextErrors;

void CountProblem(int severity, po_message_t, const char *, size_t, size_t, int, const char *) {
    gettextErrors += severity != PO_SEVERITY_WARNING;
}

void CountProblems(int severity, po_message_t, const char *, size_t, size_t, int, const char *, po_message_t,
                   const char *, size_t, size_t, int, const char *) {
    gettextErrors += severity != PO_SEVERITY_WARNING;
}

const struct po_xerror_handler Handler = {CountProblem, CountProblems};

std::string Text(const char *text) {
    return text ? text : "";
}

auto Fields(const GettextMessage &message) {
    return std::tie(message.hasContext, message.context, message.id, message.text, message.plural, message.fuzzy,
                    message.obsolete);
}

} // namespace

bool operator<(const GettextMessage &left, const GettextMessage &right) {
    return Fields(left) < Fields(right);
}

bool operator==(const GettextMessage &left, const GettextMessage &right) {
    return Fields(left) == Fields(right);
}

bool GettextReads(const std::string &content, std::vector<GettextMessage> *messages) {
    static const std::string path = [] {
        const char *base = getenv("TMPDIR");
        return std::string(base && *base ? base : "/tmp") + "/parlyte-gettext-" + std::to_string(getpid()) + ".po";
    }();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    gettextErrors = 0;
    po_file_t file = po_file_read(path.c_str(), &Handler);
    messages->clear();
    if (!file) return false;
    for (const char *const *domain = po_file_domains(file); *domain; ++domain) {
        po_message_iterator_t iterator = po_message_iterator(file, *domain);
        while (po_message_t message = po_next_message(iterator)) {
            bool plural = po_message_msgid_plural(message) != nullptr;
            messages->push_back(GettextMessage{po_message_msgctxt(message) != nullptr, Text(po_message_msgctxt(message)),
                                               Text(po_message_msgid(message)),
                                               Text(plural ? po_message_msgstr_plural(message, 0) : po_message_msgstr(message)),
                                               plural, po_message_is_fuzzy(message) != 0,
                                               po_message_is_obsolete(message) != 0});
        }
        po_message_iterator_free(iterator);
    }
    po_file_free(file);
    std::sort(messages->begin(), messages->end());
    return gettextErrors == 0;
}

bool NamesAnotherCharset(const std::string &content) {
    for (size_t at = 0; (at = content.find("charset=", at)) != std::string::npos;) {
        at += 8;
        std::string name = content.substr(at, content.find_first_of(" \t\n\\\"", at) - at);
        if (strcasecmp(name.c_str(), "UTF-8") == 0) continue;
        iconv_t converter = iconv_open("UTF-8", name.c_str());
        if (converter == (iconv_t)-1) continue;
        iconv_close(converter);
        return true;
    }
    return false;
}

// libgettextpo keeps some of what it allocates for good: not fxt's leaks.
extern "C" const char *__lsan_default_suppressions(void) {
    return "leak:libgettextpo.so\n";
}
