// The Linux build's string table, compiled in from the same source as the .rc.
#include "resources/strings.h"

#include <algorithm>
#include <iterator>

namespace lvp {
namespace {
struct SStringEntry {
    unsigned id;
    const char16_t* text;
};
constexpr SStringEntry kStrings[] = {
#include "resources/string_table.inc"
};
} // namespace

std::u16string LoadModuleString(unsigned id)
{
    auto it = std::find_if(std::begin(kStrings), std::end(kStrings),
                           [id](const SStringEntry& e) { return e.id == id; });
    return it == std::end(kStrings) ? std::u16string() : std::u16string(it->text);
}
} // namespace lvp
