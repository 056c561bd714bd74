// The proposed output name and the search for the fusion program.
#include "fusion/fusion_paths.h"

#include "fusion/program_search.h"
#include "platform/path.h"

namespace lvp {
std::u16string ProposeOutputName(std::u16string_view first, std::u16string_view last, std::u16string_view sep)
{
    std::u16string out(platform::FolderOf(first, sep));
    out.append(ProposeOutputStem(first, last, sep));
    out.append(platform::ExtensionOf(first, sep));
    return out;
}

std::u16string ProposeOutputStem(std::u16string_view first, std::u16string_view last, std::u16string_view sep)
{
    std::u16string stem(platform::StemOf(first, sep));
    stem.append(u"-").append(platform::StemOf(last, sep));
    return stem;
}

std::u16string LocateFusionProgram(const std::u16string& strStored, const platform::COs& os)
{
    // Judged as the dialog's OK judges it: the file the text resolves to.
    const std::u16string stored = ResolveProgram(strStored, os);
    if (!stored.empty() && os.FileOpensForReading(stored))
        return strStored;
    const char16_t separator = os.PathSeparator();
    std::u16string folder;
    if (!os.FullPath(u".", folder))
        folder.assign(1, u'.');
    if (folder.empty())
        folder.push_back(separator);
    platform::AppendSeparator(folder, separator);
    std::u16string guess = std::move(folder);
    guess.append(os.ExecutableFileName(u"enfuse"));
    if (!os.FileOpensForReading(guess)) {
        std::u16string found = FindInstalledProgram(u"enfuse", os);
        if (!found.empty())
            return found;
    }
    return guess;
}
} // namespace lvp
