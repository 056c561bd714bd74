// The names of a batch's outputs: the field's for the first, proposed ones beside it for the rest.
#include "fusion/batch_names.h"

#include "fusion/fusion_paths.h"
#include "platform/path.h"
#include "platform/utf.h"

#include <algorithm>
#include <cstdint>

namespace lvp {
bool IsBatchFused(const SBracket& bracket, size_t nPhotos)
{
    return bracket.nCount >= 2 && bracket.nFirst < nPhotos && bracket.nCount <= nPhotos - bracket.nFirst;
}

std::vector<std::u16string> BatchOutputNames(const std::vector<std::u16string>& selection,
                                             const std::vector<SBracket>& brackets, std::u16string_view field,
                                             std::u16string_view sep)
{
    const std::u16string_view folder = platform::FolderOf(field, sep);
    const std::u16string_view extension = platform::ExtensionOf(field, sep);
    std::vector<std::u16string> names(brackets.size());
    std::vector<std::u16string> taken;
    for (size_t i = 0; i < brackets.size(); ++i) {
        const SBracket& bracket = brackets[i];
        if (!IsBatchFused(bracket, selection.size()))
            continue;
        if (taken.empty()) {
            names[i] = field;
            taken.push_back(names[i]);
            continue;
        }
        std::u16string base(folder);
        base.append(ProposeOutputStem(selection[bracket.nFirst],
                                      selection[bracket.nFirst + bracket.nCount - 1], sep));
        std::u16string name = base + std::u16string(extension);
        for (std::int64_t n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n)
            name = base + u"_" + platform::DecimalText(n) + std::u16string(extension);
        names[i] = name;
        taken.push_back(std::move(name));
    }
    return names;
}
} // namespace lvp
