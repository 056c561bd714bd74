// The Exif TIFF block written into a JPEG output.
#pragma once
#include <optional>
#include <span>

#include "metadata/metadata.h"
#include "metadata/source.h"

namespace lvp::metadata {
// A JPEG photo's Exif block for an output of the given size: copied byte for byte so that no
// offset moves (the maker note stays intact), the pixel dimensions patched in place (added, in a
// copy of the Exif directory appended to the block, where it lacks them), IFD1 (the thumbnail)
// unlinked, and its bytes cut where nothing else lies behind them.
std::optional<Bytes> PatchExifBlock(std::span<const uint8_t> block, SImageSize size);
// A new Exif block of the photo's tags (a TIFF photo's, or one whose block is not kept).
std::optional<Bytes> BuildExifBlock(const SSource& src, SImageSize size);
// The photo's IFD0 tags with the Exif pixel dimensions set to size (added where its Exif directory
// lacks them), in byte order `to`.
TagList TagsForOutput(const SSource& src, SImageSize size, SByteOrder to);
} // namespace lvp::metadata
