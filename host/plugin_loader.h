// Loads a plug-in module and drives its exports in the host's calling order (used by lvphost and the tests).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/library.h"
#include "platform/utf.h"
#include "host/plugin_object.h"

namespace lvp {
class CPluginModule {
public:
    CPluginModule() = default;
    CPluginModule(const CPluginModule&) = delete;
    CPluginModule& operator=(const CPluginModule&) = delete;
    ~CPluginModule() { Unload(); }

    // Loads the module file and finds its four exports.
    bool Load(const std::u16string& path);
    // Load, then GetPluginVersion, GetPluginType (a kind other than function plug-in fails)
    // and GetPluginCnt, then GetPluginProc and the factory for every index.
    bool Open(const std::u16string& path);
    // One object per index; fails when a factory gives null.
    bool CreateObjects();
    // Deletes the objects (through the boundary, so the module frees them).
    void DestroyObjects();
    // Deletes the objects, then unloads the module.
    void Unload();

    // The exports themselves; only after a successful Load.
    CWideString CallGetPluginVersion() const { return CallVersionExport(m_pfnVersion); }
    std::int32_t CallGetPluginType() const { return m_pfnType(); }
    std::int32_t CallGetPluginCnt() const { return m_pfnCount(); }
    PluginFactory CallGetPluginProc(std::int32_t nIndex) const { return m_pfnProc(nIndex); }

    // What Open learned; the version is copied out of the module's string at once.
    const std::u16string& GetVersion() const { return m_strVersion; }
    std::int32_t GetType() const { return m_nType; }
    std::int32_t GetCount() const { return m_nCount; }
    std::vector<CPluginObject>& GetObjects() { return m_objects; }
    // Why the last Load, Open or CreateObjects failed, naming the module path.
    const std::u16string& GetError() const { return m_strError; }

private:
    bool Fail(const std::u16string& reason);

    platform::CLibrary m_library;
    std::u16string m_strPath;
    std::u16string m_strError;
    GetPluginVersionProc m_pfnVersion = nullptr;
    GetPluginTypeProc m_pfnType = nullptr;
    GetPluginCntProc m_pfnCount = nullptr;
    GetPluginProcProc m_pfnProc = nullptr;
    std::u16string m_strVersion;
    std::int32_t m_nType = 0;
    std::int32_t m_nCount = 0;
    std::vector<CPluginObject> m_objects; // created by the module, deleted before unload
};
} // namespace lvp
