// lvphost's OS services on Linux.
#include "host/host_os.h"

#include "platform/utf.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

namespace lvp::host {
void Write(EStream stream, std::u16string_view text)
{
    std::FILE* file = stream == EStream::Out ? stdout : stderr;
    std::string bytes = platform::Utf16ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
}

std::u16string MakeAbsolute(const std::u16string& path)
{
    if (!path.empty() && path[0] == u'/')
        return path;
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20))
            return path; // no current folder to speak of: leave the path as given
        buffer.resize(buffer.size() * 2);
    }
    std::u16string folder = platform::Utf8ToUtf16(buffer.data());
    if (folder.empty() || folder.back() != u'/')
        folder += u'/';
    return folder + path;
}
} // namespace lvp::host
