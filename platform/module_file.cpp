// The title of a file name, and of the module's own file.
#include "platform/module_file.h"

#include "platform/os.h"
#include "platform/path.h"

namespace platform {
std::u16string_view FileTitle(std::u16string_view path, std::u16string_view separators)
{
    // A name that begins with its only "." is all title here, not all extension.
    const std::u16string_view name = FileNameOf(path, separators);
    return ExtensionOf(name, separators).size() == name.size() ? name : StemOf(name, separators);
}

std::u16string OwnModuleTitle()
{
    return std::u16string(FileTitle(OwnModulePath(), RealOs().PathSeparators()));
}
} // namespace platform
