// CFile: the owner of one open stdio stream; every file open of the platform layer returns one.
// Header-only and the same on every OS (no implementation file).
#pragma once
#include <cstdio>
#include <utility>

namespace platform {
// Move-only; closes the stream on destruction unless Release gave it away.
class CFile {
public:
    CFile() = default;
    explicit CFile(std::FILE* file) : m_pFile(file) {}
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    CFile(CFile&& other) noexcept : m_pFile(other.Release()) {}
    CFile& operator=(CFile&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_pFile = other.Release();
        }
        return *this;
    }
    ~CFile() { Close(); }

    std::FILE* Get() const { return m_pFile; }
    explicit operator bool() const { return m_pFile != nullptr; }
    // Gives up ownership without closing.
    std::FILE* Release() { return std::exchange(m_pFile, nullptr); }
    // Closes the stream (the stream is gone either way); false when fclose failed or none was open.
    bool Close()
    {
        std::FILE* file = Release();
        return file != nullptr && std::fclose(file) == 0;
    }

private:
    std::FILE* m_pFile = nullptr;
};
} // namespace platform
