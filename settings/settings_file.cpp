// The settings file lvp_hdr.xml: Save's fixed layout, Load's tolerant scanner.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/replace_file.h"
#include "settings/settings_store.h"
#include "settings/utf8_stream.h"

namespace lvp {
namespace {
constexpr std::u16string_view kMarker = u"<Settings>";

// Leading white space, an optional sign, then decimal digits up to the first other character;
// clamped to 32 bits, and 0 without digits.
int32_t ParseDecimal(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int64_t v = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        if (v <= INT64_C(2147483648))
            v = v * 10 + (text[i] - u'0');
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        return INT32_MAX;
    return v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

// The text between the next two double quotes at or after i; false when they are missing.
bool ReadQuoted(std::u16string_view t, size_t& i, std::u16string& out)
{
    const size_t open = t.find(u'"', i);
    if (open == std::u16string_view::npos)
        return false;
    const size_t close = t.find(u'"', open + 1);
    if (close == std::u16string_view::npos)
        return false;
    out.assign(t.substr(open + 1, close - open - 1));
    i = close + 1;
    return true;
}

bool StartsAt(std::u16string_view t, size_t i, std::u16string_view word)
{
    return i <= t.size() && t.substr(i).starts_with(word);
}
} // namespace

void CSettingsStore::Load(const std::u16string& path)
{
    m_strFilePath = path.empty() ? m_strFolder + u"lvp_hdr.xml" : path;
    // Until this Load has read the whole file, the maps may lack some of its entries, and a
    // Save would drop them from the file: an exception or a file too large to buffer leaves
    // the flag set, and Save then leaves the file alone.
    m_bLoadIncomplete = true;
    std::u16string text;
    {
        utf8_ifstream in(m_os.OpenForReading(m_strFilePath), m_os);
        in >> text;
        if (in.incomplete())
            return;
    }
    if (!text.empty())
        ReadSettingsText(text);
    m_bLoadIncomplete = false;
}

void CSettingsStore::ReadSettingsText(const std::u16string& text)
{
    int64_t found;
    if constexpr (std::endian::native == std::endian::little) {
        found = m_search.Find(reinterpret_cast<const uint8_t*>(text.data()), text.size() * 2);
    } else {
        std::vector<uint8_t> bytes;
        bytes.reserve(text.size() * 2);
        for (char16_t u : text) {
            bytes.push_back(static_cast<uint8_t>(u & 0xFF));
            bytes.push_back(static_cast<uint8_t>(u >> 8));
        }
        found = m_search.Find(bytes.data(), bytes.size());
    }
    if (found < 0)
        return;
    const std::u16string_view t(text);
    size_t i = static_cast<size_t>(found) / 2 + kMarker.size();
    while (i < t.size()) {
        if (!StartsAt(t, i, u"<c ")) {
            ++i;
            continue;
        }
        // One element. Without its "</c>" it runs on into the next one, whose parts replace
        // the ones read so far; the end of the text drops it and ends the scan.
        std::u16string key, type, value;
        i += 3;
        for (;;) {
            if (StartsAt(t, i, u"Attr")) {
                i += 4;
                if (!ReadQuoted(t, i, key))
                    return;
            }
            if (StartsAt(t, i, u"Type")) {
                i += 4;
                if (!ReadQuoted(t, i, type))
                    return;
            }
            if (i >= t.size())
                return;
            if (t[i] == u'>') {
                const size_t end = t.find(u'<', ++i);
                if (end == std::u16string_view::npos)
                    return;
                value.assign(t.substr(i, end - i));
                i = end;
            } else if (StartsAt(t, i, u"</c>")) {
                i += 4;
                CommitElement(key, type, value);
                break;
            } else {
                ++i;
            }
        }
    }
}

void CSettingsStore::CommitElement(const std::u16string& key, const std::u16string& type,
                                   const std::u16string& value)
{
    if (key.empty() || value.empty())
        return;
    if (type == u"string") {
        SetString(key, value, std::u16string(), false);
    } else if (type == u"bool") {
        m_mapBool[key] = value == u"true";
    } else if (type == u"int") {
        const int32_t n = ParseDecimal(value);
        if (n == -1)
            m_mapInt.Remove(key);
        else
            m_mapInt[key] = n;
    } else if (type == u"bin") {
        SetBinFromHex(key, value);
    }
}

// Writes the whole text of the file, from the mark the stream has written on.
void CSettingsStore::WriteSettingsText(utf8_ofstream& out) const
{
    out << u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    out.endl() << u"<Document>";
    out.endl() << u" <Author>lvp_hdr</Author>";
    out.endl() << u" <Version>1.3</Version>";
    out.endl() << u" <Settings>";
    out.endl();
    auto entry = [&out](const std::u16string& key, const char16_t* type) -> utf8_ofstream& {
        return out << u"  <c Attr=\"" << key << u"\" Type=\"" << type << u"\">";
    };
    m_mapString.ForEach([&](const std::u16string& key, const std::u16string& value) {
        if (!key.empty() && !value.empty())
            (entry(key, u"string") << value << u"</c>").endl();
    });
    m_mapBool.ForEach([&](const std::u16string& key, bool value) {
        if (!key.empty())
            (entry(key, u"bool") << (value ? u"true" : u"false") << u"</c>").endl();
    });
    m_mapInt.ForEach([&](const std::u16string& key, int32_t value) {
        if (!key.empty())
            (entry(key, u"int") << value << u"</c>").endl();
    });
    m_mapBin.ForEach([&](const std::u16string& key, const SBinData& bin) {
        if (key.empty() || bin.nLength == 0)
            return;
        entry(key, u"bin");
        out.m_bHex = true;
        for (int32_t k = 0; k < bin.nLength; ++k)
            out << static_cast<int32_t>(bin.pData[k]);
        out.m_bHex = false;
        (out << u"</c>").endl();
    });
    out << u" </Settings>";
    out.endl() << u"</Document>";
    out.endl();
}

void CSettingsStore::Save()
{
    if (m_strFilePath.empty() || m_bLoadIncomplete)
        return;
    // A read-only settings file is left as it is, even where its folder would allow a rename.
    if (m_os.IsReadOnlyFile(m_strFilePath))
        return;
    // A link stays a link: the file it names is replaced, in that file's own folder.
    const std::u16string target = m_os.ResolveLinks(m_strFilePath);
    // The new file is written beside the old one under a name no one else uses and then put
    // in its place in one step, so that a crash, a kill, a full disk or another process
    // saving at the same time never leaves a cut or mixed settings file behind. What a host
    // killed during its save left beside the file goes with the next save that succeeds.
    const platform::EReplaced replaced =
        platform::ReplaceThroughTemporary(m_os, target, target + u".", u".tmp", [this](platform::CFile file) {
            utf8_ofstream out(std::move(file), m_os);
            WriteSettingsText(out);
            const bool committed = out.commit();
            return out.close() && committed;
        });
    if (replaced == platform::EReplaced::Done || replaced == platform::EReplaced::NotWritten)
        return; // NotWritten: the disk refused the new text, and the old file stays
    SaveInPlace(target);
}

// Only the file itself can be written (its folder takes no new file, or the replace was
// refused). The new text goes over the old bytes without truncating first; only when all of
// it is on the disk is the file cut to its length. A failed write puts the old bytes back.
void CSettingsStore::SaveInPlace(const std::u16string& path) const
{
    platform::CFile file = m_os.OpenForUpdate(path);
    if (!file) {
        // No file yet: nothing can be lost, so it is simply created.
        if (!m_os.Exists(path)) {
            utf8_ofstream out(m_os.CreateNewFile(path), m_os);
            WriteSettingsText(out);
            out.commit();
        }
        return;
    }
    const int64_t length = m_os.FileLength(file.Get());
    if (length < 0 || static_cast<uint64_t>(length) > SIZE_MAX / 2)
        return;
    std::vector<uint8_t> old(static_cast<size_t>(length));
    if (m_os.Read(file.Get(), old.data(), old.size()) != old.size() ||
        std::fseek(file.Get(), 0, SEEK_SET) != 0)
        return; // what could not be read could not be put back
    {
        utf8_ofstream out(std::move(file), m_os);
        WriteSettingsText(out);
        bool ok = out.commit() && m_os.SetFileLength(out.file(), out.written());
        ok = m_os.FlushToDisk(out.file()) && ok;
        if (out.close() && ok)
            return;
    }
    // The stream is closed and its buffer gone; a fresh handle writes the old bytes back.
    platform::CFile restore = m_os.OpenForUpdate(path);
    if (!restore)
        return;
    m_os.Write(restore.Get(), old.data(), old.size());
    m_os.SetFileLength(restore.Get(), length);
    m_os.FlushToDisk(restore.Get());
    m_os.CloseFile(restore);
}
} // namespace lvp
