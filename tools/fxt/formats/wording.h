// How fxt words what it tells: a count with its noun, and the name of a
// file out of its path.
#ifndef PARLYTE_FXT_WORDING_H
#define PARLYTE_FXT_WORDING_H

#include <string>

// "1 entry", "2 entries".
std::string Counted(size_t count, const char *one, const char *many);
// What follows the last separator, \ or /.
std::string FileNameOf(const std::string &path);

#endif
