// The module's exports and its module-wide settings store.
#include "plugin/function_plugin_hdr.h"
#include "plugin/module_settings.h"
#include "plugin_boundary.h" // plugin/win32/ or plugin/posix/, chosen by the build

namespace lvp {
// Built at module load (the settings folder is chosen then), destroyed at unload, where it
// writes the settings file if an object loaded it.
CSettingsStore g_Settings;
} // namespace lvp

LVP_DEFINE_GET_PLUGIN_VERSION(u"1.4")

std::int32_t GetPluginType()
{
    return lvp::kFunctionPluginType;
}

std::int32_t GetPluginCnt()
{
    return 1;
}

lvp::PluginFactory GetPluginProc(std::int32_t /*nIndex*/)
{
    return &lvp::Factory<&lvp::CreateFunctionPluginHDR>;
}
