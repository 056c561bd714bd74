// Loading a module (DLL / shared object) at run time and finding its exported functions.
// Implemented by platform/posix/library.cpp and platform/win32/library.cpp.
#pragma once
#include <string>

namespace platform {
// Owns one loaded module; unloads it on destruction.
class CLibrary {
public:
    CLibrary() = default;
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;
    ~CLibrary() { Unload(); }

    // Loads the module file at path (a path, never a name to search for; a regular file,
    // never a FIFO, device or folder). On failure returns false and error holds the reason.
    bool Load(const std::u16string& path, std::u16string& error);
    // The address of the export called name, or null.
    void* FindSymbol(const char* name) const;
    void Unload();
    bool IsLoaded() const { return m_hLibrary != nullptr; }

private:
    void* m_hLibrary = nullptr;
};
} // namespace platform
