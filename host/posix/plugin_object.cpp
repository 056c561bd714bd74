// CPluginObject on Linux: the module's C++ virtual functions, called directly.
#include "host/plugin_object.h"

#include <utility>

namespace lvp {
void CPluginObject::reset() noexcept
{
    delete std::exchange(m_pObject, nullptr);
}

CWideString CPluginObject::GetName()
{
    return m_pObject->GetName();
}

CWideString CPluginObject::GetDescription()
{
    return m_pObject->GetDescription();
}

SStartResult CPluginObject::Start(HostWindow hwnd, const SelectionList& selection)
{
    return m_pObject->Start(hwnd, selection);
}

bool CPluginObject::Query(std::uint32_t nQuery)
{
    return m_pObject->Query(nQuery);
}

std::span<const SResultFile> CPluginObject::Execute(const void** pList)
{
    const ResultList* list = m_pObject->Execute();
    if (pList != nullptr)
        *pList = list;
    return list != nullptr ? std::span<const SResultFile>(*list) : std::span<const SResultFile>();
}

CWideString CallVersionExport(GetPluginVersionProc pfn)
{
    return pfn();
}
} // namespace lvp
