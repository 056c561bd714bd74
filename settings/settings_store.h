// CSettingsStore: the module's typed settings with defaults and corrections, its folder and file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/os.h"
#include "settings/ctsearch.h"
#include "settings/settings_map.h"
#include "settings/utf8_stream.h"

namespace lvp {
// The value of a binary setting. The store owns the buffer.
struct SBinData {
    int32_t nLength = 0;
    std::unique_ptr<uint8_t[]> pData;
};

class CSettingsStore {
public:
    // Chooses the settings folder with the platform's real services (runs at module load).
    CSettingsStore();
    // Chooses the settings folder with the given services, which must outlive the store.
    explicit CSettingsStore(const platform::COs& os);
    // Writes the file if a Load has run, then releases everything.
    ~CSettingsStore();
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    // Sets the file path (empty: the settings folder's "lvp_hdr.xml") and merges the file in.
    void Load(const std::u16string& path);
    // Writes all four maps to the file path; nothing when no Load has run.
    void Save();

    std::u16string GetString(const std::u16string& key, const std::u16string& def);
    void SetString(const std::u16string& key, const std::u16string& value, const std::u16string& def,
                   bool normalize);
    int32_t GetInt(const std::u16string& key, int32_t def);
    void SetInt(const std::u16string& key, int32_t value);
    void SetBinFromHex(const std::u16string& key, const std::u16string& text);
    // The JPEG quality, unsigned as the dialog and the command line have it; the store keeps its
    // 32 bits as the int entry "JpegQuality" (all bits set is -1, which removes the entry).
    uint32_t GetQuality();
    void SetQuality(uint32_t nQuality);
    // Whether a series is aligned before it is fused: the int entry "AlignImages", 1 (the
    // default, kept as no entry) or 0.
    bool GetAlignImages();
    void SetAlignImages(bool bAlign);
    // Whether a selection of several brackets is fused bracket by bracket: the int entry
    // "FuseEachBracket", 1 (the default, kept as no entry) or 0.
    bool GetFuseEachBracket();
    void SetFuseEachBracket(bool bEach);
    // What a series is: the int entry "FusionMode", 0 (an exposure series, the default, kept as
    // no entry) or 1 (a focus stack); a file's other value reads as 0.
    int32_t GetFusionMode();
    void SetFusionMode(int32_t nMode);

    std::u16string NormalizeString(const std::u16string& key, const std::u16string& value) const;
    int32_t NormalizeInt(const std::u16string& key, int32_t value) const;
    int32_t DefaultInt(const std::u16string& key) const;

private:
    friend struct SSettingsStorePeer; // tests' read access to the inside
    void LocateSettingsFolder();
    bool GetFlag(const std::u16string& key);
    void SetFlag(const std::u16string& key, bool bOn);
    void ReadSettingsText(const std::u16string& text);
    void CommitElement(const std::u16string& key, const std::u16string& type, const std::u16string& value);
    void WriteSettingsText(utf8_ofstream& out) const;
    void SaveInPlace(const std::u16string& path) const;

    const platform::COs& m_os;
    CTSearch m_search;
    CSettingsMap<std::u16string> m_mapString;
    CSettingsMap<int32_t> m_mapInt;
    CSettingsMap<bool> m_mapBool;
    CSettingsMap<SBinData> m_mapBin;
    bool m_bOnCdRom = false;
    bool m_bLoadIncomplete = false; // the last Load ended before reading the whole file
    std::u16string m_strFilePath;
    std::u16string m_strFolder;
    std::u16string m_strExePath;
    std::u16string m_strExeFolder;
};
} // namespace lvp
