// Program names on Windows; the dialog's own path is the only place the program is looked for.
#include "platform/real_os.h"

namespace platform {
std::u16string CRealOs::ExecutableFileName(const std::u16string& base) const
{
    return base + u".exe";
}

// Windows looks for programs along no search path here.
std::u16string CRealOs::FindOnSearchPath(const std::u16string&) const
{
    return {};
}
} // namespace platform
