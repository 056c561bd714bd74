// Directory entries lifted out of a TIFF structure by tag table, and their writing into a new one.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "metadata/byte_order.h"
#include "metadata/tiff_ifd.h"

namespace lvp::metadata {
enum class ETagKind : uint8_t {
    Value,     // value holds the whole value
    Directory, // sub holds the entries of the directory the entry points to
    Verbatim,  // value holds the 4-byte value field as stored; its offset stays valid in place
};

struct STag {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    Bytes value; // in the byte order of the structure it came from
    std::vector<STag> sub;
    ETagKind kind = ETagKind::Value;
};
using TagList = std::vector<STag>;

// Which directory a list of tags belongs to; each has its table of what is carried.
enum class ETagSet : uint8_t { Ifd0, Exif, Gps, Interop };

// Tags of the camera's main directory that describe the photo (not the image's layout).
bool IsDescriptiveTag(uint16_t tag);
enum : uint16_t {
    kTagImageWidth = 256,
    kTagImageLength = 257,
    kTagXmp = 700,
    kTagIptc = 33723,
    kTagExifIfd = 34665,
    kTagGpsIfd = 34853,
    kTagIcc = 34675,
    kTagMakerNote = 37500,
    kTagPixelX = 40962,
    kTagPixelY = 40963,
    kTagInteropIfd = 40965
};
enum : uint16_t { kTypeByte = 1, kTypeShort = 3, kTypeLong = 4, kTypeUndefined = 7, kTypeIfd = 13 };

// The entries of the directory at offset that its set carries, sorted by tag, following the set's
// directory pointers. Empty when a directory is damaged or visited twice (seen holds those read).
std::optional<TagList> ReadTags(const CTiffView& view, uint32_t offset, ETagSet set,
                                std::vector<uint32_t>& seen);
// Reorders the bytes of every value from one byte order to the other.
void ConvertOrder(TagList& tags, SByteOrder from, SByteOrder to);
// Gives the entry the value n as one LONG, adding it in tag order where there is none; false when
// the entry is no plain value (a directory, or kept verbatim).
bool SetNumber(TagList& tags, uint16_t tag, uint32_t n, SByteOrder order);
// The directory's entries as stored (Verbatim): each keeps its value field, so the offsets of
// values outside it stay valid as long as the bytes of data stay where they are.
TagList VerbatimEntries(std::span<const uint8_t> data, const STiffIfd& ifd);
const STag* FindTag(const TagList& tags, uint16_t tag);
STag* FindTag(TagList& tags, uint16_t tag);
void SortTags(TagList& tags);
// Appends a directory of tags (sorted) to out, word aligned, then its values and directories;
// offsets count from base (the TIFF header's position). Returns the directory's offset; empty
// when an offset would not fit 32 bits.
std::optional<uint32_t> AppendIfd(Bytes& out, size_t base, const TagList& tags, SByteOrder order,
                                  uint32_t next);
} // namespace lvp::metadata
