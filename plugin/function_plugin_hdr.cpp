// CFunctionPluginHDR: construction and identity; the command's Start and Execute are the defaults for now.
#include "plugin/function_plugin_hdr.h"

#include "platform/locale.h"
#include "resources/strings.h"
#include "settings/settings_store.h"

namespace lvp {
namespace {
constexpr unsigned kIdsName = 100;
constexpr unsigned kIdsDescription = 101;
} // namespace

CFunctionPluginHDR::CFunctionPluginHDR() : m_hwndParent(nullptr)
{
    platform::SetRuntimeLocale();
    g_Settings.Load(u"");
}

CFunctionPluginHDR::~CFunctionPluginHDR() = default;

CWideString CFunctionPluginHDR::GetName()
{
    return CWideString(LoadModuleString(kIdsName));
}

CWideString CFunctionPluginHDR::GetDescription()
{
    return CWideString(LoadModuleString(kIdsDescription));
}

CFunctionPlugin* CreateFunctionPluginHDR()
{
    // nothrow: no memory gives null; the constructor's own exceptions still propagate,
    // and the object's memory is released before they do.
    return new (std::nothrow) CFunctionPluginHDR;
}
} // namespace lvp
