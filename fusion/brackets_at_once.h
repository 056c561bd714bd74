// How many brackets of a batch run side by side: as many as the machine has processors, and only
// as many as its free memory holds by an estimate of the programs' need.
#pragma once
#include "fusion/bracket_grouping.h"
#include "platform/os.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lvp {
// A bracket as its memory need goes: the pixels of its largest photo (0: a photo's size is
// unknown) and its number of photos.
struct SBracketSize {
    std::uint64_t nPixels = 0;
    std::size_t nPhotos = 0;
};

// The peak memory of the fusion program over a bracket (and, with bAlign, of the alignment
// before it, whichever needs more), margin included; 0 when the bracket's size is unknown.
std::uint64_t BracketMemoryNeed(const SBracketSize& bracket, bool bAlign);

// How many of brackets may run at once: at most nProcessors and the number of brackets, and no
// more than the most needing of them fit together into nAvailableBytes; 1 (never less) when the
// memory (0) or a bracket's size is unknown.
unsigned BracketsAtOnce(unsigned nProcessors, std::uint64_t nAvailableBytes,
                        const std::vector<SBracketSize>& brackets, bool bAlign);

// The sizes of those brackets of photos that the headers give (ReadPhotoSize).
std::vector<SBracketSize> ReadBracketSizes(const std::vector<std::u16string>& photos,
                                           const std::vector<SBracket>& brackets, const platform::COs& os);
} // namespace lvp
