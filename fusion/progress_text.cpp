// The progress display's texts from the string table.
#include "fusion/progress_text.h"

#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"

#include <cstdint>

namespace lvp {
namespace {
std::u16string Number(unsigned n)
{
    return platform::DecimalText(static_cast<std::int64_t>(n));
}
} // namespace

std::u16string StageText(const SRunProgress& progress)
{
    const SStageDetail& d = progress.detail;
    std::u16string text;
    switch (d.stage) {
    case EProgressStage::AlignPairs:
        text = FormatModuleStrings(IDS_PROGRESS_ALIGN_PAIR, {Number(d.nItem), Number(d.nItems)});
        break;
    case EProgressStage::AlignRemap:
        text = FormatModuleStrings(IDS_PROGRESS_ALIGN_REMAP, {Number(d.nItem), Number(d.nItems)});
        break;
    case EProgressStage::FuseLoad:
        text = FormatModuleStrings(IDS_PROGRESS_FUSE_LOAD, {Number(d.nItem), Number(d.nItems)});
        break;
    case EProgressStage::Blend:
        text = LoadModuleString(IDS_PROGRESS_BLEND);
        break;
    case EProgressStage::Waiting:
    case EProgressStage::Done:
        return {};
    }
    if (progress.nBrackets > 1)
        text = FormatModuleStrings(IDS_PROGRESS_BRACKET,
                                   {Number(progress.nBracket), Number(progress.nBrackets), text});
    return text;
}

std::u16string ElapsedText(double seconds)
{
    const std::int64_t n = seconds > 0 ? static_cast<std::int64_t>(seconds) : 0;
    // Appended piece by piece: g++ 12 warns falsely of overlap for a text plus a literal plus a text.
    std::u16string text = platform::DecimalText(n / 60);
    text.push_back(u':');
    if (n % 60 < 10)
        text.push_back(u'0');
    text.append(platform::DecimalText(n % 60));
    return text;
}
} // namespace lvp
