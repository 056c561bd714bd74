// Runtime locale and ANSI code page conversion on Windows.
#include "platform/locale.h"

#include "platform/win32/windows_prelude.h"

#include <clocale>
#include <climits>

namespace platform {
void SetRuntimeLocale()
{
    _wsetlocale(LC_ALL, L".ACP");
}

std::u16string NarrowToUtf16(std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    int n = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}
} // namespace platform
