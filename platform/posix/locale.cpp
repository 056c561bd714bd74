// Runtime locale and conversion from the locale's multibyte encoding on Linux.
#include "platform/locale.h"
#include "platform/utf.h"

#include <clocale>
#include <cwchar>

namespace platform {
void SetRuntimeLocale()
{
    (void)std::setlocale(LC_ALL, ""); // an unknown locale leaves the "C" locale in force
}

std::u16string NarrowToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::mbstate_t state{};
    size_t i = 0;
    while (i < bytes.size()) {
        wchar_t wc = 0;
        size_t n = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            // Invalid or cut-off sequence: keep the byte as its Latin-1 value rather than lose it.
            out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
            state = std::mbstate_t{};
            ++i;
            continue;
        }
        if (n == 0)
            n = 1; // an embedded NUL
        AppendUtf16(out, static_cast<char32_t>(wc));
        i += n;
    }
    return out;
}
} // namespace platform
