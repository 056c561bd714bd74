// What a host includes: the plug-in object interface, its records, and the module's four exports.
#pragma once
#include <cstdint>
#include <vector>

#include "host_window.h" // plugin/win32/ or plugin/posix/, chosen by the build
#include "plugin/wide_string.h"
#include "ui/selection_list.h"

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

// The plug-in object as the host sees it. The host deletes it only through this class, so
// its memory goes back to the module's allocator.
class CFunctionPlugin {
public:
    virtual ~CFunctionPlugin() = default;
    virtual CWideString GetName() = 0;
    virtual CWideString GetDescription() = 0;
    virtual SStartResult Start(HostWindow /*hwnd*/, const SelectionList& /*selection*/) { return {1, 0, 0}; }
    virtual bool Query(std::uint32_t /*nQuery*/) { return true; }
    virtual ResultList* Execute() { return &m_results; }

protected:
    ResultList m_results;
};

// The factory that GetPluginProc hands out: a new object, or null when there is no memory.
using PluginFactory = CFunctionPlugin* (*)();

// The plug-in kind of a module whose objects are CFunctionPlugin.
constexpr std::int32_t kFunctionPluginType = 2;
} // namespace lvp

// The module's exports, by their plain names; a host finds them with the OS loader.
#pragma GCC visibility push(default)
extern "C" {
lvp::CWideString GetPluginVersion();
std::int32_t GetPluginType();
std::int32_t GetPluginCnt();
lvp::PluginFactory GetPluginProc(std::int32_t nIndex);
}
#pragma GCC visibility pop

namespace lvp {
using GetPluginVersionProc = decltype(&::GetPluginVersion);
using GetPluginTypeProc = decltype(&::GetPluginType);
using GetPluginCntProc = decltype(&::GetPluginCnt);
using GetPluginProcProc = decltype(&::GetPluginProc);
} // namespace lvp
