// The shared object (or program) that holds this code, as the dynamic loader knows it.
#include "platform/module_file.h"

#include "platform/utf.h"

#include <dlfcn.h>

namespace platform {
std::u16string OwnModulePath()
{
    // The loader maps this function's address to the object it was loaded from (for the
    // program itself: the name it was started by).
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&OwnModulePath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return Utf8ToUtf16(info.dli_fname);
}
} // namespace platform
