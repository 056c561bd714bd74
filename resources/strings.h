// Loads a text of the module's own string table by id (an unknown id gives ""), and fills in
// a text's place holder. Implemented by resources/format_string.cpp and resources/*/load_string.cpp.
#pragma once
#include <string>
#include <string_view>

namespace lvp {
std::u16string LoadModuleString(unsigned id);

// The text id with its place holder %1 replaced by arg.
std::u16string FormatModuleString(unsigned id, std::u16string_view arg);
} // namespace lvp
