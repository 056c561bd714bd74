// A host's hold on one plug-in object: every call goes through the module's boundary
// (Windows: the host compiler's tables; Linux: the C++ virtual functions). Implemented by
// host/win32/plugin_object.cpp and host/posix/plugin_object.cpp.
#pragma once
#include <cstdint>
#include <span>
#include <utility>

#include "plugin_boundary.h" // the OS's, made by plugin/CMakeLists.txt

namespace lvp {
class CPluginObject {
public:
    // Takes the object a factory made (null: holds nothing).
    explicit CPluginObject(PluginObject* pObject) noexcept : m_pObject(pObject) {}
    CPluginObject(CPluginObject&& other) noexcept : m_pObject(other.m_pObject) { other.m_pObject = nullptr; }
    CPluginObject& operator=(CPluginObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_pObject = std::exchange(other.m_pObject, nullptr);
        }
        return *this;
    }
    ~CPluginObject() { reset(); }

    // Deletes the object the way a host does, so the module frees its memory.
    void reset() noexcept;
    PluginObject* get() const noexcept { return m_pObject; }
    explicit operator bool() const noexcept { return m_pObject != nullptr; }

    CWideString GetName();
    CWideString GetDescription();
    SStartResult Start(HostWindow hwnd, const SelectionList& selection);
    bool Query(std::uint32_t nQuery);
    // The results list, read in place; *pList (if given) receives the list's address.
    std::span<const SResultFile> Execute(const void** pList = nullptr);

private:
    PluginObject* m_pObject;
};

// Calls the export GetPluginVersion and takes the string it returns.
CWideString CallVersionExport(GetPluginVersionProc pfn);
} // namespace lvp
