// CarryOver: picks the rewriter by the output's format and keeps every failure inside.
#include "metadata/metadata.h"

#include <new>

#include "metadata/carry.h"
#include "metadata/jpeg_segments.h"
#include "metadata/source.h"
#include "metadata/tiff_ifd.h"

namespace lvp::metadata {
SCarryResult CarryOver(std::span<const uint8_t> firstPhoto, std::span<const uint8_t> fusedOutput) noexcept
{
    try {
        const std::optional<SSource> src = ReadSource(firstPhoto);
        if (src && src->Empty())
            return {ECarryOutcome::NothingToCarry, {}};
        if (IsJpeg(fusedOutput))
            return CarryIntoJpeg(src, fusedOutput);
        if (TiffKind(fusedOutput) == ETiffKind::Classic)
            return CarryIntoTiff(src, fusedOutput);
        return {ECarryOutcome::UnsupportedOutput, {}};
    } catch (const std::bad_alloc&) {
        return {ECarryOutcome::CannotRewrite, {}};
    }
}

ECarryOutcome CheckSource(std::span<const uint8_t> firstPhoto) noexcept
{
    try {
        const std::optional<SSource> src = ReadSource(firstPhoto);
        if (!src)
            return ECarryOutcome::SourceDamaged;
        return src->Empty() ? ECarryOutcome::NothingToCarry : ECarryOutcome::Done;
    } catch (const std::bad_alloc&) {
        return ECarryOutcome::CannotRewrite;
    }
}

bool IsReportedFailure(ECarryOutcome outcome)
{
    switch (outcome) {
    case ECarryOutcome::Done:
    case ECarryOutcome::OutputHasExif:
    case ECarryOutcome::NothingToCarry:
        return false;
    default:
        return true;
    }
}
} // namespace lvp::metadata
