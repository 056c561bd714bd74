// Camera raw names, photo sizes and capture data from the first bytes of each file, and the
// sizes that differ.
#include "fusion/photo_checks.h"

#include "metadata/tiff_ifd.h"
#include "platform/path.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace lvp {
namespace {
// The extensions of the raw formats of cameras and camera backs (lower case, sorted).
constexpr std::u16string_view kRawExtensions[] = {
    u"3fr", u"ari", u"arw", u"bay", u"cap", u"cr2", u"cr3", u"crw", u"dcr", u"dcs", u"dng", u"drf", u"eip",
    u"erf", u"fff", u"gpr", u"iiq", u"k25", u"kdc", u"mdc", u"mef", u"mos", u"mrw", u"nef", u"nrw", u"orf",
    u"pef", u"ptx", u"pxn", u"r3d", u"raf", u"raw", u"rw2", u"rwl", u"rwz", u"sr2", u"srf", u"srw", u"x3f"};
static_assert(std::is_sorted(std::begin(kRawExtensions), std::end(kRawExtensions)), "binary_search needs it");
constexpr size_t kChunk = 64u << 10;

// Appends what the file holds, up to limit bytes in all; false when a read failed short of the
// end (the bytes are then of no use).
bool ReadUpTo(const platform::COs& os, std::FILE* file, std::vector<uint8_t>& bytes, size_t limit)
{
    while (bytes.size() < limit) {
        const size_t nBefore = bytes.size();
        const size_t nWant = std::min(kChunk, limit - nBefore);
        bytes.resize(nBefore + nWant);
        const size_t nGot = os.Read(file, bytes.data() + nBefore, nWant);
        bytes.resize(nBefore + nGot);
        if (nGot < nWant)
            return std::feof(file) != 0;
    }
    return true;
}
} // namespace

bool IsCameraRawName(std::u16string_view path, std::u16string_view separators)
{
    std::u16string_view extension = platform::ExtensionOf(path, separators);
    if (extension.size() < 2)
        return false;
    extension.remove_prefix(1); // the "."
    std::u16string lower(extension);
    for (char16_t& c : lower)
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    return std::binary_search(std::begin(kRawExtensions), std::end(kRawExtensions),
                              std::u16string_view(lower));
}

std::optional<SPhotoHead> ReadPhotoHead(const std::u16string& path, const platform::COs& os)
{
    platform::CFile file = os.OpenForReading(path);
    if (!file)
        return std::nullopt;
    // A chunk at a time, until the header gives the size: a JPEG's frame header is near its start.
    std::vector<uint8_t> bytes;
    while (bytes.size() < kJpegHeadLimit) {
        const size_t nWant = bytes.size() + kChunk;
        if (!ReadUpTo(os, file.Get(), bytes, nWant))
            return std::nullopt;
        if (const std::optional<metadata::SImageSize> size = metadata::ReadImageSize(bytes))
            return SPhotoHead{std::move(bytes), *size};
        if (bytes.size() < nWant)
            return std::nullopt; // all of the file, and no size in it
    }
    // A TIFF's directory may lie beyond its head (often at its end): then all of it.
    if (metadata::TiffKind(bytes) != metadata::ETiffKind::Classic)
        return std::nullopt;
    const int64_t nLength = os.FileLength(file.Get());
    if (nLength < 0 || static_cast<uint64_t>(nLength) > kTiffLimit ||
        !ReadUpTo(os, file.Get(), bytes, static_cast<size_t>(nLength)))
        return std::nullopt;
    if (const std::optional<metadata::SImageSize> size = metadata::ReadImageSize(bytes))
        return SPhotoHead{std::move(bytes), *size};
    return std::nullopt;
}

std::optional<metadata::SImageSize> ReadPhotoSize(const std::u16string& path, const platform::COs& os)
{
    const std::optional<SPhotoHead> head = ReadPhotoHead(path, os);
    return head ? std::optional<metadata::SImageSize>(head->size) : std::nullopt;
}

std::vector<metadata::SCaptureData> ReadCaptureData(const std::vector<std::u16string>& photos,
                                                    const platform::COs& os)
{
    std::vector<metadata::SCaptureData> data;
    data.reserve(photos.size());
    for (const std::u16string& photo : photos) {
        const std::optional<SPhotoHead> head = ReadPhotoHead(photo, os);
        data.push_back(head ? metadata::ReadCaptureData(head->bytes) : metadata::SCaptureData{});
        if (head)
            data.back().size = head->size; // the size ReadPhotoSize gives, whatever the Exif says
    }
    return data;
}

std::vector<SPhotoSize> DifferingSizes(const std::vector<std::u16string>& photos, const platform::COs& os)
{
    std::vector<std::optional<metadata::SImageSize>> sizes;
    sizes.reserve(photos.size());
    for (const std::u16string& photo : photos)
        sizes.push_back(ReadPhotoSize(photo, os));
    return DifferingSizes(sizes);
}

std::vector<SPhotoSize> DifferingSizes(const std::vector<std::optional<metadata::SImageSize>>& known)
{
    std::vector<SPhotoSize> sizes;
    for (size_t i = 0; i < known.size(); ++i) {
        const std::optional<metadata::SImageSize>& size = known[i];
        if (size && (sizes.empty() || *size != sizes.front().size))
            sizes.push_back({i, *size});
    }
    if (sizes.size() < 2)
        sizes.clear();
    return sizes;
}
} // namespace lvp
