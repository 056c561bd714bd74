// CScoped: the one move-only owner of an OS resource, of which every holder of the platform layer
// is made (files, pipes, processes, descriptors, handles). Header-only and the same on every OS.
#pragma once
#include <utility>

namespace platform {
// One owner of one resource; Release gives it up without freeing it. Traits say what is
// invalid and how to free: Type, Invalid(), IsValid(value), Free(value).
template <typename Traits> class CScoped {
public:
    using T = typename Traits::Type;
    CScoped() = default;
    explicit CScoped(T value) : m_value(value) {}
    CScoped(const CScoped&) = delete;
    CScoped& operator=(const CScoped&) = delete;
    CScoped(CScoped&& other) noexcept : m_value(other.Release()) {}
    CScoped& operator=(CScoped&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~CScoped() { Reset(); }

    T Get() const { return m_value; }
    bool IsValid() const { return Traits::IsValid(m_value); }
    explicit operator bool() const { return IsValid(); }
    // For functions that return the resource through a pointer; frees the one held before.
    T* Out()
    {
        Reset();
        return &m_value;
    }
    T Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(T value = Traits::Invalid())
    {
        if (Traits::IsValid(m_value))
            Traits::Free(m_value);
        m_value = value;
    }

private:
    T m_value = Traits::Invalid();
};
} // namespace platform
