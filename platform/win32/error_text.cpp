// The system's text for a Win32 error code.
#include "platform/win32/scoped.h"

namespace platform::win32 {
std::u16string ErrorText(DWORD code)
{
    CAutoLocal<wchar_t*> text;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(text.Out()), 0, nullptr);
    std::u16string result;
    if (n > 0 && text)
        result.assign(reinterpret_cast<const char16_t*>(text.Get()), n);
    while (!result.empty() && (result.back() == u'\n' || result.back() == u'\r' || result.back() == u' '))
        result.pop_back();
    if (result.empty()) {
        for (char c : "error " + std::to_string(code))
            result += static_cast<char16_t>(c);
    }
    return result;
}
} // namespace platform::win32
