// Scans an XML text into its elements and their attributes, with positions.
#include "metadata/xml_scan.h"

namespace lvp::metadata {
namespace {
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class CScanner {
public:
    explicit CScanner(std::string_view text) : m_text(text) {}

    std::optional<std::vector<SXmlElement>> Run()
    {
        while ((m_pos = m_text.find('<', m_pos)) != std::string_view::npos)
            if (!Markup())
                return std::nullopt;
        if (!m_open.empty())
            return std::nullopt;
        return std::move(m_elements);
    }

private:
    bool Skip(std::string_view close)
    {
        const size_t at = m_text.find(close, m_pos);
        if (at == std::string_view::npos)
            return false;
        m_pos = at + close.size();
        return true;
    }

    std::string_view Name()
    {
        const size_t begin = m_pos;
        while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) && m_text[m_pos] != '>' &&
               m_text[m_pos] != '/' && m_text[m_pos] != '=')
            ++m_pos;
        return m_text.substr(begin, m_pos - begin);
    }

    void Spaces()
    {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos]))
            ++m_pos;
    }

    bool Markup()
    {
        const std::string_view rest = m_text.substr(m_pos);
        if (rest.starts_with("<!--"))
            return Skip("-->");
        if (rest.starts_with("<?"))
            return Skip("?>");
        if (rest.starts_with("<![CDATA["))
            return Skip("]]>");
        if (rest.starts_with("<!"))
            return false; // a document type declaration has no place in metadata
        if (rest.starts_with("</"))
            return EndTag();
        return StartTag();
    }

    bool EndTag()
    {
        const size_t at = m_pos;
        m_pos += 2;
        const std::string_view name = Name();
        Spaces();
        if (m_open.empty() || m_pos >= m_text.size() || m_text[m_pos] != '>' ||
            m_elements[m_open.back()].name != name)
            return false;
        SXmlElement& e = m_elements[m_open.back()];
        e.contentEnd = at;
        e.end = ++m_pos;
        m_open.pop_back();
        return true;
    }

    bool StartTag()
    {
        SXmlElement e;
        e.start = m_pos++;
        e.name = Name();
        e.parent = m_open.empty() ? -1 : m_open.back();
        if (e.name.empty())
            return false;
        for (;;) {
            const size_t before = m_pos;
            Spaces();
            if (m_pos >= m_text.size())
                return false;
            if (m_text[m_pos] == '>' || m_text.substr(m_pos).starts_with("/>")) {
                const bool empty = m_text[m_pos] == '/';
                m_pos += empty ? 2 : 1;
                e.contentBegin = e.contentEnd = e.end = m_pos;
                if (!empty)
                    m_open.push_back(static_cast<int>(m_elements.size()));
                m_elements.push_back(std::move(e));
                return true;
            }
            if (m_pos == before)
                return false; // attributes are separated by white space
            if (!Attribute(e, before))
                return false;
        }
    }

    bool Attribute(SXmlElement& e, size_t begin)
    {
        SXmlAttribute a;
        a.begin = begin;
        a.name = Name();
        Spaces();
        if (a.name.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=')
            return false;
        ++m_pos;
        Spaces();
        if (m_pos >= m_text.size() || (m_text[m_pos] != '"' && m_text[m_pos] != '\''))
            return false;
        const char quote = m_text[m_pos++];
        const size_t close = m_text.find(quote, m_pos);
        if (close == std::string_view::npos)
            return false;
        a.value = m_text.substr(m_pos, close - m_pos);
        m_pos = close + 1;
        a.end = m_pos;
        e.attributes.push_back(a);
        return true;
    }

    std::string_view m_text;
    size_t m_pos = 0;
    std::vector<SXmlElement> m_elements;
    std::vector<int> m_open;
};
} // namespace

std::optional<std::vector<SXmlElement>> ScanXml(std::string_view text)
{
    return CScanner(text).Run();
}

std::string_view LocalName(std::string_view name)
{
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

const SXmlElement* FindChild(const std::vector<SXmlElement>& elements, int parent, std::string_view local)
{
    for (const SXmlElement& e : elements)
        if (e.parent == parent && LocalName(e.name) == local)
            return &e;
    return nullptr;
}
} // namespace lvp::metadata
