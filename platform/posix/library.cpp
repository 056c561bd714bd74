// Run-time loading of shared objects with dlopen.
#include "platform/library.h"

#include "platform/utf.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace platform {
bool CLibrary::Load(const std::u16string& path, std::u16string& error)
{
    Unload();
    std::string file = Utf16ToUtf8(path);
    // dlopen searches the library path for a name without a slash; a path in the current
    // folder must say so.
    if (file.find('/') == std::string::npos)
        file = "./" + file;
    // The loader would block for ever on a FIFO (and read a device): a module is a regular file.
    struct stat st;
    if (stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = u"not a regular file";
        return false;
    }
    dlerror();
    m_hLibrary = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_hLibrary == nullptr) {
        const char* reason = dlerror();
        error = Utf8ToUtf16(reason != nullptr ? reason : "unknown error");
        return false;
    }
    return true;
}

void* CLibrary::FindSymbol(const char* name) const
{
    return m_hLibrary != nullptr ? dlsym(m_hLibrary, name) : nullptr;
}

void CLibrary::Unload()
{
    if (m_hLibrary != nullptr)
        dlclose(m_hLibrary);
    m_hLibrary = nullptr;
}
} // namespace platform
