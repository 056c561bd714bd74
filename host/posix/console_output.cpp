// lvphost's console output on Linux.
#include "host/console_output.h"

#include "platform/utf.h"

#include <cstdio>

namespace lvp::host {
void Write(EStream stream, std::u16string_view text)
{
    std::FILE* file = stream == EStream::Out ? stdout : stderr;
    std::string bytes = platform::Utf16ToUtf8(text);
    // A closed or full standard stream leaves the host nobody to tell.
    (void)std::fwrite(bytes.data(), 1, bytes.size(), file);
    (void)std::fflush(file);
}
} // namespace lvp::host
