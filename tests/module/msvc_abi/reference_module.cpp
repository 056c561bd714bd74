// A tiny plug-in module built by the Microsoft-ABI compiler itself, to show that abi_host is a
// correct host: the compiler lays out both sides. Echoes the selection as its results.
#include "class_library.h"
#include "freestanding.h"

void* operator new(SIZE_T n)
{
    return ms::Alloc(n);
}
void operator delete(void* p) noexcept
{
    ms::Free(p);
}
void operator delete(void* p, SIZE_T) noexcept
{
    ms::Free(p);
}
void* operator new(SIZE_T, void* where) noexcept
{
    return where;
}

namespace {
// The module's string manager: its heap, its own empty string.
class CStringMgr : public IAtlStringMgr {
public:
    CStringData* Allocate(int nAllocLength, int nCharSize) override
    {
        auto* p = static_cast<CStringData*>(ms::Alloc(sizeof(CStringData) + static_cast<SIZE_T>(nAllocLength + 1) * nCharSize));
        if (p != nullptr) {
            p->pStringMgr = this;
            p->nRefs = 1;
            p->nAllocLength = nAllocLength;
            p->nDataLength = 0;
        }
        return p;
    }
    void Free(CStringData* pData) override { ms::Free(pData); }
    CStringData* Reallocate(CStringData* pData, int nAllocLength, int nCharSize) override
    {
        auto* p = static_cast<CStringData*>(ms::Grow(pData, sizeof(CStringData) + static_cast<SIZE_T>(nAllocLength + 1) * nCharSize));
        if (p != nullptr)
            p->nAllocLength = nAllocLength;
        return p;
    }
    CStringData* GetNilString() override
    {
        if (m_nil.header.pStringMgr == nullptr)
            m_nil.header = {this, 0, 0, 2};
        m_nil.header.AddRef();
        return &m_nil.header;
    }
    IAtlStringMgr* Clone() override { return this; }

private:
    struct {
        CStringData header;
        wchar_t terminator[2];
    } m_nil{};
};
CStringMgr* Manager()
{
    static CStringMgr* manager = new CStringMgr;
    return manager;
}

CStringW Make(const wchar_t* text)
{
    CStringW s(Manager());
    s.Append(text, ms::Length(text));
    return s;
}

class CEcho : public CFunctionPlugin {
public:
    CEcho() { m_results = {nullptr, nullptr, nullptr}; }
    ~CEcho() override
    {
        for (SResultFile* r = m_results._Myfirst; r != m_results._Mylast; ++r)
            r->~SResultFile();
        ms::Free(m_results._Myfirst);
        ms::Free(m_files);
    }
    CStringW GetName() override { return Make(L"Echo"); }
    CStringW GetDescription() override { return Make(L"returns the selection"); }
    SStartResult Start(HWND, const CVector<const wchar_t*>& selection) override
    {
        ms::Free(m_files);
        m_count = selection.size();
        m_files = static_cast<const wchar_t**>(ms::Alloc(sizeof(wchar_t*) * static_cast<SIZE_T>(m_count + 1)));
        for (int i = 0; i < m_count; ++i)
            m_files[i] = selection._Myfirst[i];
        return {1, 0, 0};
    }
    CVector<SResultFile>* Execute() override
    {
        for (int i = 0; i < m_count; ++i) {
            int n = m_results.size();
            auto* grown = static_cast<SResultFile*>(ms::Grow(m_results._Myfirst, sizeof(SResultFile) * static_cast<SIZE_T>(n + 1)));
            m_results = {grown, grown + n, grown + n + 1};
            new (m_results._Mylast) SResultFile{Make(m_files[i]), 1};
            ++m_results._Mylast;
        }
        m_count = 0;
        return &m_results;
    }

private:
    const wchar_t** m_files = nullptr;
    int m_count = 0;
};

CFunctionPlugin* Create()
{
    return new CEcho;
}
} // namespace

CFunctionPlugin::~CFunctionPlugin() {}
SStartResult CFunctionPlugin::Start(HWND, const CVector<const wchar_t*>&)
{
    return {1, 0, 0};
}
bool CFunctionPlugin::Query(unsigned int)
{
    return true;
}
CVector<SResultFile>* CFunctionPlugin::Execute()
{
    return &m_results;
}

// A C++ class returned from a C function, as the real exports do (the compiler warns of it).
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
extern "C" __declspec(dllexport) CStringW GetPluginVersion()
{
    return Make(L"0.9");
}
extern "C" __declspec(dllexport) int GetPluginType()
{
    return 2;
}
extern "C" __declspec(dllexport) int GetPluginCnt()
{
    return 1;
}
extern "C" __declspec(dllexport) PluginFactory GetPluginProc(int)
{
    return &Create;
}
