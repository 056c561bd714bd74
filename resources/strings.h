// Loads a text of the module's own string table by id (an unknown id gives ""), and fills in
// a text's place holder. Implemented by resources/format_string.cpp and resources/*/load_string.cpp.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace lvp {
std::u16string LoadModuleString(unsigned id);

// The text id with its place holder %1 replaced by arg (FormatModuleStrings with one argument).
std::u16string FormatModuleString(unsigned id, std::u16string_view arg);

// The text id with each place holder %1 .. %9 replaced by the argument of its number (one that
// has none stays as it is); the arguments' own text is never read for place holders.
std::u16string FormatModuleStrings(unsigned id, std::initializer_list<std::u16string_view> args);

// The text id with %1 replaced by the lines, one a line; of more than kListShown lines the first
// kListShown - 1, then text 139 with the number of the rest (so that a message box stays readable).
constexpr size_t kListShown = 8;
std::u16string FormatModuleList(unsigned id, const std::vector<std::u16string>& lines);
} // namespace lvp
