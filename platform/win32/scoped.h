// Owning holders for Win32 handles and allocations, and the last error as text (Windows only).
#pragma once
#include "platform/win32/windows_prelude.h"

#include "platform/scoped.h"

#include <io.h>
#include <shlobj.h>

#include <string>

namespace platform::win32 {
struct SHandleTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
template <typename P> struct SLocalTraits { // memory from LocalAlloc, e.g. FormatMessageW's buffer
    using Type = P;
    static P Invalid() { return nullptr; }
    static bool IsValid(P p) { return p != nullptr; }
    static void Free(P p) { ::LocalFree(reinterpret_cast<HLOCAL>(p)); }
};
struct SItemIdListTraits { // the shell allocator's item-id lists
    using Type = LPITEMIDLIST;
    static LPITEMIDLIST Invalid() { return nullptr; }
    static bool IsValid(LPITEMIDLIST p) { return p != nullptr; }
    static void Free(LPITEMIDLIST p) { ::CoTaskMemFree(p); }
};
struct SModuleTraits {
    using Type = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static bool IsValid(HMODULE h) { return h != nullptr; }
    static void Free(HMODULE h) { ::FreeLibrary(h); }
};
template <typename G> struct SGdiTraits { // fonts, brushes and other GDI objects
    using Type = G;
    static G Invalid() { return nullptr; }
    static bool IsValid(G g) { return g != nullptr; }
    static void Free(G g) { ::DeleteObject(g); }
};

struct SCrtFdTraits { // descriptors of the C runtime (_open_osfhandle)
    using Type = int;
    static int Invalid() { return -1; }
    static bool IsValid(int fd) { return fd >= 0; }
    static void Free(int fd) { ::_close(fd); }
};

struct SFindTraits { // searches of FindFirstFileW
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::FindClose(h); }
};

using CAutoHandle = CScoped<SHandleTraits>;
using CAutoFind = CScoped<SFindTraits>;
using CAutoCrtFd = CScoped<SCrtFdTraits>;
template <typename P> using CAutoLocal = CScoped<SLocalTraits<P>>;
using CAutoItemIdList = CScoped<SItemIdListTraits>;
using CAutoModule = CScoped<SModuleTraits>;
template <typename G> using CAutoGdi = CScoped<SGdiTraits<G>>;

// The system's text for an error code (GetLastError), without the trailing line break;
// "error N" when the system has none.
std::u16string ErrorText(DWORD code);
} // namespace platform::win32
