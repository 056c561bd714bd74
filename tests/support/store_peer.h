// Read access to a settings store's maps, folders and paths, for tests, fuzz targets and
// benchmarks; the product goes through the store's operations only.
#pragma once
#include "settings/settings_store.h"

namespace lvp {
struct SSettingsStorePeer {
    static const CSettingsMap<std::u16string>& StringMap(const CSettingsStore& s) { return s.m_mapString; }
    static const CSettingsMap<int32_t>& IntMap(const CSettingsStore& s) { return s.m_mapInt; }
    static const CSettingsMap<bool>& BoolMap(const CSettingsStore& s) { return s.m_mapBool; }
    static const CSettingsMap<SBinData>& BinMap(const CSettingsStore& s) { return s.m_mapBin; }
    static bool IsOnCdRom(const CSettingsStore& s) { return s.m_bOnCdRom; }
    static const std::u16string& FilePath(const CSettingsStore& s) { return s.m_strFilePath; }
    static const std::u16string& Folder(const CSettingsStore& s) { return s.m_strFolder; }
    static const std::u16string& ExePath(const CSettingsStore& s) { return s.m_strExePath; }
    static const std::u16string& ExeFolder(const CSettingsStore& s) { return s.m_strExeFolder; }
};
} // namespace lvp
