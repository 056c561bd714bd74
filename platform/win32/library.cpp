// Run-time loading of DLLs with LoadLibraryExW.
#include "platform/library.h"

#include "platform/win32/scoped.h"

#include <utility>

namespace platform {

bool CLibrary::Load(const std::u16string& path, std::u16string& error)
{
    Unload();
    std::u16string file = path;
    // A bare name would be searched for along the DLL search path; load the file itself.
    if (file.find_first_of(u"\\/:") == std::u16string::npos)
        file = u".\\" + file;
    // For a full path, the module's own dependencies are looked up beside it (the flag is
    // only defined for full paths).
    bool full = (file.size() > 2 && file[1] == u':' && (file[2] == u'\\' || file[2] == u'/')) ||
                file.starts_with(u"\\\\") || file.starts_with(u"//");
    // A module is a regular file; a folder or a device is refused before the loader sees it.
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(file.c_str()));
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
        error = u"not a regular file";
        return false;
    }
    // No error boxes for a missing or broken file.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_hLibrary = LoadLibraryExW(reinterpret_cast<const wchar_t*>(file.c_str()), nullptr,
                                full ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    DWORD code = GetLastError();
    SetErrorMode(oldMode);
    if (m_hLibrary == nullptr) {
        error = win32::ErrorText(code);
        return false;
    }
    return true;
}

void* CLibrary::FindSymbol(const char* name) const
{
    if (m_hLibrary == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_hLibrary), name));
}

void CLibrary::Unload()
{
    win32::CAutoModule unloaded(static_cast<HMODULE>(std::exchange(m_hLibrary, nullptr)));
}
} // namespace platform
