// CPluginModule: the OS loader, the four exports and the objects, in the host's order.
#include "host/plugin_loader.h"

#include <string>

namespace lvp {
namespace {
template <typename T> bool Resolve(const platform::CLibrary& library, const char* name, T& pfn)
{
    pfn = reinterpret_cast<T>(library.FindSymbol(name));
    return pfn != nullptr;
}

std::u16string Ascii(const char* text)
{
    std::u16string out;
    for (; *text != '\0'; ++text)
        out += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return out;
}
} // namespace

bool CPluginModule::Fail(const std::u16string& reason)
{
    m_strError = u"module " + m_strPath + u": " + reason;
    return false;
}

bool CPluginModule::Load(const std::u16string& path)
{
    Unload();
    m_strPath = path;
    std::u16string reason;
    if (!m_library.Load(path, reason))
        return Fail(u"cannot be loaded: " + reason);
    const char* missing = nullptr;
    if (!Resolve(m_library, "GetPluginVersion", m_pfnVersion))
        missing = "GetPluginVersion";
    else if (!Resolve(m_library, "GetPluginType", m_pfnType))
        missing = "GetPluginType";
    else if (!Resolve(m_library, "GetPluginCnt", m_pfnCount))
        missing = "GetPluginCnt";
    else if (!Resolve(m_library, "GetPluginProc", m_pfnProc))
        missing = "GetPluginProc";
    if (missing != nullptr) {
        Unload();
        return Fail(u"not a plug-in module: no export " + Ascii(missing));
    }
    return true;
}

bool CPluginModule::Open(const std::u16string& path)
{
    if (!Load(path))
        return false;
    m_strVersion = CallGetPluginVersion().str();
    m_nType = CallGetPluginType();
    m_nCount = CallGetPluginCnt();
    if (m_nType != kFunctionPluginType) {
        Unload();
        return Fail(u"unknown plug-in type " + platform::DecimalText(m_nType));
    }
    return CreateObjects();
}

bool CPluginModule::CreateObjects()
{
    DestroyObjects();
    for (std::int32_t i = 0; i < m_nCount; ++i) {
        PluginFactory factory = CallGetPluginProc(i);
        CPluginObject object(factory != nullptr ? factory() : nullptr);
        if (!object)
            return Fail(u"object " + platform::DecimalText(i) + u" could not be created");
        m_objects.push_back(std::move(object));
    }
    return true;
}

void CPluginModule::DestroyObjects()
{
    // The newest first, the way they were stacked up.
    while (!m_objects.empty())
        m_objects.pop_back();
}

void CPluginModule::Unload()
{
    DestroyObjects();
    m_library.Unload();
    m_pfnVersion = nullptr;
    m_pfnType = nullptr;
    m_pfnCount = nullptr;
    m_pfnProc = nullptr;
}
} // namespace lvp
