// The owner of a POSIX file descriptor, for the POSIX files of the platform layer.
#pragma once
#include <unistd.h>

#include <utility>

namespace platform::posix {
// Closes the descriptor on destruction unless Release gave it away; -1 is no descriptor.
class CAutoFd {
public:
    CAutoFd() = default;
    explicit CAutoFd(int fd) : m_fd(fd) {}
    CAutoFd(const CAutoFd&) = delete;
    CAutoFd& operator=(const CAutoFd&) = delete;
    CAutoFd(CAutoFd&& other) noexcept : m_fd(other.Release()) {}
    CAutoFd& operator=(CAutoFd&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~CAutoFd() { Reset(); }

    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};
} // namespace platform::posix
