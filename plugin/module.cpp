// The module's exports and its module-wide settings store.
#include "plugin/function_plugin_hdr.h"
#include "plugin_boundary.h" // the OS's, made by plugin/CMakeLists.txt

#include <new>

namespace lvp {
// Built at module load (the settings folder is chosen then), destroyed at unload, where it
// writes the settings file if an object loaded it. The module's edge is the one place that
// names it: the command is handed it.
CSettingsStore g_Settings;

namespace {
// A new command over the real OS, the build's own window system and the module's store, or
// null when there is no memory for it.
CFunctionPlugin* CreateFunctionPluginHDR()
{
    // nothrow: no memory gives null; the constructor's own exceptions still propagate,
    // and the object's memory is released before they do.
    return new (std::nothrow) CFunctionPluginHDR(platform::RealOs(), DefaultUiBackend(), g_Settings);
}
} // namespace
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
