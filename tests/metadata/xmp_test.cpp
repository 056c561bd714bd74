// XMP packets too large for one JPEG segment: the digest that names the extension, the XML
// scanner under damaged text, the joining of extension parts, and splitting and merging again.
#include <gtest/gtest.h>

#include "metadata/md5.h"
#include "metadata/xml_scan.h"
#include "metadata/xmp_packet.h"
#include "tests/metadata/fixtures.h"

namespace lvp::metadata::test {
namespace {
std::string Str(const Bytes& b)
{
    return {b.begin(), b.end()};
}

TEST(Md5Test, KnownDigests)
{
    const struct {
        std::string input, hex;
    } cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {std::string(55, 'a'), "EF1772B6DFF9A122358552954AD0DF65"}, // the length still fits the block
        {std::string(56, 'a'), "3B0C8AC703F828B04C6C197006D17218"}, // the length needs a second block
        {std::string(64, 'a'), "014842D480B571495A4A0363793F7367"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Md5Hex(FromString(c.input)), c.hex) << c.input.size() << " bytes";
}

TEST(XmlScanTest, WellFormedAndDamagedTexts)
{
    const std::optional<std::vector<SXmlElement>> good = ScanXml(
        "<?xpacket begin='' id='W'?><!-- a > b --><a x='1>2' y = \"q'\"><b/><![CDATA[<c>]]><d>t</d></a>");
    ASSERT_TRUE(good);
    ASSERT_EQ(good->size(), 3u);
    EXPECT_EQ((*good)[0].name, "a");
    ASSERT_EQ((*good)[0].attributes.size(), 2u);
    EXPECT_EQ((*good)[0].attributes[0].value, "1>2");
    EXPECT_EQ((*good)[0].attributes[1].value, "q'");
    EXPECT_EQ((*good)[2].parent, 0);
    const char* const damaged[] = {
        "<a>",
        "<a></b>",
        "</a>",
        "<a x='1></a>",
        "<a x=1></a>",
        "<a><!-- </a>",
        "<!DOCTYPE a><a/>",
        "<a x='1'y='2'/>",
        "<a x></a>",
        "<>",
        "<a",
        "<a><![CDATA[</a>",
    };
    for (const char* text : damaged)
        EXPECT_FALSE(ScanXml(text)) << text;
}

// An extension part as a writer stores it: GUID, full length, offset, data.
Bytes Part(std::string_view guid, uint32_t full, uint32_t offset, std::string_view data)
{
    Bytes p = FromString(guid);
    for (uint32_t v : {full, offset})
        for (int shift = 24; shift >= 0; shift -= 8)
            p.push_back(static_cast<uint8_t>(v >> shift));
    p.insert(p.end(), data.begin(), data.end());
    return p;
}

TEST(ExtendedXmpTest, JoinsThePartsOfTheNamedGuid)
{
    const std::string g(32, 'A'), other(32, 'B');
    using P = std::vector<Bytes>;
    const struct {
        const char* name;
        P parts;
        std::optional<std::string> joined;
    } cases[] = {
        {"in order", {Part(g, 6, 0, "abc"), Part(g, 6, 3, "def")}, "abcdef"},
        {"reversed", {Part(g, 6, 3, "def"), Part(g, 6, 0, "abc")}, "abcdef"},
        {"a part repeated", {Part(g, 6, 0, "abc"), Part(g, 6, 0, "abc"), Part(g, 6, 3, "def")}, "abcdef"},
        {"another GUID's parts left", {Part(other, 3, 0, "xyz"), Part(g, 3, 0, "abc")}, "abc"},
        {"none of this GUID", {Part(other, 3, 0, "xyz")}, ""},
        {"a part missing", {Part(g, 6, 0, "abc")}, std::nullopt},
        {"a gap", {Part(g, 9, 0, "abc"), Part(g, 9, 6, "ghi"), Part(g, 9, 6, "ghi")}, std::nullopt},
        {"lengths disagree", {Part(g, 6, 0, "abc"), Part(g, 7, 3, "def")}, std::nullopt},
        {"past the full length", {Part(g, 4, 0, "abc"), Part(g, 4, 3, "def")}, std::nullopt},
        {"offset beyond 4 GB", {Part(g, 3, 0xFFFFFFFF, "abc")}, std::nullopt},
        {"a head cut short", {Bytes(g.begin(), g.end())}, std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<std::span<const uint8_t>> spans(c.parts.begin(), c.parts.end());
        const std::optional<Bytes> joined = JoinExtendedXmp(spans, g);
        ASSERT_EQ(joined.has_value(), c.joined.has_value()) << c.name;
        if (joined) {
            EXPECT_EQ(Str(*joined), *c.joined) << c.name;
        }
    }
}

TEST(ExtendedXmpTest, FindsTheGuidTheNoteNames)
{
    const std::string g = "0123456789ABCDEF0123456789abcdef";
    const struct {
        std::string packet, guid;
    } cases[] = {
        {"<d xmpNote:HasExtendedXMP=\"" + g + "\"/>", g},
        {"<d xmpNote:HasExtendedXMP = '" + g + "'/>", g},
        {"<xmpNote:HasExtendedXMP>" + g + "</xmpNote:HasExtendedXMP>", g},
        {"<d xmpNote:HasExtendedXMP=\"short\"/><e n:HasExtendedXMP='" + g + "'/>", g},
        {"<d xmpNote:HasExtendedXMP=\"" + std::string(32, 'G') + "\"/>", ""},
        {"<d xmpNote:HasExtendedXMP=\"0123\"/>", ""},
        {"HasExtendedXMP", ""},
        // Text that only looks like a note names nothing: in the packet's processing instruction,
        // in a comment, inside another value.
        {"<?xpacket begin='' xmpNote:HasExtendedXMP='" + std::string(32, 'A') +
             "'?><d xmpNote:HasExtendedXMP='" + g + "'/>",
         g},
        {"<!-- xmpNote:HasExtendedXMP='" + std::string(32, 'B') + "' --><d xmpNote:HasExtendedXMP='" + g +
             "'/>",
         g},
        {"<d t=\"xmpNote:HasExtendedXMP='" + std::string(32, 'C') + "'\"/>", ""},
        {"<xmpNote:HasExtendedXMP>\n  " + g + "\n</xmpNote:HasExtendedXMP>", g},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtendedXmpGuid(FromString(c.packet)), c.guid) << c.packet;
}

// A packet of a photo whose history makes it too large for one segment.
std::string LargePacket(size_t historySize)
{
    return "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
           "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n <rdf:RDF "
           "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'"
           " xmlns:dc='http://purl.org/dc/elements/1.1/'>\n"
           "  <rdf:Description rdf:about='' xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmp:Rating='4'>\n"
           "   <dc:subject><rdf:Bag><rdf:li>Berge</rdf:li></rdf:Bag></dc:subject>\n"
           "   <dc:description><rdf:Alt><rdf:li xml:lang='x-default'>" +
           std::string(historySize, 'h') +
           "</rdf:li></rdf:Alt></dc:description>\n"
           "  </rdf:Description>\n"
           "  <rdf:Description rdf:about='' xmlns:photoshop='http://ns.adobe.com/photoshop/1.0/'>\n"
           "   <photoshop:History>" +
           std::string(historySize / 2, 'p') +
           "</photoshop:History>\n   <photoshop:City>Innsbruck</photoshop:City>\n"
           "  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n" +
           std::string(2000, ' ') + "\n<?xpacket end='w'?>";
}

TEST(ExtendedXmpTest, SplitMovesTheLargestPropertiesAndMergeJoinsThemAgain)
{
    const size_t limit = 65504;
    // Without its padding the first fits as it is.
    const std::optional<SXmpSplit> trimmed = SplitXmp(FromString(LargePacket(42000)), limit);
    ASSERT_TRUE(trimmed);
    EXPECT_LE(trimmed->main.size(), limit);
    EXPECT_TRUE(trimmed->extended.empty());
    EXPECT_EQ(ExtendedXmpGuid(trimmed->main), "");
    EXPECT_NE(Str(trimmed->main).find(std::string(42000, 'h')), std::string::npos);
    for (const size_t history : {size_t{45000}, size_t{70000}, size_t{300000}}) {
        const Bytes packet = FromString(LargePacket(history));
        const std::optional<SXmpSplit> split = SplitXmp(packet, limit);
        ASSERT_TRUE(split) << history;
        const std::string main = Str(split->main), ext = Str(split->extended);
        EXPECT_LE(main.size(), limit) << history;
        EXPECT_EQ(split->guid, Md5Hex(split->extended));
        EXPECT_EQ(ExtendedXmpGuid(split->main), split->guid) << "the main packet names its extension";
        EXPECT_NE(main.find("xmp:Rating='4'"), std::string::npos) << "small properties stay";
        EXPECT_NE(main.find("<rdf:li>Berge</rdf:li>"), std::string::npos);
        EXPECT_NE(main.find("<photoshop:City>"), std::string::npos);
        EXPECT_NE(ext.find(std::string(history, 'h')), std::string::npos) << "the largest moved whole";
        EXPECT_EQ(main.find(std::string(200, ' ')), std::string::npos) << "the padding is gone";
        EXPECT_TRUE(main.ends_with("<?xpacket end='w'?>"));
        // Each part a packet of its own, the extension's moved properties under the namespaces
        // they were declared with.
        ASSERT_TRUE(ScanXml(main)) << history;
        ASSERT_TRUE(ScanXml(ext)) << history;
        EXPECT_NE(ext.find("xmlns:dc='http://purl.org/dc/elements/1.1/'"), std::string::npos);
        if (history / 2 > limit) {
            EXPECT_NE(ext.find("xmlns:photoshop="), std::string::npos);
            EXPECT_NE(ext.find("<photoshop:History>"), std::string::npos);
        }
        const std::optional<Bytes> merged = MergeExtendedXmp(split->main, split->extended);
        ASSERT_TRUE(merged);
        const std::string one = Str(*merged);
        EXPECT_EQ(ExtendedXmpGuid(*merged), "") << "the merged packet names no extension";
        for (const std::string& piece : {std::string(history, 'h'), std::string(history / 2, 'p'),
                                         std::string("xmp:Rating='4'"), std::string("Innsbruck")})
            EXPECT_NE(one.find(piece), std::string::npos) << history;
        EXPECT_TRUE(ScanXml(one));
    }
}

TEST(ExtendedXmpTest, WhatCannotBeSplitOrMerged)
{
    const Bytes fine = FromString(LargePacket(70000));
    // Nothing but attributes: no property can move.
    const Bytes attributes = FromString("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF><rdf:Description a='" +
                                        std::string(70000, 'a') + "'/></rdf:RDF></x:xmpmeta>");
    const struct {
        const char* name;
        Bytes packet;
        bool mergeable; // as either part
    } cases[] = {
        {"not XML", Bytes(70000, 'x'), false},
        {"no rdf:RDF", FromString("<a>" + std::string(70000, 'a') + "</a>"), false},
        {"no description", FromString("<rdf:RDF><b>" + std::string(70000, 'a') + "</b></rdf:RDF>"), true},
        {"only attributes", attributes, true},
        {"cut short", Bytes(fine.begin(), fine.end() - 3000), false},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(SplitXmp(c.packet, 65504)) << c.name;
        EXPECT_EQ(MergeExtendedXmp(c.packet, fine).has_value(), c.mergeable) << c.name;
        EXPECT_EQ(MergeExtendedXmp(fine, c.packet).has_value(), c.mergeable) << c.name;
    }
    // Notes of an earlier extension are never left to name the wrong one, even under a prefix
    // that begins like a declaration or inside a property that moves.
    for (const std::string& stale : {std::string(" xmlnsq:HasExtendedXMP='") + std::string(32, 'A') + "'",
                                     std::string(" n:HasExtendedXMP='") + std::string(32, 'B') + "'"}) {
        std::string text = LargePacket(70000);
        text.insert(text.find("<dc:description>") + 16, "<q" + stale + "/>");
        text.insert(text.find("xmp:Rating"), stale.substr(1) + " ");
        const std::optional<SXmpSplit> split = SplitXmp(FromString(text), 65504);
        ASSERT_TRUE(split);
        EXPECT_LE(split->main.size(), 65504u);
        EXPECT_EQ(ExtendedXmpGuid(split->main), split->guid) << stale;
        EXPECT_EQ(Str(split->main).find(stale.substr(stale.size() - 33, 32)), std::string::npos) << stale;
    }
    // An empty rdf:RDF is opened for what is merged into it.
    const std::optional<Bytes> merged = MergeExtendedXmp(
        FromString("<x:xmpmeta><rdf:RDF xmlns:rdf='r'/></x:xmpmeta>"),
        FromString("<x:xmpmeta xmlns:n='n'><rdf:RDF><rdf:Description n:a='1'/></rdf:RDF></x:xmpmeta>"));
    ASSERT_TRUE(merged);
    EXPECT_EQ(
        Str(*merged),
        "<x:xmpmeta><rdf:RDF xmlns:rdf='r'><rdf:Description xmlns:n='n' n:a='1'/></rdf:RDF></x:xmpmeta>");
}
} // namespace
} // namespace lvp::metadata::test
