// INI files read and written the way the system's profile calls do it, for
// the one value the program keeps: section and key names ignore letter case,
// blanks around names and values are dropped, lines end in CR LF.
#include "fakes.h"

#include <fstream>
#include <sstream>
#include <strings.h>

namespace {

std::string Trimmed(const std::string &text) {
    const char *blanks = " \t\r\n";
    std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string> ReadLines(const std::string &path) {
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsSectionLine(const std::string &line, std::string *name) {
    std::string trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') return false;
    std::string::size_type close = trimmed.find(']');
    if (close == std::string::npos) return false;
    *name = Trimmed(trimmed.substr(1, close - 1));
    return true;
}

bool IsKeyLine(const std::string &line, LPCSTR key, std::string *value) {
    std::string::size_type equals = line.find('=');
    if (equals == std::string::npos || strcasecmp(Trimmed(line.substr(0, equals)).c_str(), key) != 0)
        return false;
    *value = Trimmed(line.substr(equals + 1));
    return true;
}

// Index of the line holding key in section, or -1; *sectionEnd becomes the
// index after the section's last line, or -1 when there is no such section.
long FindKey(const std::vector<std::string> &lines, LPCSTR section, LPCSTR key, std::string *value,
             long *sectionEnd) {
    bool inSection = false;
    *sectionEnd = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (IsSectionLine(lines[i], &name)) {
            inSection = strcasecmp(name.c_str(), section) == 0;
            if (inSection) *sectionEnd = (long)i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!Trimmed(lines[i]).empty()) *sectionEnd = (long)i + 1;
        if (IsKeyLine(lines[i], key, value)) return (long)i;
    }
    return -1;
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR value, DWORD size,
                               LPCSTR file) {
    if (size == 0) return 0;
    std::string found;
    long sectionEnd;
    if (FindKey(ReadLines(CompatNativePath(file)), section, key, &found, &sectionEnd) < 0)
        found = fallback ? fallback : "";
    if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') && found.back() == found.front())
        found = found.substr(1, found.size() - 2);
    DWORD length = (DWORD)found.copy(value, size - 1);
    value[length] = '\0';
    return length;
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    std::string path = CompatNativePath(file);
    std::vector<std::string> lines = ReadLines(path);
    std::string old;
    long sectionEnd;
    long line = FindKey(lines, section, key, &old, &sectionEnd);
    std::string entry = std::string(key) + "=" + value;
    if (line >= 0) {
        lines[line] = entry;
    } else if (sectionEnd >= 0) {
        lines.insert(lines.begin() + sectionEnd, entry);
    } else {
        lines.push_back(std::string("[") + section + "]");
        lines.push_back(entry);
    }
    std::ostringstream text;
    for (const std::string &each : lines) text << each << "\r\n";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text.str();
    return out.good() ? TRUE : FALSE;
}
