// The reference-counted UTF-16 string handed across the module boundary, freed by its maker.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lvp {

class CStringManager;

// The header in front of a string's characters. The characters (nAllocLength + 1 units)
// follow the header directly; nRefs < 0 marks a shared string that is never freed.
struct SStringData {
    CStringManager* pStringMgr;
    std::int32_t nDataLength;
    std::int32_t nAllocLength;
    std::int32_t nRefs;

    char16_t* data() noexcept { return reinterpret_cast<char16_t*>(this + 1); }
    // Another thread may be changing the count: every access to it is atomic.
    std::atomic_ref<std::int32_t> Refs() noexcept { return std::atomic_ref<std::int32_t>(nRefs); }
    void AddRef() noexcept
    {
        if (Refs().load(std::memory_order_relaxed) >= 0)
            Refs().fetch_add(1, std::memory_order_relaxed);
    }
    inline void Release() noexcept;
};

// Allocates and frees string storage. A string remembers its manager, so whoever releases
// it last, the memory goes back to the binary that allocated it.
class CStringManager {
public:
    // Storage for nChars characters plus the terminator; null when there is no memory.
    virtual SStringData* Allocate(std::int32_t nChars) noexcept = 0;
    virtual void Free(SStringData* pData) noexcept = 0;
    // The empty string of this manager (shared, never freed).
    virtual SStringData* GetNilString() noexcept = 0;

protected:
    ~CStringManager() = default;
};

inline void SStringData::Release() noexcept
{
    if (Refs().load(std::memory_order_relaxed) >= 0 && Refs().fetch_sub(1, std::memory_order_acq_rel) == 1)
        pStringMgr->Free(this);
}

// The manager of the binary that includes this header: each module and each host has its own
// instance (inline functions are not shared across a module boundary), so a string's memory
// always returns to its maker's allocator.
class CDefaultStringManager final : public CStringManager {
public:
    SStringData* Allocate(std::int32_t nChars) noexcept override
    {
        auto size = sizeof(SStringData) + (static_cast<std::size_t>(nChars) + 1) * sizeof(char16_t);
        void* raw = ::operator new(size, std::nothrow);
        return raw == nullptr ? nullptr : new (raw) SStringData{this, 0, nChars, 1};
    }
    void Free(SStringData* pData) noexcept override { ::operator delete(pData); }
    SStringData* GetNilString() noexcept override { return &m_nil.header; }

    static CDefaultStringManager& Instance() noexcept
    {
        static CDefaultStringManager manager;
        return manager;
    }

private:
    CDefaultStringManager() = default;
    struct {
        SStringData header;
        char16_t terminator;
    } m_nil{{this, 0, 0, -1}, u'\0'};
};

// One pointer to NUL-terminated characters, with SStringData in front of them.
class CWideString {
public:
    CWideString() noexcept : CWideString(CDefaultStringManager::Instance().GetNilString()) {}
    CWideString(std::u16string_view text, CStringManager& manager = CDefaultStringManager::Instance())
        : CWideString(Make(text, manager))
    {
    }
    // A null pointer is the empty string, as for the class library's string.
    CWideString(const char16_t* text)
        : CWideString(text != nullptr ? std::u16string_view(text) : std::u16string_view())
    {
    }
    CWideString(const CWideString& other) noexcept : m_pszData(other.m_pszData) { GetData()->AddRef(); }
    CWideString(CWideString&& other) noexcept : m_pszData(other.m_pszData)
    {
        other.m_pszData = GetData()->pStringMgr->GetNilString()->data();
    }
    CWideString& operator=(CWideString other) noexcept
    {
        std::swap(m_pszData, other.m_pszData);
        return *this;
    }
    ~CWideString() { GetData()->Release(); }

    const char16_t* c_str() const noexcept { return m_pszData; }
    std::size_t length() const noexcept { return static_cast<std::size_t>(GetData()->nDataLength); }
    bool empty() const noexcept { return length() == 0; }
    std::u16string_view view() const noexcept { return {m_pszData, length()}; }
    std::u16string str() const { return std::u16string(view()); }
    CStringManager* GetManager() const noexcept { return GetData()->pStringMgr; }
    SStringData* GetData() const noexcept { return reinterpret_cast<SStringData*>(m_pszData) - 1; }

private:
    explicit CWideString(SStringData* pData) noexcept : m_pszData(pData->data()) {}

    static SStringData* Make(std::u16string_view text, CStringManager& manager)
    {
        if (text.empty())
            return manager.GetNilString();
        if (text.size() > static_cast<std::size_t>(INT32_MAX - 1))
            throw std::length_error("CWideString: text too long");
        auto n = static_cast<std::int32_t>(text.size());
        SStringData* pData = manager.Allocate(n);
        if (pData == nullptr)
            throw std::bad_alloc();
        text.copy(pData->data(), text.size());
        pData->data()[n] = u'\0';
        pData->nDataLength = n;
        return pData;
    }

    char16_t* m_pszData;
};

inline bool operator==(const CWideString& a, std::u16string_view b) noexcept
{
    return a.view() == b;
}

static_assert(sizeof(CWideString) == sizeof(void*), "the boundary string is one pointer");
static_assert(offsetof(SStringData, pStringMgr) == 0 && offsetof(SStringData, nDataLength) == sizeof(void*) &&
                  offsetof(SStringData, nAllocLength) == sizeof(void*) + 4 &&
                  offsetof(SStringData, nRefs) == sizeof(void*) + 8,
              "header: manager, length, allocated length, reference count");
} // namespace lvp
