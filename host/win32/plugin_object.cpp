// CPluginObject on Windows: the module's tables in the host compiler's layout, as a real host
// calls them; strings and records come back in storage this side provides.
#include "host/plugin_object.h"

#include <new>
#include <utility>

namespace lvp {
namespace {
// Calls a function that constructs a string in the caller's storage, and takes the string.
template <typename Call> CWideString TakeString(Call call)
{
    alignas(CWideString) unsigned char storage[sizeof(CWideString)];
    CWideString* result = call(reinterpret_cast<CWideString*>(storage));
    CWideString taken(std::move(*result));
    result->~CWideString();
    return taken;
}
} // namespace

void CPluginObject::reset() noexcept
{
    if (PluginObject* p = std::exchange(m_pObject, nullptr))
        p->pTable->Destroy(p, 1u);
}

CWideString CPluginObject::GetName()
{
    return TakeString([this](CWideString* r) { return m_pObject->pTable->GetName(m_pObject, r); });
}

CWideString CPluginObject::GetDescription()
{
    return TakeString([this](CWideString* r) { return m_pObject->pTable->GetDescription(m_pObject, r); });
}

SStartResult CPluginObject::Start(HostWindow hwnd, const SelectionList& selection)
{
    // The host's vector, as its class library lays it out.
    auto* first = const_cast<const char16_t**>(selection.data());
    SelectionLayout list{first, first + selection.size(), first + selection.size()};
    SStartResult result{};
    return *m_pObject->pTable->Start(m_pObject, &result, hwnd, &list);
}

bool CPluginObject::Query(std::uint32_t nQuery)
{
    return m_pObject->pTable->Query(m_pObject, nQuery);
}

std::span<const SResultFile> CPluginObject::Execute(const void** pList)
{
    const ResultListLayout* list = m_pObject->pTable->Execute(m_pObject);
    if (pList != nullptr)
        *pList = list;
    if (list == nullptr || list->pFirst == nullptr || list->pLast < list->pFirst)
        return {};
    return {list->pFirst, static_cast<std::size_t>(list->pLast - list->pFirst)};
}

CWideString CallVersionExport(GetPluginVersionProc pfn)
{
    return TakeString(pfn);
}
} // namespace lvp
