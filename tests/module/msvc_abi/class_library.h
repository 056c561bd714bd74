// The host's side of the boundary, declared as the host's class library and the host declare it
// (the reference-counted string, its manager interface, the release-mode vector, the plug-in
// class), for a compiler of the Microsoft C++ ABI. Written as ordinary C++: the compiler decides
// the layout and the calling conventions.
#pragma once
#include "win32_api.h"

extern "C" void* memcpy(void* to, const void* from, SIZE_T n);

struct CStringData;

class IAtlStringMgr {
public:
    virtual CStringData* Allocate(int nAllocLength, int nCharSize) = 0;
    virtual void Free(CStringData* pData) = 0;
    virtual CStringData* Reallocate(CStringData* pData, int nAllocLength, int nCharSize) = 0;
    virtual CStringData* GetNilString() = 0;
    virtual IAtlStringMgr* Clone() = 0;
};

struct CStringData {
    IAtlStringMgr* pStringMgr;
    int nDataLength;
    int nAllocLength;
    long nRefs;

    wchar_t* data() { return reinterpret_cast<wchar_t*>(this + 1); }
    void AddRef() { __atomic_add_fetch(&nRefs, 1, __ATOMIC_SEQ_CST); }
    void Release()
    {
        if (__atomic_sub_fetch(&nRefs, 1, __ATOMIC_SEQ_CST) <= 0)
            pStringMgr->Free(this);
    }
    bool IsLocked() const { return nRefs < 0; }
    bool IsShared() const { return nRefs > 1; }
};

// The class library's string: one pointer to the characters, the header in front. The host
// copies by sharing, writes after forking or growing, empties to the manager's empty string.
class CStringW {
public:
    explicit CStringW(IAtlStringMgr* pMgr) { Attach(pMgr->GetNilString()); }
    CStringW(const CStringW& src) { Attach(CloneData(src.GetData())); }
    CStringW& operator=(const CStringW& src)
    {
        CStringData* pNew = CloneData(src.GetData());
        GetData()->Release();
        Attach(pNew);
        return *this;
    }
    ~CStringW() { GetData()->Release(); }

    const wchar_t* GetString() const { return m_pszData; }
    int GetLength() const { return GetData()->nDataLength; }
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pszData) - 1; }

    // False when the manager had no memory (the class library would raise).
    bool Append(const wchar_t* psz, int n)
    {
        int nOld = GetLength();
        if (!PrepareWrite(nOld + n))
            return false;
        memcpy(m_pszData + nOld, psz, static_cast<SIZE_T>(n) * sizeof(wchar_t));
        GetData()->nDataLength = nOld + n;
        m_pszData[nOld + n] = 0;
        return true;
    }
    void Empty()
    {
        CStringData* pOld = GetData();
        IAtlStringMgr* pMgr = pOld->pStringMgr;
        if (pOld->nDataLength == 0)
            return;
        pOld->Release();
        Attach(pMgr->GetNilString());
    }

private:
    static CStringData* CloneData(CStringData* pData)
    {
        IAtlStringMgr* pNewMgr = pData->pStringMgr->Clone();
        if (!pData->IsLocked() && pNewMgr == pData->pStringMgr) {
            pData->AddRef();
            return pData;
        }
        CStringData* pNew = pNewMgr->Allocate(pData->nDataLength, sizeof(wchar_t));
        memcpy(pNew->data(), pData->data(), static_cast<SIZE_T>(pData->nDataLength + 1) * sizeof(wchar_t));
        pNew->nDataLength = pData->nDataLength;
        return pNew;
    }
    bool PrepareWrite(int nLength)
    {
        CStringData* pOld = GetData();
        if (pOld->IsShared()) { // copy on write
            IAtlStringMgr* pMgr = pOld->pStringMgr->Clone();
            CStringData* pNew = pMgr->Allocate(nLength, sizeof(wchar_t));
            if (pNew == nullptr)
                return false;
            memcpy(pNew->data(), pOld->data(), static_cast<SIZE_T>(pOld->nDataLength + 1) * sizeof(wchar_t));
            pNew->nDataLength = pOld->nDataLength;
            pOld->Release();
            Attach(pNew);
        } else if (pOld->nAllocLength < nLength) { // growth of an unshared string
            CStringData* pNew = pOld->pStringMgr->Reallocate(pOld, nLength, sizeof(wchar_t));
            if (pNew == nullptr)
                return false;
            Attach(pNew);
        }
        return true;
    }
    void Attach(CStringData* pData) { m_pszData = pData->data(); }

    wchar_t* m_pszData;
};

// The standard library's vector in release mode.
template <typename T> struct CVector {
    T* _Myfirst;
    T* _Mylast;
    T* _Myend;
    int size() const { return static_cast<int>(_Mylast - _Myfirst); }
};

struct SStartResult {
    int proceed;
    int extra1;
    int extra2;
};

struct SResultFile {
    CStringW file;
    int flag;
};

class CFunctionPlugin {
public:
    virtual ~CFunctionPlugin();
    virtual CStringW GetName() = 0;
    virtual CStringW GetDescription() = 0;
    virtual SStartResult Start(HWND hwnd, const CVector<const wchar_t*>& selection);
    virtual bool Query(unsigned int nQuery);
    virtual CVector<SResultFile>* Execute();

    CVector<SResultFile> m_results;
};

typedef CStringW (*GetPluginVersionProc)();
typedef int (*GetPluginTypeProc)();
typedef int (*GetPluginCntProc)();
typedef CFunctionPlugin* (*PluginFactory)();
typedef PluginFactory (*GetPluginProcProc)(int nIndex);

static_assert(sizeof(SResultFile) == (sizeof(void*) == 8 ? 16 : 8), "string, then the 32-bit flag");
static_assert(sizeof(CStringData) == (sizeof(void*) == 8 ? 24 : 16), "the header before the characters");
