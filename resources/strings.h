// Loads a text of the module's own string table by id (an unknown id gives ""), and fills in
// a text's place holder.
#pragma once
#include <string>
#include <string_view>

namespace lvp {
std::u16string LoadModuleString(unsigned id);

// The text id with its place holder %1 replaced by arg.
inline std::u16string FormatModuleString(unsigned id, std::u16string_view arg)
{
    std::u16string text = LoadModuleString(id);
    if (const size_t at = text.find(u"%1"); at != std::u16string::npos)
        text.replace(at, 2, arg);
    return text;
}
} // namespace lvp
