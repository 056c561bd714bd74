// The two rewriters behind CarryOver: one per output format. src is the photo's metadata, empty
// when it is damaged (then, after the output's own checks, SourceDamaged).
#pragma once
#include "metadata/metadata.h"
#include "metadata/source.h"

namespace lvp::metadata {
SCarryResult CarryIntoJpeg(const std::optional<SSource>& src, std::span<const uint8_t> output);
SCarryResult CarryIntoTiff(const std::optional<SSource>& src, std::span<const uint8_t> output);
} // namespace lvp::metadata
