// The Windows boundary: a CFunctionPlugin presented in the host compiler's layout, with every
// entry guarded, since an exception cannot unwind through the host's frames.
#include "plugin/win32/win32_plugin_boundary.h"

#include <new>

namespace lvp {
namespace {
struct SPluginAdapter {
    SPluginObject object; // first: the host's object pointer is the adapter's address
    CFunctionPlugin* pImpl; // owned
};

SPluginAdapter& Of(SPluginObject* self) noexcept
{
    return *reinterpret_cast<SPluginAdapter*>(self);
}

// The host reads the command's own list in place: the published pointers follow its storage.
void Publish(SPluginAdapter& adapter) noexcept
{
    ResultList& list = adapter.pImpl->Results();
    adapter.object.m_results = {list.data(), list.data() + list.size(), list.data() + list.capacity()};
}

void* LVP_THISCALL Destroy(SPluginObject* self, unsigned int flags) noexcept
{
    SPluginAdapter& adapter = Of(self);
    delete adapter.pImpl;
    adapter.pImpl = nullptr;
    adapter.object.m_results = {};
    if ((flags & 1u) != 0)
        delete &adapter;
    return self;
}

// GetName and GetDescription: the object's text, the empty string when it cannot be made.
template <CWideString (CFunctionPlugin::*Get)()>
CWideString* LVP_THISCALL GetText(SPluginObject* self, CWideString* result) noexcept
{
    try {
        return new (result) CWideString((Of(self).pImpl->*Get)());
    } catch (...) {
        return new (result) CWideString();
    }
}

SStartResult* LVP_THISCALL Start(SPluginObject* self, SStartResult* result, HostWindow hwnd,
                                 const SelectionLayout* selection) noexcept
{
    *result = {0, 0, 0};
    try {
        SelectionList copy;
        if (selection != nullptr && selection->pFirst != nullptr && selection->pLast > selection->pFirst)
            copy.assign(selection->pFirst, selection->pLast);
        *result = Of(self).pImpl->Start(hwnd, copy);
    } catch (...) {
    }
    return result;
}

bool LVP_THISCALL Query(SPluginObject* self, std::uint32_t nQuery) noexcept
{
    try {
        return Of(self).pImpl->Query(nQuery);
    } catch (...) {
        return true;
    }
}

// On an exception the list is handed out as it now is: the command changes it only by adding.
ResultListLayout* LVP_THISCALL Execute(SPluginObject* self) noexcept
{
    SPluginAdapter& adapter = Of(self);
    try {
        adapter.pImpl->Execute();
    } catch (...) {
    }
    Publish(adapter);
    return &adapter.object.m_results;
}

constexpr SPluginTable kTable{&Destroy, &GetText<&CFunctionPlugin::GetName>,
                               &GetText<&CFunctionPlugin::GetDescription>, &Start, &Query, &Execute};
} // namespace

PluginObject* AdaptPlugin(CFunctionPlugin* (*create)()) noexcept
{
    auto* adapter = new (std::nothrow) SPluginAdapter{{&kTable, {}}, nullptr};
    if (adapter == nullptr)
        return nullptr;
    try {
        adapter->pImpl = create();
    } catch (...) {
    }
    if (adapter->pImpl == nullptr) {
        delete adapter;
        return nullptr;
    }
    Publish(*adapter);
    return &adapter->object;
}

CWideString* ReturnString(CWideString* result, std::u16string_view text) noexcept
{
    try {
        return new (result) CWideString(text);
    } catch (...) {
        return new (result) CWideString();
    }
}
} // namespace lvp
