// lvphost's console output on Windows: a console gets UTF-16, a pipe or file UTF-8.
#include "host/console_output.h"

#include "platform/utf.h"

#include "platform/win32/windows_prelude.h"

#include <algorithm>

namespace lvp::host {
void Write(EStream stream, std::u16string_view text)
{
    HANDLE h = GetStdHandle(stream == EStream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE || text.empty())
        return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(h, &mode)) {
        WriteConsoleW(h, reinterpret_cast<const wchar_t*>(text.data()), static_cast<DWORD>(text.size()),
                      &written, nullptr);
        return;
    }
    std::string bytes = platform::Utf16ToUtf8(text);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}
} // namespace lvp::host
