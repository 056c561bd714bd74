// The module's own handle and file, found from the address of its code.
#include "platform/win32/own_module.h"

#include "platform/module_file.h"

#include <vector>

namespace platform {
namespace win32 {
HMODULE OwnModule()
{
    // The flag keeps the reference count as it is: nothing to release.
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&OwnModule), &hModule);
    return hModule;
}
} // namespace win32

std::u16string OwnModulePath()
{
    HMODULE hModule = win32::OwnModule();
    if (!hModule)
        return {};
    // A path that fills the buffer may have been cut: try again with a larger one.
    for (DWORD size = MAX_PATH + 1; size <= 32768 * 2; size *= 2) {
        std::vector<wchar_t> path(size);
        const DWORD n = ::GetModuleFileNameW(hModule, path.data(), size);
        if (n == 0)
            return {};
        if (n < size)
            return std::u16string(reinterpret_cast<const char16_t*>(path.data()), n);
    }
    return {};
}
} // namespace platform
