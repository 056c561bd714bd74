// Test helpers for files: a temporary folder removed with its contents, the current folder set
// for a scope, whole-file bytes.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

// A fresh folder under the build folder's test-temp (never the system's temporary folder, so
// that what a killed test leaves stays in the build folder), removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }
    // The UTF-16 path of a name inside the folder (empty name: the folder itself).
    std::u16string u16(std::string_view name = {}) const;

private:
    fs::path m_path;
};

// The process's current folder is folder for one scope, then the one before again.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const fs::path& folder) : m_before(fs::current_path())
    {
        fs::current_path(folder);
    }
    ~ScopedCurrentFolder()
    {
        std::error_code ec;
        fs::current_path(m_before, ec);
    }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    fs::path m_before;
};

std::string ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, std::string_view bytes);
