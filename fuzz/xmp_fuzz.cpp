// Fuzz target: splitting an XMP packet to fit a segment and merging a packet with its extension.
// The input's first two bytes give the limit; the rest is a packet, then after a NUL an extension.
// A split must fit, stay well formed and name its extension by its digest; merging the parts
// again, and any merge, must give well-formed XML.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fuzz/check.h"
#include "metadata/md5.h"
#include "metadata/xml_scan.h"
#include "metadata/xmp_packet.h"

using lvp::fuzz::Check;
namespace md = lvp::metadata;

namespace {
bool WellFormed(std::span<const uint8_t> b)
{
    return md::ScanXml({reinterpret_cast<const char*>(b.data()), b.size()}).has_value();
}

void CheckMerge(std::span<const uint8_t> main, std::span<const uint8_t> extension)
{
    const std::optional<md::Bytes> merged = md::MergeExtendedXmp(main, extension);
    Check(!merged || WellFormed(*merged), "a merged packet is well formed");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t limit = data[0] | size_t{data[1]} << 8;
    const std::span<const uint8_t> input(data + 2, size - 2);
    const size_t nul = static_cast<size_t>(std::find(input.begin(), input.end(), 0) - input.begin());
    const std::span<const uint8_t> packet = input.first(nul);
    const std::span<const uint8_t> extension = input.subspan(std::min(nul + 1, input.size()));
    CheckMerge(packet, extension);
    const std::optional<md::SXmpSplit> split = md::SplitXmp(packet, limit);
    if (!split)
        return 0;
    Check(split->main.size() <= limit, "the main packet fits");
    Check(WellFormed(split->main), "the main packet is well formed");
    Check(split->extended.empty() == split->guid.empty(), "a GUID exactly with an extension");
    if (split->extended.empty())
        return 0;
    Check(WellFormed(split->extended), "the extension is well formed");
    Check(split->guid == md::Md5Hex(split->extended), "the GUID is the extension's digest");
    Check(md::ExtendedXmpGuid(split->main) == split->guid, "the main packet names the extension");
    const std::optional<md::Bytes> merged = md::MergeExtendedXmp(split->main, split->extended);
    Check(merged && WellFormed(*merged), "the parts merge again");
    return 0;
}
