// The boundary string: header layout, sharing, and release through the manager that allocated it.
#include "plugin/wide_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <thread>
#include <vector>

namespace {
using lvp::CWideString;
using lvp::SStringData;

// Counts what passes through it, so a test sees which manager frees a string; the storage
// itself comes from this binary's default manager.
struct SCountingManager {
    lvp::SStringMgr mgr{&kTable}; // first: the manager pointer is this object's address
    int m_nAllocated = 0;
    int m_nFreed = 0;
    bool m_bRefuse = false;

    static SCountingManager& Of(lvp::SStringMgr* self) { return *reinterpret_cast<SCountingManager*>(self); }
    static lvp::SStringMgr& Inner() { return lvp::DefaultStringManager(); }
    static SStringData* LVP_THISCALL Allocate(lvp::SStringMgr* self, int n, int nCharSize)
    {
        if (Of(self).m_bRefuse)
            return nullptr;
        ++Of(self).m_nAllocated;
        SStringData* pData = Inner().pTable->Allocate(&Inner(), n, nCharSize);
        if (pData != nullptr)
            pData->pStringMgr = self;
        return pData;
    }
    static void LVP_THISCALL Free(lvp::SStringMgr* self, SStringData* pData)
    {
        ++Of(self).m_nFreed;
        Inner().pTable->Free(&Inner(), pData);
    }
    static SStringData* LVP_THISCALL Reallocate(lvp::SStringMgr*, SStringData* pData, int n, int nCharSize)
    {
        return Inner().pTable->Reallocate(&Inner(), pData, n, nCharSize);
    }
    static SStringData* LVP_THISCALL GetNilString(lvp::SStringMgr*) { return Inner().pTable->GetNilString(&Inner()); }
    static lvp::SStringMgr* LVP_THISCALL Clone(lvp::SStringMgr* self) { return self; }
    static constexpr lvp::SStringMgrTable kTable{&Allocate, &Free, &Reallocate, &GetNilString, &Clone};
};

TEST(WideString, HeaderPrecedesTheCharacters)
{
    SCountingManager manager;
    {
        CWideString s(u"Bild", manager.mgr);
        SStringData* header = s.GetData();
        EXPECT_EQ(reinterpret_cast<const char*>(s.c_str()),
                  reinterpret_cast<const char*>(header) + sizeof(SStringData));
        EXPECT_EQ(header->pStringMgr, &manager.mgr);
        EXPECT_EQ(header->nDataLength, 4);
        EXPECT_GE(header->nAllocLength, 4);
        EXPECT_EQ(header->nRefs, 1);
        EXPECT_EQ(s.c_str()[4], u'\0');
    }
    EXPECT_EQ(manager.m_nFreed, 1);
}

TEST(WideString, LastReleaseFreesOnceThroughItsManager)
{
    SCountingManager manager;
    std::vector<CWideString> holders;
    {
        CWideString s(u"C:\\Bilder\\a.jpg", manager.mgr);
        for (int i = 0; i < 3; ++i)
            holders.push_back(s);
        CWideString assigned;
        assigned = s;
        CWideString moved(std::move(assigned));
        EXPECT_EQ(s.GetData()->nRefs, 5); // s, three holders, moved
        EXPECT_TRUE(assigned.empty());
        assigned = moved; // a moved-from string is usable again
    }
    EXPECT_EQ(manager.m_nFreed, 0);
    holders.pop_back();
    holders.pop_back();
    EXPECT_EQ(manager.m_nFreed, 0);
    EXPECT_EQ(holders.front(), u"C:\\Bilder\\a.jpg");
    holders.clear();
    EXPECT_EQ(manager.m_nAllocated, 1);
    EXPECT_EQ(manager.m_nFreed, 1);
}

TEST(WideString, EmptyTextsShareTheNilStringAndAllocateNothing)
{
    SCountingManager manager;
    {
        CWideString a(u"", manager.mgr);
        CWideString b;
        CWideString c = a;
        CWideString d(static_cast<const char16_t*>(nullptr));
        for (const CWideString* s : {&a, &b, &c, &d}) {
            EXPECT_TRUE(s->empty());
            EXPECT_EQ(s->c_str()[0], u'\0');
            EXPECT_EQ(s->GetData(), b.GetData());
            EXPECT_GT(s->GetData()->nRefs, 0);
        }
    }
    EXPECT_EQ(manager.m_nAllocated, 0);
    EXPECT_EQ(manager.m_nFreed, 0);
}

TEST(WideString, CopiesOnSeveralThreadsFreeOnce)
{
    SCountingManager manager;
    {
        const CWideString shared(u"C:\\Bilder\\a.jpg", manager.mgr);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&shared] {
                for (int i = 0; i < 20000; ++i) {
                    CWideString copy = shared;
                    CWideString moved(std::move(copy));
                }
            });
        for (auto& t : threads)
            t.join();
        EXPECT_EQ(shared.GetData()->nRefs, 1);
    }
    EXPECT_EQ(manager.m_nAllocated, 1);
    EXPECT_EQ(manager.m_nFreed, 1);
}

TEST(WideString, NoMemoryRaisesBadAlloc)
{
    SCountingManager manager;
    manager.m_bRefuse = true;
    EXPECT_THROW(CWideString(u"x", manager.mgr), std::bad_alloc);
    EXPECT_EQ(manager.m_nFreed, 0);
}

TEST(WideString, EmbeddedNulAndSurrogatesSurvive)
{
    const std::u16string text(u"a\0b\U0001F600", 5);
    CWideString s(text);
    EXPECT_EQ(s.length(), 5u);
    EXPECT_EQ(s.str(), text);
}

namespace host_side {
// What the class library does to a string it received, written out against the manager's table.
SStringData* Fork(SStringData* pOld, int nLength)
{
    lvp::SStringMgr* mgr = pOld->pStringMgr->pTable->Clone(pOld->pStringMgr);
    SStringData* pNew = mgr->pTable->Allocate(mgr, nLength, sizeof(char16_t));
    if (pNew != nullptr) {
        std::copy_n(pOld->data(), pOld->nDataLength + 1, pNew->data());
        pNew->nDataLength = pOld->nDataLength;
        pOld->Release();
    }
    return pNew;
}
} // namespace host_side

// Copy on write, growth in place, emptying and release, as a host does them to a module string.
TEST(WideString, HostOperationsGoThroughTheMakersManager)
{
    SCountingManager manager;
    {
        CWideString made(u"Bild", manager.mgr);
        SStringData* pData = made.GetData();
        pData->AddRef(); // the host's copy shares the data: Clone gave the same manager
        ASSERT_EQ(pData->pStringMgr->pTable->Clone(pData->pStringMgr), &manager.mgr);

        SStringData* pForked = host_side::Fork(pData, 40); // the shared copy is changed
        ASSERT_NE(pForked, nullptr);
        EXPECT_EQ(pForked->pStringMgr, &manager.mgr);
        EXPECT_EQ(pForked->nRefs, 1);
        EXPECT_GE(pForked->nAllocLength, 40);
        EXPECT_EQ(std::u16string_view(pForked->data()), u"Bild");
        EXPECT_EQ(pData->nRefs, 1);

        SStringData* pGrown = pForked->pStringMgr->pTable->Reallocate(pForked->pStringMgr, pForked, 5000, 2);
        ASSERT_NE(pGrown, nullptr);
        EXPECT_EQ(pGrown->nAllocLength, 5000);
        EXPECT_EQ(std::u16string_view(pGrown->data()), u"Bild");

        // Emptied: released, then the manager's shared empty string with one more reference.
        lvp::SStringMgr* mgr = pGrown->pStringMgr;
        pGrown->Release();
        SStringData* pNil = mgr->pTable->GetNilString(mgr);
        const int refs = pNil->nRefs;
        EXPECT_EQ(pNil->nDataLength, 0);
        EXPECT_EQ(pNil->data()[0], u'\0');
        EXPECT_EQ(mgr->pTable->GetNilString(mgr), pNil);
        EXPECT_EQ(pNil->nRefs, refs + 1);
        pNil->Release();
        pNil->Release();
        EXPECT_GT(pNil->nRefs, 0); // never freed
    }
    EXPECT_EQ(manager.m_nAllocated, 2);
    EXPECT_EQ(manager.m_nFreed, 2);
}

TEST(WideString, ImpossibleSizesAllocateNothing)
{
    lvp::SStringMgr& mgr = lvp::DefaultStringManager();
    const struct {
        int nChars, nCharSize;
    } cases[] = {{-1, 2}, {0, 0}, {10, -2}, {INT32_MAX, 2}, {INT32_MAX / 2, 2}, {5, 1000}};
    for (const auto& c : cases)
        EXPECT_EQ(mgr.pTable->Allocate(&mgr, c.nChars, c.nCharSize), nullptr) << c.nChars << " x " << c.nCharSize;
    SStringData* pData = mgr.pTable->Allocate(&mgr, 3, 2);
    ASSERT_NE(pData, nullptr);
    EXPECT_EQ(mgr.pTable->Reallocate(&mgr, pData, -5, 2), nullptr); // the old storage stays
    EXPECT_EQ(pData->nAllocLength, 3);
    mgr.pTable->Free(&mgr, pData);
}
} // namespace
