// The title of a file name, and of the module's own file.
#include "platform/module_file.h"

#include "platform/fs.h"

namespace platform {
std::u16string_view FileTitle(std::u16string_view path, std::u16string_view separators)
{
    const size_t k = path.find_last_of(separators);
    std::u16string_view name = k == std::u16string_view::npos ? path : path.substr(k + 1);
    const size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::u16string OwnModuleTitle()
{
    // '/' separates folders on Windows too.
    const char16_t separators[] = {PathSeparator(), u'/'};
    return std::u16string(FileTitle(OwnModulePath(), {separators, 2}));
}
} // namespace platform
