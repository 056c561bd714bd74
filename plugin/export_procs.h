// The types of the module's four exports, for a host that finds them with the OS loader;
// included by plugin_boundary.h after it declares them.
#pragma once

namespace lvp {
using GetPluginVersionProc = decltype(&::GetPluginVersion);
using GetPluginTypeProc = decltype(&::GetPluginType);
using GetPluginCntProc = decltype(&::GetPluginCnt);
using GetPluginProcProc = decltype(&::GetPluginProc);
} // namespace lvp
