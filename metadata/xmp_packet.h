// An XMP packet too large for one JPEG segment and its extended part: the GUID that ties them, the
// parts the extended serialization is stored in, joining them into one packet and splitting one.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metadata/byte_order.h"

namespace lvp::metadata {
// The GUID (32 hexadecimal digits) the packet's xmpNote:HasExtendedXMP names; empty when none.
std::string ExtendedXmpGuid(std::span<const uint8_t> packet);

// The extended serialization from its parts (each the GUID, the full length, the offset and the
// data), taking those of this GUID in any order; empty when none has it; no value when they do
// not cover the full length exactly or disagree on it.
std::optional<Bytes> JoinExtendedXmp(const std::vector<std::span<const uint8_t>>& parts,
                                     std::string_view guid);
// The parts of the extended serialization, each with at most maxData bytes of it.
std::vector<Bytes> ExtendedXmpParts(std::span<const uint8_t> extended, std::string_view guid, size_t maxData);

// One packet: the main packet with the extended serialization's descriptions added to its
// rdf:RDF (with the namespaces they were declared under) and the note naming the extension
// removed. No value when either is not well-formed XML with an rdf:RDF.
std::optional<Bytes> MergeExtendedXmp(std::span<const uint8_t> main, std::span<const uint8_t> extended);

struct SXmpSplit {
    Bytes main;       // at most the limit: the packet less its padding and the properties moved
    Bytes extended;   // the moved properties, a packet of their own; empty when none had to move
    std::string guid; // names extended in main (empty with it)
};
// The packet split so that its main part fits the limit: its padding goes, then its largest
// element properties move to the extended serialization until it fits, and the main part names it. No value
// when the packet is not well-formed XMP or cannot be made to fit.
std::optional<SXmpSplit> SplitXmp(std::span<const uint8_t> packet, size_t limit);
} // namespace lvp::metadata
