// The elements of an XML text with where each starts and ends, for edits that keep every other
// byte (an XMP packet is XML); read without trusting the text.
#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace lvp::metadata {
struct SXmlAttribute {
    std::string_view name;
    std::string_view value; // between the quotes, entities as written
    size_t begin = 0;       // the white space before the name
    size_t end = 0;         // after the closing quote
};

struct SXmlElement {
    std::string_view name;
    std::vector<SXmlAttribute> attributes;
    size_t start = 0;        // its '<'
    size_t contentBegin = 0; // after the start tag
    size_t contentEnd = 0;   // the end tag's '<' (contentBegin for an empty element)
    size_t end = 0;          // after the end tag
    int parent = -1;         // index of the enclosing element
};

// Every element in document order; empty when the text is not well formed (tags that do not
// nest, a quote or comment left open, a document type declaration).
std::optional<std::vector<SXmlElement>> ScanXml(std::string_view text);
// The part of a qualified name after its prefix.
std::string_view LocalName(std::string_view name);
// The first child of elements[parent] (or a top element, parent -1) with that local name.
const SXmlElement* FindChild(const std::vector<SXmlElement>& elements, int parent, std::string_view local);
} // namespace lvp::metadata
