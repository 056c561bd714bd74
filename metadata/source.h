// The metadata of the first photo of a series, lifted out of its JPEG or TIFF file.
#pragma once
#include <optional>
#include <span>
#include <vector>

#include "metadata/tag_tree.h"

namespace lvp::metadata {
struct SSource {
    SByteOrder order;             // of exifBlock and of the tags' values
    Bytes exifBlock;              // a JPEG photo's Exif TIFF block as stored; empty for a TIFF photo
    TagList ifd0;                 // the descriptive main-directory tags, the Exif and GPS directories
    Bytes xmp;                    // the XMP packet
    Bytes extendedXmp;            // the extended XMP the packet names, joined from its parts
    std::vector<Bytes> photoshop; // APP13 payloads after their signature, as stored
    Bytes iptc;                   // the IPTC-NAA records
    Bytes icc;                    // the colour profile

    bool Empty() const
    {
        return ifd0.empty() && xmp.empty() && iptc.empty() && photoshop.empty() && icc.empty();
    }
};

// Empty when the photo is a JPEG or classic TIFF and any part of its metadata is damaged; a file of
// any other format has nothing this reader can carry (an empty SSource).
std::optional<SSource> ReadSource(std::span<const uint8_t> photo);
// The IPTC-NAA records of a Photoshop resource block (resource 0x0404); empty bytes when it has
// none; no value when the block is damaged.
std::optional<Bytes> IptcFromResources(std::span<const uint8_t> irb);
} // namespace lvp::metadata
