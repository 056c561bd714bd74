// CSettingsStore: construction with the folder choice, the typed accessors and their rules.
#include "settings/settings_store.h"

#include "platform/path.h"
#include "settings/settings_paths.h"

namespace lvp {
namespace {
constexpr char16_t kKeyQuality[] = u"JpegQuality";
constexpr char16_t kKeyAlign[] = u"AlignImages"; // 1: align a series before fusing it, 0: do not
constexpr char16_t kKeyFuseEach[] =
    u"FuseEachBracket"; // 1: fuse each bracket of a shoot on its own, 0: all as one
constexpr char16_t kKeyFusionMode[] = u"FusionMode"; // 0: an exposure series, 1: a focus stack

// The int entries that hold a choice: 1 (the default, kept as no entry) or 0.
bool IsFlagKey(const std::u16string& key)
{
    return key == kKeyAlign || key == kKeyFuseEach;
}

// "<Settings>" as UTF-16 little-endian bytes, the marker Load looks for.
constexpr uint8_t kSettingsMarker[] = {'<', 0, 'S', 0, 'e', 0, 't', 0, 't', 0,
                                       'i', 0, 'n', 0, 'g', 0, 's', 0, '>', 0};

// Replaces every occurrence of from, left to right, without rescanning what was put in.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to)
{
    size_t pos = text.find(from);
    if (pos == std::u16string::npos)
        return;
    std::u16string out;
    out.reserve(text.size());
    size_t done = 0;
    for (; pos != std::u16string::npos; pos = text.find(from, done)) {
        out.append(text, done, pos - done);
        out += to;
        done = pos + from.size();
    }
    out.append(text, done);
    text.swap(out);
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 0; // uppercase digits included: stored files rely on this
}
} // namespace

CSettingsStore::CSettingsStore() : CSettingsStore(platform::RealOs()) {}

CSettingsStore::CSettingsStore(const platform::COs& os)
    : m_os(os), m_search(kSettingsMarker, static_cast<int32_t>(sizeof kSettingsMarker))
{
    LocateSettingsFolder();
}

CSettingsStore::~CSettingsStore()
{
    if (m_strFilePath.empty())
        return;
    try {
        Save();
    } catch (...) {
        // Running at module unload: an out-of-memory failure here must not end the host.
    }
}

void CSettingsStore::LocateSettingsFolder()
{
    const char16_t sep = m_os.PathSeparator();
    m_strExeFolder = {u'.', sep};
    std::u16string exe = m_os.ExecutablePath();
    if (!exe.empty()) {
        m_strExePath = exe;
        m_strExeFolder = platform::FolderOf(exe, std::u16string_view(&sep, 1));
    }
    if (!m_strExeFolder.empty() && IsPathOnCdRom(m_os, m_strExeFolder))
        m_bOnCdRom = true;

    // The probe file is closed again at once by its holder.
    const bool bBesideExe = static_cast<bool>(m_os.OpenForReading(m_strExeFolder + u"lvp_hdr.xml"));
    if (m_bOnCdRom || bBesideExe) {
        m_strFolder = m_strExeFolder;
    } else {
        const std::u16string docs = m_os.DocumentsFolder();
        std::u16string appData = m_os.AppDataFolder();
        if (!appData.empty()) {
            appData += sep;
            appData += u"Lumivant";
            // A path beyond the platform's buffers fails this step like a failed creation.
            if (appData.size() > m_os.MaxPathLength() ||
                (!FolderExists(m_os, appData) && !m_os.CreateFolder(appData)))
                appData.clear();
        }
        m_strFolder = appData.empty() ? docs : appData;
        if (!IsFolderWritable(m_os, m_strFolder))
            m_strFolder = m_strExeFolder;
    }
    AddTrailingBackslash(m_strFolder, sep);
}

std::u16string CSettingsStore::GetString(const std::u16string& key, const std::u16string& def)
{
    const std::u16string* stored = m_mapString.Find(key);
    std::u16string result = stored ? *stored : !def.empty() ? def : NormalizeString(key, std::u16string());
    ReplaceAll(result, u"__&lt;__", u"<");
    ReplaceAll(result, u"__&gt;__", u">");
    return result;
}

void CSettingsStore::SetString(const std::u16string& key, const std::u16string& value,
                               const std::u16string& def, bool normalize)
{
    if (value == def) {
        m_mapString.Remove(key);
        return;
    }
    std::u16string v = normalize ? NormalizeString(key, value) : value;
    if (v.empty()) {
        m_mapString.Remove(key);
        return;
    }
    ReplaceAll(v, u"<", u"__&lt;__");
    ReplaceAll(v, u">", u"__&gt;__");
    m_mapString[key] = std::move(v);
}

std::u16string CSettingsStore::NormalizeString(const std::u16string& key, const std::u16string& value) const
{
    if (key.empty())
        return {};
    if (key == u"PictureListExtension") {
        if (value.size() < 2)
            return u".csv";
        return value[0] == u'.' ? value : u"." + value;
    }
    if (key == u"PanoramaSplitTargetFolder" || key == u"IndexTargetFolder" || key == u"HTMLTargetFolder") {
        std::u16string v = value;
        AddTrailingBackslash(v, m_os.PathSeparator());
        return v;
    }
    if (key == u"IndexFileName")
        return value.empty() ? u"index%02d.jpg" : value;
    if (key == u"ExternalMediaTargetDir" || key == u"TransferSourceDir" || key == u"TransferTargetDir")
        return FolderExists(m_os, value) ? value : std::u16string();
    if (key == u"HTMLTargetFileName") {
        if (value.empty())
            return u"index.html";
        return value.find(u'.') == std::u16string::npos ? value + u".html" : value;
    }
    return value;
}

int32_t CSettingsStore::DefaultInt(const std::u16string& key) const
{
    if (key.empty())
        return 0;
    if (IsFlagKey(key))
        return 1;
    if (key == kKeyFusionMode)
        return 0;
    return key == kKeyQuality ? 95 : -1;
}

int32_t CSettingsStore::NormalizeInt(const std::u16string& key, int32_t value) const
{
    if (key.empty())
        return 0;
    if (key == kKeyQuality)
        return value >= 1 && value <= 100 ? value : 95;
    if (IsFlagKey(key))
        return value == 0 ? 0 : 1;
    if (key == kKeyFusionMode)
        return value == 1 ? 1 : 0;
    return value;
}

int32_t CSettingsStore::GetInt(const std::u16string& key, int32_t def)
{
    if (key.empty())
        return def;
    if (const int32_t* stored = m_mapInt.Find(key)) {
        const int32_t v = *stored;
        if (v == def)
            m_mapInt.Remove(key); // a stored default is pruned on read
        return NormalizeInt(key, v);
    }
    return NormalizeInt(key, def);
}

void CSettingsStore::SetInt(const std::u16string& key, int32_t value)
{
    if (value == -1 || value == DefaultInt(key)) {
        m_mapInt.Remove(key);
        return;
    }
    m_mapInt[key] = NormalizeInt(key, value);
}

uint32_t CSettingsStore::GetQuality()
{
    return static_cast<uint32_t>(GetInt(kKeyQuality, DefaultInt(kKeyQuality)));
}

void CSettingsStore::SetQuality(uint32_t nQuality)
{
    SetInt(kKeyQuality, static_cast<int32_t>(nQuality));
}

bool CSettingsStore::GetFlag(const std::u16string& key)
{
    return GetInt(key, DefaultInt(key)) != 0;
}

void CSettingsStore::SetFlag(const std::u16string& key, bool bOn)
{
    SetInt(key, bOn ? 1 : 0);
}

bool CSettingsStore::GetAlignImages()
{
    return GetFlag(kKeyAlign);
}

void CSettingsStore::SetAlignImages(bool bAlign)
{
    SetFlag(kKeyAlign, bAlign);
}

bool CSettingsStore::GetFuseEachBracket()
{
    return GetFlag(kKeyFuseEach);
}

void CSettingsStore::SetFuseEachBracket(bool bEach)
{
    SetFlag(kKeyFuseEach, bEach);
}

int32_t CSettingsStore::GetFusionMode()
{
    return GetInt(kKeyFusionMode, DefaultInt(kKeyFusionMode));
}

void CSettingsStore::SetFusionMode(int32_t nMode)
{
    SetInt(kKeyFusionMode, nMode);
}

void CSettingsStore::SetBinFromHex(const std::u16string& key, const std::u16string& text)
{
    const size_t n = text.size() / 2;
    std::unique_ptr<uint8_t[]> data(new uint8_t[n]);
    for (size_t k = 0; k < n; ++k)
        data[k] = static_cast<uint8_t>(16 * HexDigit(text[2 * k]) + HexDigit(text[2 * k + 1]));
    SBinData& entry = m_mapBin[key];
    entry.pData = std::move(data); // releases the old buffer
    entry.nLength = static_cast<int32_t>(n);
}
} // namespace lvp
