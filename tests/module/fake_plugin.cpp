// Stand-in modules for the host tests: one kind of misbehaviour each, chosen by LVP_FAKE_MODE.
#include "plugin_boundary.h"

#define LVP_FAKE_ECHO 1         // accepts and returns every selected path with flag 1
#define LVP_FAKE_UNKNOWN_TYPE 2 // reports plug-in type 7
#define LVP_FAKE_NULL_FACTORY 3 // its factory gives null
#define LVP_FAKE_NO_PROC 4      // lacks GetPluginProc
#define LVP_FAKE_THROWS 5       // its factory raises an exception of a type the module defines
                                // (Windows: the boundary turns it into a null object)

#include <stdexcept>

namespace {
class CEchoPlugin : public lvp::CFunctionPlugin {
public:
    lvp::CWideString GetName() override { return u"Echo"; }
    lvp::CWideString GetDescription() override { return u"returns the selection"; }
    lvp::SStartResult Start(lvp::HostWindow, const lvp::SelectionList& selection) override
    {
        m_selection = selection;
        return {1, 0, 0};
    }
    lvp::ResultList* Execute() override
    {
        for (const char16_t* path : m_selection)
            m_results.push_back({lvp::CWideString(path), 1});
        return &m_results;
    }

private:
    lvp::SelectionList m_selection;
};

// Its type information and destructor live in the module, so a host must be done with the
// exception before it unloads the module.
class CFakeError : public std::runtime_error {
public:
    CFakeError() : std::runtime_error("fake module refuses to create its object") {}
};

[[maybe_unused]] lvp::CFunctionPlugin* CreateEcho()
{
    if (LVP_FAKE_MODE == LVP_FAKE_THROWS)
        throw CFakeError();
    return LVP_FAKE_MODE == LVP_FAKE_NULL_FACTORY ? nullptr : new CEchoPlugin;
}
} // namespace

LVP_DEFINE_GET_PLUGIN_VERSION(u"0.1")

std::int32_t GetPluginType()
{
    return LVP_FAKE_MODE == LVP_FAKE_UNKNOWN_TYPE ? 7 : lvp::kFunctionPluginType;
}

std::int32_t GetPluginCnt()
{
    return 1;
}

#if LVP_FAKE_MODE != LVP_FAKE_NO_PROC
lvp::PluginFactory GetPluginProc(std::int32_t)
{
    return &lvp::Factory<&CreateEcho>;
}
#endif
