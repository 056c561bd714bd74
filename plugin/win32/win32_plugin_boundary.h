// What a Windows host sees, in the layout of the host's compiler: the plug-in object's table, the
// lists, the string, and the module's exports as plain C functions. g++'s own vtables never cross.
#pragma once
#include <cstddef>
#include <cstdint>

#include "plugin/win32/win32_abi_convention.h"
#include "plugin/function_plugin.h"

namespace lvp {
// The class library's release-mode vector: first element, end of the elements, end of storage.
template <typename T> struct SVectorLayout {
    T* pFirst;
    T* pLast;
    T* pEnd;
};
// The host's selection (its strings are wchar_t, the same 16-bit units) and the results list.
using SelectionLayout = SVectorLayout<const char16_t*>;
using ResultListLayout = SVectorLayout<SResultFile>;

struct SPluginObject;

// The plug-in object's virtual functions in slot order. Functions that return a string or an
// SStartResult construct it in the caller's storage (after `this`) and return its address.
struct SPluginTable {
    // The scalar deleting destructor: destroys the object; flag bit 0 frees its memory too.
    void*(LVP_THISCALL* Destroy)(SPluginObject* self, unsigned int flags);
    CWideString*(LVP_THISCALL* GetName)(SPluginObject* self, CWideString* result);
    CWideString*(LVP_THISCALL* GetDescription)(SPluginObject* self, CWideString* result);
    SStartResult*(LVP_THISCALL* Start)(SPluginObject* self, SStartResult* result, HostWindow hwnd,
                                       const SelectionLayout* selection);
    bool(LVP_THISCALL* Query)(SPluginObject* self, std::uint32_t nQuery);
    ResultListLayout*(LVP_THISCALL* Execute)(SPluginObject* self);
};

// The object as the host's class is laid out: the table, then the results list.
struct SPluginObject {
    const SPluginTable* pTable;
    ResultListLayout m_results;
};

using PluginObject = SPluginObject;
// The factory that GetPluginProc hands out: a new object, or null when it cannot be made.
using PluginFactory = PluginObject* (*)();

// Presents a new object of the command's C++ class in the host's layout; null when it cannot
// be made (no memory, or its constructor raised: nothing may unwind into the host).
PluginObject* AdaptPlugin(CFunctionPlugin* (*create)()) noexcept;
template <CFunctionPlugin* (*Create)()> PluginObject* Factory()
{
    return AdaptPlugin(Create);
}
// Constructs the text in the caller's storage; the empty string when that fails.
CWideString* ReturnString(CWideString* result, std::u16string_view text) noexcept;

static_assert(sizeof(SVectorLayout<void*>) == 3 * sizeof(void*));
static_assert(sizeof(SResultFile) == (sizeof(void*) == 8 ? 16 : 8) && offsetof(SResultFile, flag) == sizeof(void*),
              "the result record: the string, then the 32-bit flag");
static_assert(sizeof(SStartResult) == 12 && offsetof(SStartResult, extra2) == 8);
static_assert(sizeof(SPluginTable) == 6 * sizeof(void*), "six slots");
static_assert(offsetof(SPluginObject, pTable) == 0 && offsetof(SPluginObject, m_results) == sizeof(void*));
static_assert(sizeof(HostWindow) == sizeof(void*) && sizeof(char16_t) == sizeof(wchar_t));
} // namespace lvp

// The module's exports: plain C functions with undecorated names (the .def file names them).
extern "C" {
// The version, constructed in the caller's storage, whose address it returns.
lvp::CWideString* GetPluginVersion(lvp::CWideString* result);
std::int32_t GetPluginType();
std::int32_t GetPluginCnt();
lvp::PluginFactory GetPluginProc(std::int32_t nIndex);
}

// Defines the export GetPluginVersion, answering the given text.
#define LVP_DEFINE_GET_PLUGIN_VERSION(text)                                                          \
    lvp::CWideString* GetPluginVersion(lvp::CWideString* result)                                     \
    {                                                                                                \
        return lvp::ReturnString(result, text);                                                      \
    }

#include "plugin/export_procs.h"
