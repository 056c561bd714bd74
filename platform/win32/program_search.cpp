// Program names on Windows; the dialog's own path is the only place the program is looked for.
#include "platform/file_probe.h"

namespace platform {
std::u16string ExecutableFileName(const std::u16string& base)
{
    return base + u".exe";
}

bool HasSearchPath()
{
    return false;
}

std::u16string FindExecutableOnPath(const std::u16string&)
{
    return {};
}
} // namespace platform
