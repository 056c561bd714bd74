// What a Linux host includes: the plug-in object in its natural C++ form and the module's exports.
#pragma once
#include "plugin/function_plugin.h"

namespace lvp {
// A Linux host is built with the same compiler: it calls CFunctionPlugin's virtual functions.
using PluginObject = CFunctionPlugin;
// The factory that GetPluginProc hands out: a new object, or null when there is no memory.
using PluginFactory = PluginObject* (*)();

// The factory a module exports for one object kind.
template <CFunctionPlugin* (*Create)()> PluginObject* Factory()
{
    return Create();
}
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

// Defines the export GetPluginVersion, answering the given text.
#define LVP_DEFINE_GET_PLUGIN_VERSION(text)                                                          \
    lvp::CWideString GetPluginVersion()                                                              \
    {                                                                                                \
        return lvp::CWideString(text);                                                               \
    }

#include "plugin/export_procs.h"
