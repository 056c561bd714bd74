// The metadata layer's interface: image sizes of JPEG and TIFF files, and the carrying of a photo's
// metadata (Exif, GPS, XMP, IPTC, colour profile) into a fused image. Pure: bytes in, bytes out.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lvp::metadata {
struct SImageSize {
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const SImageSize&) const = default;
};

// The size a JPEG's frame header or a TIFF's first directory states; empty for any other file,
// a damaged one, or a JPEG whose height is left to the scan (DNL). Of a JPEG the bytes up to
// its frame header are enough; a TIFF's directory may lie anywhere in the file.
std::optional<SImageSize> ReadImageSize(std::span<const uint8_t> file);

enum class ECarryOutcome {
    Done,              // rewritten holds the output with the photo's metadata
    OutputHasExif,     // the output carries Exif of its own: left as it is
    NothingToCarry,    // the photo is no JPEG or classic TIFF, or has no metadata the output lacks
    UnsupportedOutput, // the output is neither JPEG nor classic TIFF
    SourceDamaged,     // the photo is a JPEG or TIFF whose metadata is damaged
    OutputUnreadable,  // the output is a damaged JPEG or TIFF
    CannotRewrite,     // the metadata does not fit the output's structures (or memory ran out)
};

struct SCarryResult {
    ECarryOutcome outcome = ECarryOutcome::NothingToCarry;
    std::vector<uint8_t> rewritten; // the whole new output file when Done, else empty
};

// The output rewritten with firstPhoto's metadata. The output's pixels are untouched: a JPEG's
// tables and scans, a TIFF's strips and tiles keep their bytes. The Exif thumbnail is dropped,
// the Exif pixel dimensions become the output's size; the rest is kept as the photo has it,
// the maker note wherever it can stay byte for byte (a JPEG photo into a JPEG output). Every
// input is untrusted: a damaged one gives its outcome, never a broken file. A photo with nothing
// to carry is NothingToCarry whatever the output is; of the other outcomes those of the output
// come first (an output with Exif of its own needs nothing from a damaged photo). Does not throw.
SCarryResult CarryOver(std::span<const uint8_t> firstPhoto, std::span<const uint8_t> fusedOutput) noexcept;

// What the photo alone decides, before any output is read: NothingToCarry, SourceDamaged, or Done
// when it has metadata to carry (CarryOver then decides the rest); CannotRewrite when memory ran
// out. Does not throw.
ECarryOutcome CheckSource(std::span<const uint8_t> firstPhoto) noexcept;

// Whether the outcome is a failure that the user is told about (Done, OutputHasExif and
// NothingToCarry are not).
bool IsReportedFailure(ECarryOutcome outcome);
} // namespace lvp::metadata
