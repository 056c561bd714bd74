// The two rewriters behind CarryOver: one per output format.
#pragma once
#include "metadata/metadata.h"

namespace lvp::metadata {
SCarryResult CarryIntoJpeg(std::span<const uint8_t> firstPhoto, std::span<const uint8_t> output);
SCarryResult CarryIntoTiff(std::span<const uint8_t> firstPhoto, std::span<const uint8_t> output);
} // namespace lvp::metadata
