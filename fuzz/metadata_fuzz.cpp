// Fuzz target: the metadata carrier over a photo and an output. The input's first two bytes give
// the photo's length, the photo follows, the output is the rest. A rewritten output must read
// back as JPEG or TIFF of the same size with the same pixel bytes, and a second carry into it must
// find nothing wrong. The photo's capture data reads too, its size as ReadImageSize reads it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "fuzz/check.h"
#include "metadata/capture_data.h"
#include "metadata/metadata.h"
#include "tests/metadata/fixtures.h"

using lvp::fuzz::Check;
namespace md = lvp::metadata;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const std::span<const uint8_t> input(data + 2, size - 2);
    const size_t split = (data[0] | size_t{data[1]} << 8) % (input.size() + 1);
    const std::span<const uint8_t> photo = input.first(split), output = input.subspan(split);
    const md::SCaptureData capture = md::ReadCaptureData(photo);
    Check(capture.size == md::ReadImageSize(photo), "the capture data's size is the image size");
    Check(!capture.bWholeSeconds || capture.captureTime.has_value(), "whole seconds of a known time");
    const md::SCarryResult r = md::CarryOver(photo, output);
    Check(r.rewritten.empty() == (r.outcome != md::ECarryOutcome::Done), "a file exactly when done");
    if (r.outcome != md::ECarryOutcome::Done)
        return 0;
    // The output's strips may lie outside it (it is not read beyond its first directory); then
    // neither file has pixel bytes to compare.
    const std::optional<md::SImageSize> dimensions = md::ReadImageSize(r.rewritten);
    Check(dimensions.has_value() && dimensions == md::ReadImageSize(output),
          "the rewritten output reads back, of its size");
    Check(lvp::metadata::test::PixelBytes(r.rewritten) == lvp::metadata::test::PixelBytes(output),
          "the pixel bytes are the output's");
    Check(!md::IsReportedFailure(md::CarryOver(photo, r.rewritten).outcome),
          "a second carry finds nothing wrong");
    return 0;
}
