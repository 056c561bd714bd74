// Image sizes from a JPEG frame header and a TIFF directory.
#pragma once
#include "metadata/jpeg_segments.h"
#include "metadata/metadata.h"
#include "metadata/tiff_ifd.h"

namespace lvp::metadata {
std::optional<SImageSize> JpegFrameSize(std::span<const uint8_t> data, const SJpegLayout& layout);
std::optional<SImageSize> TiffImageSize(const CTiffView& view, const STiffIfd& ifd);
} // namespace lvp::metadata
