// What makes a selection of photos one that enfuse cannot fuse, found before anything runs:
// camera raw files (by name) and photos of different sizes (by their headers).
#pragma once
#include "metadata/capture_data.h"
#include "metadata/metadata.h"
#include "platform/os.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lvp {
// The path's extension is one of a camera's raw formats (CR2, NEF, ARW, DNG, ...), compared
// without ASCII case. separators: those of the path.
bool IsCameraRawName(std::u16string_view path, std::u16string_view separators);

// A photo is read for its size until its header gives it, at most this much of a JPEG (whose
// frame header follows the APP segments, each at most 64 KB); a TIFF, whose directory may lie
// at its end, is read whole up to kTiffLimit.
constexpr size_t kJpegHeadLimit = 1u << 20;
constexpr size_t kTiffLimit = 256u << 20;

// The first bytes of a photo that hold its header (a JPEG's up to its frame header, a classic
// TIFF whole) and the size the header states; empty when the file does not open, is of another
// kind, is damaged (its header states no size), or is a TIFF larger than kTiffLimit.
struct SPhotoHead {
    std::vector<uint8_t> bytes;
    metadata::SImageSize size;
};
std::optional<SPhotoHead> ReadPhotoHead(const std::u16string& path, const platform::COs& os);

// The size a JPEG's or TIFF's header states; empty where ReadPhotoHead is.
std::optional<metadata::SImageSize> ReadPhotoSize(const std::u16string& path, const platform::COs& os);

// Each photo's capture data, as its head gives it; all unknown where ReadPhotoHead is empty.
std::vector<metadata::SCaptureData> ReadCaptureData(const std::vector<std::u16string>& photos,
                                                    const platform::COs& os);

struct SPhotoSize {
    size_t index = 0; // in the photos given
    metadata::SImageSize size;
};
// When the sizes that can be read are not all the same: the first photo with a size, then each
// whose size differs from it, in order. Empty when they agree (a photo whose size cannot be read
// is left to enfuse).
std::vector<SPhotoSize> DifferingSizes(const std::vector<std::u16string>& photos, const platform::COs& os);
// The same over sizes already read (empty: unknown), as ReadCaptureData gives them.
std::vector<SPhotoSize> DifferingSizes(const std::vector<std::optional<metadata::SImageSize>>& sizes);
} // namespace lvp
