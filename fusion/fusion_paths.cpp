// The proposed output name and the search for the fusion program.
#include "fusion/fusion_paths.h"

namespace lvp {
namespace {
struct SPathParts {
    std::u16string_view folder; // up to and including the last separator
    std::u16string_view name;   // the file name without its extension
    std::u16string_view ext;    // from the file name's last "." on; empty when it has none
};

SPathParts Split(std::u16string_view path, char16_t separator)
{
    size_t k = path.rfind(separator);
    size_t nameStart = k == std::u16string_view::npos ? 0 : k + 1;
    std::u16string_view file = path.substr(nameStart);
    size_t dot = file.rfind(u'.');
    if (dot == std::u16string_view::npos)
        return {path.substr(0, nameStart), file, {}};
    return {path.substr(0, nameStart), file.substr(0, dot), file.substr(dot)};
}
} // namespace

std::u16string ProposeOutputName(std::u16string_view first, std::u16string_view last, char16_t separator)
{
    SPathParts a = Split(first, separator), b = Split(last, separator);
    std::u16string out(a.folder);
    out.append(a.name).append(u"-").append(b.name).append(a.ext);
    return out;
}

std::u16string LocateFusionProgram(const std::u16string& strStored, const platform::COs& os)
{
    if (!strStored.empty() && os.FileOpensForReading(strStored))
        return strStored;
    const char16_t separator = os.PathSeparator();
    std::u16string folder;
    if (!os.FullPath(u".", folder))
        folder.assign(1, u'.');
    if (folder.empty() || folder.back() != separator)
        folder.push_back(separator);
    const std::u16string name = os.ExecutableFileName(u"enfuse");
    std::u16string guess = std::move(folder);
    guess.append(name);
    if (!os.FileOpensForReading(guess)) {
        std::u16string found = os.FindOnSearchPath(name);
        if (!found.empty())
            return found;
    }
    return guess;
}
} // namespace lvp
