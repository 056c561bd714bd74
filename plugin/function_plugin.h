// The plug-in object interface of the command and its records; plugin_boundary.h is what a host includes.
#pragma once
#include <cstdint>
#include <vector>

#include "plugin/selection_list.h"
#include "host_window.h" // the OS's, made by plugin/CMakeLists.txt
#include "plugin/wide_string.h"

namespace lvp {

struct SStartResult {
    std::int32_t proceed; // 1: go on and call Execute; 0: refused
    std::int32_t extra1;
    std::int32_t extra2;
};

struct SResultFile {
    CWideString file; // full path of a file the command produced
    std::int32_t flag;
};

// Owned by the plug-in object; the host only reads it.
using ResultList = std::vector<SResultFile>;

// The plug-in object as the command implements it. A Linux host sees this class itself; on
// Windows the boundary presents it in the host compiler's layout (plugin/win32/win32_plugin_boundary.h).
// The host deletes it only through the boundary, so its memory goes back to the module's allocator.
class CFunctionPlugin {
public:
    virtual ~CFunctionPlugin() = default;
    virtual CWideString GetName() = 0;
    virtual CWideString GetDescription() = 0;
    virtual SStartResult Start(HostWindow /*hwnd*/, const SelectionList& /*selection*/) { return {1, 0, 0}; }
    virtual bool Query(std::uint32_t /*nQuery*/) { return true; }
    virtual ResultList* Execute() { return &m_results; }
    // The list Execute hands out, for the boundary that presents it to the host.
    ResultList& Results() noexcept { return m_results; }

protected:
    ResultList m_results;
};

// The plug-in kind of a module whose objects are CFunctionPlugin.
constexpr std::int32_t kFunctionPluginType = 2;
} // namespace lvp
