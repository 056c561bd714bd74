// Run-time loading of DLLs with LoadLibraryExW.
#include "platform/library.h"

#include <windows.h>

namespace platform {
namespace {
std::u16string LastErrorText(DWORD code)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string result;
    if (n > 0 && text != nullptr)
        result.assign(reinterpret_cast<const char16_t*>(text), n);
    if (text != nullptr)
        LocalFree(text);
    while (!result.empty() && (result.back() == u'\n' || result.back() == u'\r' || result.back() == u' '))
        result.pop_back();
    if (result.empty()) {
        for (char c : "error " + std::to_string(code))
            result += static_cast<char16_t>(c);
    }
    return result;
}
} // namespace

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
    // No error boxes for a missing or broken file.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    m_hLibrary = LoadLibraryExW(reinterpret_cast<const wchar_t*>(file.c_str()), nullptr,
                                full ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    DWORD code = GetLastError();
    SetErrorMode(oldMode);
    if (m_hLibrary == nullptr) {
        error = LastErrorText(code);
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
    if (m_hLibrary != nullptr)
        FreeLibrary(static_cast<HMODULE>(m_hLibrary));
    m_hLibrary = nullptr;
}
} // namespace platform
