// The memory estimate of a bracket's programs and the number of brackets that run at once.
#include "fusion/brackets_at_once.h"

#include "fusion/photo_checks.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace lvp {
namespace {
// Peak resident memory (GNU time's maximum resident set size) of Debian's enfuse 4.2 and
// align_image_stack 2022.0 over JPEG brackets of 3 and 5 photos at 2, 6 and 12 megapixels:
//   enfuse             2 MP:  90 / 122 MB,  6 MP: 238 / 332 MB,  12 MP: 452 / 640 MB (3 / 5 photos)
//   align_image_stack  2 MP:  45 /  45 MB,  6 MP:  79 /  79 MB,  12 MP: 130 / 140 MB
// enfuse over the aligned TIFFs needs what it needs over the JPEGs. Fitted: enfuse 8 bytes a
// pixel of every photo, 13 a pixel of the image and 18 MB; align_image_stack (which holds two
// images at a time) 8.7 bytes a pixel and 29 MB. The constants round up, and a quarter more is
// kept free for what the estimate misses.
constexpr std::uint64_t kMiB = std::uint64_t{1024} * 1024;
constexpr std::uint64_t kFusePerPhotoPixel = 8;
constexpr std::uint64_t kFusePerPixel = 14;
constexpr std::uint64_t kFuseBase = 32 * kMiB;
constexpr std::uint64_t kAlignPerPixel = 9;
constexpr std::uint64_t kAlignBase = 40 * kMiB;
constexpr std::uint64_t kMarginNumerator = 5, kMarginDenominator = 4;
// Beyond this a photo's size is taken for a damaged header (no camera makes 4 gigapixels).
constexpr std::uint64_t kMostPixels = std::uint64_t{1} << 32;
constexpr std::size_t kMostPhotos = 1u << 16;
} // namespace

std::uint64_t BracketMemoryNeed(const SBracketSize& bracket, bool bAlign)
{
    if (bracket.nPixels == 0 || bracket.nPixels > kMostPixels || bracket.nPhotos > kMostPhotos)
        return 0;
    const std::uint64_t px = bracket.nPixels;
    std::uint64_t need = kFusePerPhotoPixel * px * bracket.nPhotos + kFusePerPixel * px + kFuseBase;
    if (bAlign)
        need = std::max(need, kAlignPerPixel * px + kAlignBase);
    return need / kMarginDenominator * kMarginNumerator;
}

unsigned BracketsAtOnce(unsigned nProcessors, std::uint64_t nAvailableBytes,
                        const std::vector<SBracketSize>& brackets, bool bAlign)
{
    const std::size_t nMost = std::min<std::size_t>(nProcessors, brackets.size());
    if (nMost <= 1 || nAvailableBytes == 0)
        return 1;
    std::vector<std::uint64_t> needs;
    for (const SBracketSize& bracket : brackets) {
        needs.push_back(BracketMemoryNeed(bracket, bAlign));
        if (needs.back() == 0)
            return 1;
    }
    std::sort(needs.begin(), needs.end(), std::greater<>());
    unsigned n = 0;
    for (std::uint64_t nLeft = nAvailableBytes; n < nMost && needs[n] <= nLeft; nLeft -= needs[n++]) {
    }
    return std::max(n, 1u);
}

std::vector<SBracketSize> ReadBracketSizes(const std::vector<std::u16string>& photos,
                                           const std::vector<SBracket>& brackets, const platform::COs& os)
{
    std::vector<SBracketSize> sizes;
    for (const SBracket& bracket : brackets) {
        SBracketSize size{0, bracket.nCount};
        for (std::size_t i = bracket.nFirst; i < bracket.nFirst + bracket.nCount && i < photos.size(); ++i) {
            const std::optional<metadata::SImageSize> photo = ReadPhotoSize(photos[i], os);
            if (!photo) {
                size.nPixels = 0;
                break;
            }
            size.nPixels = std::max<std::uint64_t>(size.nPixels, std::uint64_t{photo->width} * photo->height);
        }
        sizes.push_back(size);
    }
    return sizes;
}
} // namespace lvp
