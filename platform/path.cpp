// The path splitting of platform/path.h.
#include "platform/path.h"

namespace platform {
std::size_t FileNameStart(std::u16string_view path, std::u16string_view separators)
{
    const std::size_t k = path.find_last_of(separators);
    return k == std::u16string_view::npos ? 0 : k + 1;
}

std::u16string_view FileNameOf(std::u16string_view path, std::u16string_view separators)
{
    return path.substr(FileNameStart(path, separators));
}

std::u16string_view FolderOf(std::u16string_view path, std::u16string_view separators)
{
    return path.substr(0, FileNameStart(path, separators));
}

std::u16string_view ExtensionOf(std::u16string_view path, std::u16string_view separators)
{
    const std::u16string_view name = FileNameOf(path, separators);
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

std::u16string_view StemOf(std::u16string_view path, std::u16string_view separators)
{
    const std::u16string_view name = FileNameOf(path, separators);
    return name.substr(0, name.size() - ExtensionOf(name, separators).size());
}

bool ParentFolderOf(std::u16string_view path, std::u16string_view separators, std::u16string_view& parent)
{
    const std::size_t k = path.find_last_of(separators);
    if (k == std::u16string_view::npos)
        return false;
    const bool bRoot = k == 0 || (k == 2 && path[1] == u':');
    parent = path.substr(0, bRoot ? k + 1 : k);
    return true;
}

void AppendSeparator(std::u16string& path, char16_t separator)
{
    if (!path.empty() && path.back() != separator)
        path += separator;
}

std::vector<std::u16string> PathComponents(std::u16string_view path, std::u16string_view separators)
{
    std::vector<std::u16string> parts(1);
    for (char16_t c : path) {
        if (separators.find(c) != std::u16string_view::npos)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool IsAscii(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}
} // namespace platform
