// A text of the string table with its place holder filled in.
#include "resources/strings.h"

namespace lvp {
std::u16string FormatModuleString(unsigned id, std::u16string_view arg)
{
    std::u16string text = LoadModuleString(id);
    if (const size_t at = text.find(u"%1"); at != std::u16string::npos)
        text.replace(at, 2, arg);
    return text;
}
} // namespace lvp
