// The tag tables of what is carried from each directory, and reading and writing tag lists.
#include "metadata/tag_tree.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lvp::metadata {
namespace {
// ImageDescription ... Software, DateTime, Artist, HostComputer, Rating, RatingPercent, Copyright,
// the XP* texts, and the resolution the camera stated.
constexpr uint16_t kDescriptive[] = {269, 270, 271,   272,   274,   282,   283,   296,   305,   306,
                                     315, 316, 18246, 18249, 33432, 40091, 40092, 40093, 40094, 40095};
// Of the other directories everything is carried but these: a maker note's inner offsets move
// with it, so outside a byte-for-byte copy it is dropped.
constexpr uint16_t kDropped[] = {kTagMakerNote};

struct SPointerRule {
    ETagSet in;
    uint16_t tag;
    ETagSet to;
};
constexpr SPointerRule kPointers[] = {{ETagSet::Ifd0, kTagExifIfd, ETagSet::Exif},
                                      {ETagSet::Ifd0, kTagGpsIfd, ETagSet::Gps},
                                      {ETagSet::Exif, kTagInteropIfd, ETagSet::Interop}};
// Directories any photo may hold at once: IFD0, Exif, GPS, Interop.
constexpr size_t kMaxDirectories = 4;

const SPointerRule* PointerRule(ETagSet set, uint16_t tag)
{
    for (const SPointerRule& r : kPointers)
        if (r.in == set && r.tag == tag)
            return &r;
    return nullptr;
}

bool Carried(ETagSet set, const STiffEntry& e)
{
    if (TiffTypeSize(e.type) == 0 || e.type == kTypeIfd)
        return false; // unknown layout, or a pointer this table does not follow
    if (set == ETagSet::Ifd0)
        return IsDescriptiveTag(e.tag);
    return std::find(std::begin(kDropped), std::end(kDropped), e.tag) == std::end(kDropped);
}

// Bytes per unit that a change of byte order reverses.
size_t SwapUnit(uint16_t type)
{
    switch (type) {
    case 3:
    case 8:
        return 2;
    case 4:
    case 5:
    case 9:
    case 10:
    case 11:
    case 13:
        return 4;
    case 12:
        return 8;
    default:
        return 1;
    }
}

void AlignWord(Bytes& out, size_t base)
{
    if ((out.size() - base) % 2 != 0)
        out.push_back(0);
}
} // namespace

bool IsDescriptiveTag(uint16_t tag)
{
    return std::find(std::begin(kDescriptive), std::end(kDescriptive), tag) != std::end(kDescriptive);
}

std::optional<TagList> ReadTags(const CTiffView& view, uint32_t offset, ETagSet set,
                                std::vector<uint32_t>& seen)
{
    if (std::find(seen.begin(), seen.end(), offset) != seen.end() || seen.size() >= kMaxDirectories)
        return std::nullopt;
    seen.push_back(offset);
    const std::optional<STiffIfd> ifd = view.ReadIfd(offset);
    if (!ifd)
        return std::nullopt;
    TagList tags;
    for (const STiffEntry& e : ifd->entries) {
        if (const SPointerRule* rule = PointerRule(set, e.tag)) {
            const std::optional<uint32_t> at = view.Number(e);
            std::optional<TagList> sub = at ? ReadTags(view, *at, rule->to, seen) : std::nullopt;
            if (!sub)
                return std::nullopt;
            tags.push_back({e.tag, kTypeLong, 1, {}, std::move(*sub), ETagKind::Directory});
        } else if (Carried(set, e)) {
            const std::span<const uint8_t> v = view.Value(e);
            tags.push_back({e.tag, e.type, e.count, Bytes(v.begin(), v.end()), {}, ETagKind::Value});
        }
    }
    SortTags(tags);
    return tags;
}

void ConvertOrder(TagList& tags, SByteOrder from, SByteOrder to)
{
    if (from == to)
        return;
    for (STag& t : tags) {
        ConvertOrder(t.sub, from, to);
        const size_t unit = SwapUnit(t.type);
        if (t.kind != ETagKind::Value || unit == 1)
            continue;
        for (size_t i = 0; i + unit <= t.value.size(); i += unit)
            std::reverse(t.value.begin() + static_cast<std::ptrdiff_t>(i),
                         t.value.begin() + static_cast<std::ptrdiff_t>(i + unit));
    }
}

const STag* FindTag(const TagList& tags, uint16_t tag)
{
    auto it = std::find_if(tags.begin(), tags.end(), [tag](const STag& t) { return t.tag == tag; });
    return it == tags.end() ? nullptr : &*it;
}

STag* FindTag(TagList& tags, uint16_t tag)
{
    return const_cast<STag*>(FindTag(static_cast<const TagList&>(tags), tag));
}

bool SetNumber(TagList& tags, uint16_t tag, uint32_t n, SByteOrder order)
{
    STag* t = FindTag(tags, tag);
    if (!t) {
        const auto at = std::find_if(tags.begin(), tags.end(), [tag](const STag& s) { return s.tag > tag; });
        t = &*tags.insert(at, STag{tag, kTypeLong, 1, {}, {}, ETagKind::Value});
    }
    if (t->kind != ETagKind::Value)
        return false;
    t->type = kTypeLong;
    t->count = 1;
    t->value.assign(4, 0);
    order.Put32(t->value.data(), n);
    return true;
}

TagList VerbatimEntries(std::span<const uint8_t> data, const STiffIfd& ifd)
{
    TagList tags;
    for (const STiffEntry& e : ifd.entries) {
        const auto field = data.subspan(e.entry + 8, 4);
        tags.push_back({e.tag, e.type, e.count, Bytes(field.begin(), field.end()), {}, ETagKind::Verbatim});
    }
    return tags;
}

void SortTags(TagList& tags)
{
    std::stable_sort(tags.begin(), tags.end(), [](const STag& a, const STag& b) { return a.tag < b.tag; });
}

std::optional<uint32_t> AppendIfd(Bytes& out, size_t base, const TagList& tags, SByteOrder order,
                                  uint32_t next)
{
    constexpr size_t kMax = std::numeric_limits<uint32_t>::max();
    AlignWord(out, base);
    const size_t at = out.size();
    out.resize(at + 2 + 12 * tags.size() + 4, 0);
    order.Put16(&out[at], static_cast<uint16_t>(tags.size()));
    for (size_t i = 0; i < tags.size(); ++i) {
        const STag& t = tags[i];
        uint8_t field[4] = {};
        if (t.kind == ETagKind::Directory) {
            const std::optional<uint32_t> sub = AppendIfd(out, base, t.sub, order, 0);
            if (!sub)
                return std::nullopt;
            order.Put32(field, *sub);
        } else if (t.value.size() <= 4) {
            if (!t.value.empty())
                std::memcpy(field, t.value.data(), t.value.size());
        } else {
            AlignWord(out, base);
            if (out.size() - base > kMax)
                return std::nullopt;
            order.Put32(field, static_cast<uint32_t>(out.size() - base));
            out.insert(out.end(), t.value.begin(), t.value.end());
        }
        uint8_t* entry = &out[at + 2 + 12 * i];
        order.Put16(entry, t.tag);
        order.Put16(entry + 2, t.type);
        order.Put32(entry + 4, t.count);
        std::memcpy(entry + 8, field, 4);
    }
    order.Put32(&out[at + 2 + 12 * tags.size()], next);
    if (out.size() - base > kMax || tags.size() > 0xFFFF)
        return std::nullopt;
    return static_cast<uint32_t>(at - base);
}
} // namespace lvp::metadata
