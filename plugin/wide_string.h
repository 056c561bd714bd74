// The reference-counted UTF-16 string handed across the module boundary, freed by its maker.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "abi_convention.h" // the OS's, made by plugin/CMakeLists.txt

namespace lvp {

struct SStringMgr;

// The header in front of a string's characters, in the class library's layout. The
// characters (nAllocLength + 1 units) follow the header directly. The shared empty string
// keeps a positive count that never reaches zero, so it is never freed.
struct SStringData {
    SStringMgr* pStringMgr;
    std::int32_t nDataLength;
    std::int32_t nAllocLength;
    std::int32_t nRefs; // the class library's long: 32 bits on Windows

    char16_t* data() noexcept { return reinterpret_cast<char16_t*>(this + 1); }
    // Another thread may be changing the count: every access to it is atomic.
    std::atomic_ref<std::int32_t> Refs() noexcept { return std::atomic_ref<std::int32_t>(nRefs); }
    void AddRef() noexcept { Refs().fetch_add(1, std::memory_order_relaxed); }
    inline void Release() noexcept;
};

// The string manager's five operations, in the class library's slot order. A host that
// copies, changes, empties or releases a string calls them through the string's manager.
struct SStringMgrTable {
    // Storage for nAllocLength characters of nCharSize bytes plus the terminator, one
    // reference, length 0; null when there is no memory.
    SStringData*(LVP_THISCALL* Allocate)(SStringMgr* self, int nAllocLength, int nCharSize);
    void(LVP_THISCALL* Free)(SStringMgr* self, SStringData* pData);
    // Grows an unshared string's storage, keeping its header and characters; null when
    // there is no memory (the old storage then stays as it was).
    SStringData*(LVP_THISCALL* Reallocate)(SStringMgr* self, SStringData* pData, int nAllocLength, int nCharSize);
    // The shared empty string, with one more reference.
    SStringData*(LVP_THISCALL* GetNilString)(SStringMgr* self);
    // The manager a copy of a string is to use; the same manager shares the string.
    SStringMgr*(LVP_THISCALL* Clone)(SStringMgr* self);
};

// A string manager as the class library sees one: its first member points to its table.
struct SStringMgr {
    const SStringMgrTable* pTable;
};

inline void SStringData::Release() noexcept
{
    if (Refs().fetch_sub(1, std::memory_order_acq_rel) <= 1)
        pStringMgr->pTable->Free(pStringMgr, this);
}

// The manager of the binary that includes this header: each module and each host has its own
// instance (inline functions are not shared across a module boundary), so a string's memory
// always returns to its maker's allocator.
inline SStringMgr& DefaultStringManager() noexcept;

// One pointer to NUL-terminated characters, with SStringData in front of them.
class CWideString {
public:
    CWideString() noexcept : CWideString(NilOf(DefaultStringManager())) {}
    CWideString(std::u16string_view text, SStringMgr& manager = DefaultStringManager())
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
        other.m_pszData = NilOf(*GetManager())->data();
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
    SStringMgr* GetManager() const noexcept { return GetData()->pStringMgr; }
    SStringData* GetData() const noexcept { return reinterpret_cast<SStringData*>(m_pszData) - 1; }

private:
    explicit CWideString(SStringData* pData) noexcept : m_pszData(pData->data()) {}

    static SStringData* NilOf(SStringMgr& manager) noexcept { return manager.pTable->GetNilString(&manager); }

    static SStringData* Make(std::u16string_view text, SStringMgr& manager)
    {
        if (text.empty())
            return NilOf(manager);
        if (text.size() > static_cast<std::size_t>(INT32_MAX / 2 - 64))
            throw std::length_error("CWideString: text too long");
        auto n = static_cast<int>(text.size());
        SStringData* pData = manager.pTable->Allocate(&manager, n, sizeof(char16_t));
        if (pData == nullptr)
            throw std::bad_alloc();
        text.copy(pData->data(), text.size());
        pData->data()[n] = u'\0';
        pData->nDataLength = n;
        return pData;
    }

    char16_t* m_pszData;
};

namespace detail {
// The default manager: the C runtime's heap of this binary, and its own shared empty string.
struct SDefaultStringMgr {
    SStringMgr mgr; // first, so the manager pointer is the object's address
    struct {
        SStringData header;
        char16_t terminator[2];
    } nil;

    static SDefaultStringMgr& Of(SStringMgr* self) noexcept { return *reinterpret_cast<SDefaultStringMgr*>(self); }
    // Bytes for nChars characters and the terminator, or 0 when the size is out of range.
    static std::size_t Bytes(int nChars, int nCharSize) noexcept
    {
        if (nChars < 0 || nCharSize <= 0 || nCharSize > 4 || nChars > (INT32_MAX - 64) / nCharSize - 1)
            return 0;
        return sizeof(SStringData) + (static_cast<std::size_t>(nChars) + 1) * static_cast<std::size_t>(nCharSize);
    }
    static SStringData* LVP_THISCALL Allocate(SStringMgr* self, int nChars, int nCharSize) noexcept
    {
        std::size_t bytes = Bytes(nChars, nCharSize);
        void* raw = bytes != 0 ? std::malloc(bytes) : nullptr;
        return raw == nullptr ? nullptr : new (raw) SStringData{self, 0, nChars, 1};
    }
    static void LVP_THISCALL Free(SStringMgr* self, SStringData* pData) noexcept
    {
        if (pData != &Of(self).nil.header)
            std::free(pData);
    }
    static SStringData* LVP_THISCALL Reallocate(SStringMgr* self, SStringData* pData, int nChars, int nCharSize) noexcept
    {
        std::size_t bytes = Bytes(nChars, nCharSize);
        if (bytes == 0 || pData == &Of(self).nil.header)
            return nullptr;
        auto* pNew = static_cast<SStringData*>(std::realloc(pData, bytes));
        if (pNew != nullptr)
            pNew->nAllocLength = nChars;
        return pNew;
    }
    static SStringData* LVP_THISCALL GetNilString(SStringMgr* self) noexcept
    {
        Of(self).nil.header.AddRef();
        return &Of(self).nil.header;
    }
    static SStringMgr* LVP_THISCALL Clone(SStringMgr* self) noexcept { return self; }

    static constexpr SStringMgrTable kTable{&Allocate, &Free, &Reallocate, &GetNilString, &Clone};
};
} // namespace detail

inline SStringMgr& DefaultStringManager() noexcept
{
    // Constant-initialised: no guard, no runtime object behind it. The empty string starts
    // with two references, so releases that match its hand-outs never bring it to zero.
    static constinit detail::SDefaultStringMgr manager{{&detail::SDefaultStringMgr::kTable},
                                                       {{&manager.mgr, 0, 0, 2}, {u'\0', u'\0'}}};
    return manager.mgr;
}

inline bool operator==(const CWideString& a, std::u16string_view b) noexcept
{
    return a.view() == b;
}

static_assert(sizeof(CWideString) == sizeof(void*), "the boundary string is one pointer");
static_assert(offsetof(SStringData, pStringMgr) == 0 && offsetof(SStringData, nDataLength) == sizeof(void*) &&
                  offsetof(SStringData, nAllocLength) == sizeof(void*) + 4 &&
                  offsetof(SStringData, nRefs) == sizeof(void*) + 8,
              "header: manager, length, allocated length, reference count");
static_assert(sizeof(SStringData) == (sizeof(void*) == 8 ? 24 : 16), "the characters follow at 24 (x64) or 16 (x86)");
static_assert(sizeof(SStringMgrTable) == 5 * sizeof(void*) && sizeof(SStringMgr) == sizeof(void*),
              "five slots; the manager starts with its table");
} // namespace lvp
