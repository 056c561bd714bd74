// Joins and splits XMP packets: the extended part of a JPEG's XMP, found and edited as text so
// that every byte not edited stays as the photo has it.
#include "metadata/xmp_packet.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "metadata/md5.h"
#include "metadata/xml_scan.h"

namespace lvp::metadata {
namespace {
constexpr size_t kGuidSize = 32;
constexpr size_t kPartHead = kGuidSize + 8; // the GUID, the full length, the offset
constexpr std::string_view kNote = "HasExtendedXMP";
constexpr std::string_view kNoteNamespace = "http://ns.adobe.com/xmp/note/";

std::string_view Text(std::span<const uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool IsGuid(std::string_view s)
{
    return s.size() == kGuidSize && std::all_of(s.begin(), s.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c));
           });
}

// One edit of a packet's text: at `at`, `remove` bytes replaced by `insert`.
struct SEdit {
    size_t at;
    size_t remove;
    std::string insert;
};

Bytes Apply(std::string_view text, std::vector<SEdit> edits)
{
    // At one place an insertion goes before a removal (a note replaced where one was).
    std::sort(edits.begin(), edits.end(), [](const SEdit& a, const SEdit& b) {
        return a.at != b.at ? a.at < b.at : a.remove < b.remove;
    });
    Bytes out;
    size_t from = 0;
    for (const SEdit& e : edits) {
        if (e.at < from)
            continue; // inside a part already removed
        out.insert(out.end(), text.begin() + from, text.begin() + e.at);
        out.insert(out.end(), e.insert.begin(), e.insert.end());
        from = e.at + e.remove;
    }
    out.insert(out.end(), text.begin() + from, text.end());
    return out;
}

bool IsDeclaration(const SXmlAttribute& a)
{
    return a.name == "xmlns" || a.name.starts_with("xmlns:");
}

// Edits that remove every note naming an extension (attribute or element).
std::vector<SEdit> RemoveNotes(const std::vector<SXmlElement>& elements)
{
    std::vector<SEdit> edits;
    for (const SXmlElement& e : elements) {
        if (LocalName(e.name) == kNote) {
            if (e.parent < 0 || LocalName(elements[e.parent].name) != kNote)
                edits.push_back({e.start, e.end - e.start, {}});
            continue;
        }
        for (const SXmlAttribute& a : e.attributes)
            if (LocalName(a.name) == kNote && !IsDeclaration(a))
                edits.push_back({a.begin, a.end - a.begin, {}});
    }
    return edits;
}

// The namespace declarations in scope at element `index` that it does not make itself, as
// attribute text: those of the nearest ancestor first.
std::string InheritedDeclarations(std::string_view text, const std::vector<SXmlElement>& elements, int index)
{
    std::set<std::string_view> seen;
    for (const SXmlAttribute& a : elements[index].attributes)
        if (IsDeclaration(a))
            seen.insert(a.name);
    std::string out;
    for (int p = elements[index].parent; p >= 0; p = elements[p].parent)
        for (const SXmlAttribute& a : elements[p].attributes)
            if (IsDeclaration(a) && seen.insert(a.name).second) {
                const char quote = text[a.end - 1];
                out.append(" ").append(a.name).append("=").append(1, quote).append(a.value).append(1, quote);
            }
    return out;
}

struct SScanned {
    std::string_view text;
    std::vector<SXmlElement> elements;
    int rdf = -1;
};

std::optional<SScanned> Scan(std::span<const uint8_t> packet)
{
    SScanned s{Text(packet), {}, -1};
    std::optional<std::vector<SXmlElement>> elements = ScanXml(s.text);
    if (!elements)
        return std::nullopt;
    s.elements = std::move(*elements);
    for (size_t i = 0; i < s.elements.size() && s.rdf < 0; ++i)
        if (LocalName(s.elements[i].name) == "RDF")
            s.rdf = static_cast<int>(i);
    if (s.rdf < 0)
        return std::nullopt;
    return s;
}

// Text inserted at the end of the rdf:RDF element's content (an empty element is opened).
SEdit AppendToRdf(const SScanned& s, std::string content)
{
    const SXmlElement& rdf = s.elements[s.rdf];
    if (rdf.end == rdf.contentEnd) // <rdf:RDF .../>
        return {rdf.end - 2, 2, ">" + content + "</" + std::string(rdf.name) + ">"};
    return {rdf.contentEnd, 0, std::move(content)};
}
// The padding before the packet's end, which is for writing in place (a new segment is not).
std::optional<SEdit> RemovePadding(const SScanned& s)
{
    const size_t trailer = s.text.rfind("<?xpacket end");
    if (trailer == std::string_view::npos || trailer == 0)
        return std::nullopt;
    const size_t last = s.text.find_last_not_of(" \t\r\n", trailer - 1);
    const size_t pad = last == std::string_view::npos ? 0 : last + 1;
    size_t end = 0;
    for (const SXmlElement& e : s.elements)
        end = std::max(end, e.end);
    if (pad + 1 >= trailer || pad < end)
        return std::nullopt;
    return SEdit{pad, trailer - pad, "\n"};
}

// The extended serialization of the moved properties (in document order): one description for
// each description they came from, with its subject and the namespaces in scope there.
Bytes Extension(const SScanned& s, const std::vector<int>& moved)
{
    std::string ext = "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
                      "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">";
    for (size_t i = 0; i < moved.size(); ++i) {
        const int d = s.elements[moved[i]].parent;
        if (i == 0 || s.elements[moved[i - 1]].parent != d) {
            ext += "<rdf:Description";
            bool about = false;
            for (const SXmlAttribute& a : s.elements[d].attributes) {
                if (IsDeclaration(a) || LocalName(a.name) == "about")
                    ext.append(s.text.substr(a.begin, a.end - a.begin));
                about = about || LocalName(a.name) == "about";
            }
            ext += std::string(about ? "" : " rdf:about=\"\"") +
                   InheritedDeclarations(s.text, s.elements, d) + ">";
        }
        const SXmlElement& e = s.elements[moved[i]];
        ext.append(s.text.substr(e.start, e.end - e.start));
        if (i + 1 == moved.size() || s.elements[moved[i + 1]].parent != d)
            ext += "</rdf:Description>";
    }
    ext += "</rdf:RDF></x:xmpmeta>";
    return Bytes(ext.begin(), ext.end());
}
} // namespace

namespace {
// The GUID a well-formed packet's note names: an attribute of an element, or an element's text.
// Text that only looks like a note (inside a processing instruction, a comment or another
// value) names nothing.
std::string GuidFromElements(std::string_view text, const std::vector<SXmlElement>& elements)
{
    for (const SXmlElement& e : elements) {
        if (LocalName(e.name) == kNote) {
            std::string_view content = text.substr(e.contentBegin, e.contentEnd - e.contentBegin);
            const size_t p = content.find_first_not_of(" \t\r\n");
            content = p == std::string_view::npos ? std::string_view() : content.substr(p, kGuidSize);
            if (IsGuid(content))
                return std::string(content);
            continue;
        }
        for (const SXmlAttribute& a : e.attributes) {
            if (LocalName(a.name) == kNote && !IsDeclaration(a) && a.value.size() >= kGuidSize &&
                IsGuid(a.value.substr(0, kGuidSize)))
                return std::string(a.value.substr(0, kGuidSize));
        }
    }
    return {};
}

// The GUID of a packet that is not well formed, by its text alone.
std::string GuidFromText(std::string_view text)
{
    for (size_t at = text.find(kNote); at != std::string_view::npos; at = text.find(kNote, at + 1)) {
        size_t p = text.find_first_not_of(" \t\r\n", at + kNote.size());
        if (p == std::string_view::npos)
            break;
        if (text[p] == '=') { // an attribute: ="GUID"
            p = text.find_first_not_of(" \t\r\n", p + 1);
            if (p == std::string_view::npos || (text[p] != '"' && text[p] != '\''))
                continue;
            ++p;
        } else if (text[p] == '>') { // an element: >GUID<
            ++p;
        } else {
            continue;
        }
        const std::string_view guid = text.substr(p, kGuidSize);
        if (IsGuid(guid))
            return std::string(guid);
    }
    return {};
}
} // namespace

std::string ExtendedXmpGuid(std::span<const uint8_t> packet)
{
    const std::string_view text = Text(packet);
    if (const std::optional<std::vector<SXmlElement>> elements = ScanXml(text))
        return GuidFromElements(text, *elements);
    return GuidFromText(text);
}

std::optional<Bytes> JoinExtendedXmp(const std::vector<std::span<const uint8_t>>& parts,
                                     std::string_view guid)
{
    std::vector<std::span<const uint8_t>> mine;
    for (const std::span<const uint8_t>& p : parts)
        if (p.size() >= kGuidSize && Text(p.first(kGuidSize)) == guid)
            mine.push_back(p);
    if (mine.empty())
        return Bytes{};
    size_t data = 0;
    for (const std::span<const uint8_t>& p : mine) {
        if (p.size() < kPartHead || BigU32(&p[kGuidSize]) != BigU32(&mine[0][kGuidSize]))
            return std::nullopt;
        data += p.size() - kPartHead;
    }
    const size_t full = BigU32(&mine[0][kGuidSize]);
    if (full > data) // more than the parts hold: some are missing
        return std::nullopt;
    std::sort(mine.begin(), mine.end(),
              [](auto a, auto b) { return BigU32(&a[kGuidSize + 4]) < BigU32(&b[kGuidSize + 4]); });
    Bytes out;
    out.reserve(full);
    for (const std::span<const uint8_t>& p : mine) {
        const size_t offset = BigU32(&p[kGuidSize + 4]);
        const std::span<const uint8_t> bytes = p.subspan(kPartHead);
        if (offset > out.size() || offset + bytes.size() > full)
            return std::nullopt;                // a gap, or past the full length
        if (offset + bytes.size() > out.size()) // a part repeated or overlapping adds only its rest
            out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(out.size() - offset),
                       bytes.end());
    }
    if (out.size() != full)
        return std::nullopt;
    return out;
}

std::vector<Bytes> ExtendedXmpParts(std::span<const uint8_t> extended, std::string_view guid, size_t maxData)
{
    std::vector<Bytes> parts;
    for (size_t offset = 0; offset < extended.size(); offset += maxData) {
        Bytes p(guid.begin(), guid.end());
        SByteOrder{true}.Append32(p, static_cast<uint32_t>(extended.size()));
        SByteOrder{true}.Append32(p, static_cast<uint32_t>(offset));
        const std::span<const uint8_t> data =
            extended.subspan(offset, std::min(maxData, extended.size() - offset));
        p.insert(p.end(), data.begin(), data.end());
        parts.push_back(std::move(p));
    }
    return parts;
}

std::optional<Bytes> MergeExtendedXmp(std::span<const uint8_t> main, std::span<const uint8_t> extended)
{
    const std::optional<SScanned> m = Scan(main), x = Scan(extended);
    if (!m || !x)
        return std::nullopt;
    std::string content;
    for (size_t i = 0; i < x->elements.size(); ++i) {
        const SXmlElement& e = x->elements[i];
        if (e.parent != x->rdf)
            continue;
        const size_t nameEnd = e.start + 1 + e.name.size();
        content.append(x->text.substr(e.start, nameEnd - e.start))
            .append(InheritedDeclarations(x->text, x->elements, static_cast<int>(i)))
            .append(x->text.substr(nameEnd, e.end - nameEnd));
    }
    std::vector<SEdit> edits = RemoveNotes(m->elements);
    edits.push_back(AppendToRdf(*m, std::move(content)));
    return Apply(m->text, std::move(edits));
}

std::optional<SXmpSplit> SplitXmp(std::span<const uint8_t> packet, size_t limit)
{
    const std::optional<SScanned> s = Scan(packet);
    if (!s)
        return std::nullopt;
    std::vector<SEdit> edits = RemoveNotes(s->elements);
    size_t size = s->text.size();
    for (const SEdit& e : edits)
        size -= e.remove;
    if (const std::optional<SEdit> pad = RemovePadding(*s)) {
        size -= pad->remove - pad->insert.size();
        edits.push_back(*pad);
    }
    if (size <= limit) // without its padding the packet fits
        return SXmpSplit{Apply(s->text, std::move(edits)), {}, {}};
    const SXmlElement* first = FindChild(s->elements, s->rdf, "Description");
    if (!first)
        return std::nullopt;
    bool declared = false;
    for (const SXmlAttribute& a : first->attributes)
        declared = declared || (a.name == "xmlns:xmpNote" && a.value == kNoteNamespace);
    // The note up to its value, which is the GUID and a closing quote.
    const std::string note =
        std::string(declared ? "" : " xmlns:xmpNote=\"" + std::string(kNoteNamespace) + "\"") +
        " xmpNote:HasExtendedXMP=\"";
    size += note.size() + kGuidSize + 1;
    // The element properties of every description, largest first.
    std::vector<int> properties;
    for (size_t i = 0; i < s->elements.size(); ++i) {
        const int parent = s->elements[i].parent;
        if (parent >= 0 && s->elements[parent].parent == s->rdf &&
            LocalName(s->elements[parent].name) == "Description" && LocalName(s->elements[i].name) != kNote)
            properties.push_back(static_cast<int>(i));
    }
    std::stable_sort(properties.begin(), properties.end(), [&](int a, int b) {
        return s->elements[a].end - s->elements[a].start > s->elements[b].end - s->elements[b].start;
    });
    std::vector<int> moved;
    for (int p : properties) {
        if (size <= limit)
            break;
        size -= s->elements[p].end - s->elements[p].start;
        moved.push_back(p);
    }
    if (size > limit)
        return std::nullopt;
    std::sort(moved.begin(), moved.end());
    for (int p : moved)
        edits.push_back({s->elements[p].start, s->elements[p].end - s->elements[p].start, {}});
    SXmpSplit split;
    split.extended = Extension(*s, moved);
    split.guid = Md5Hex(split.extended);
    edits.push_back({first->start + 1 + first->name.size(), 0, note + split.guid + "\""});
    split.main = Apply(s->text, std::move(edits));
    if (split.main.size() > limit) // a note inside a moved property was counted twice
        return std::nullopt;
    return split;
}
} // namespace lvp::metadata
