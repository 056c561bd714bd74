// The boundary string: header layout, sharing, and release through the manager that allocated it.
#include "plugin/wide_string.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {
using lvp::CWideString;
using lvp::SStringData;

// Counts what passes through it, so a test sees which manager frees a string.
class CCountingManager final : public lvp::CStringManager {
public:
    SStringData* Allocate(std::int32_t nChars) noexcept override
    {
        if (m_bRefuse)
            return nullptr;
        ++m_nAllocated;
        SStringData* pData = lvp::CDefaultStringManager::Instance().Allocate(nChars);
        if (pData != nullptr)
            pData->pStringMgr = this;
        return pData;
    }
    void Free(SStringData* pData) noexcept override
    {
        ++m_nFreed;
        lvp::CDefaultStringManager::Instance().Free(pData);
    }
    SStringData* GetNilString() noexcept override
    {
        return lvp::CDefaultStringManager::Instance().GetNilString();
    }

    int m_nAllocated = 0;
    int m_nFreed = 0;
    bool m_bRefuse = false;
};

TEST(WideString, HeaderPrecedesTheCharacters)
{
    CCountingManager manager;
    {
        CWideString s(u"Bild", manager);
        SStringData* header = s.GetData();
        EXPECT_EQ(reinterpret_cast<const char*>(s.c_str()),
                  reinterpret_cast<const char*>(header) + sizeof(SStringData));
        EXPECT_EQ(header->pStringMgr, &manager);
        EXPECT_EQ(header->nDataLength, 4);
        EXPECT_GE(header->nAllocLength, 4);
        EXPECT_EQ(header->nRefs, 1);
        EXPECT_EQ(s.c_str()[4], u'\0');
    }
    EXPECT_EQ(manager.m_nFreed, 1);
}

TEST(WideString, LastReleaseFreesOnceThroughItsManager)
{
    CCountingManager manager;
    std::vector<CWideString> holders;
    {
        CWideString s(u"C:\\Bilder\\a.jpg", manager);
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
    CCountingManager manager;
    {
        CWideString a(u"", manager);
        CWideString b;
        CWideString c = a;
        CWideString d(static_cast<const char16_t*>(nullptr));
        for (const CWideString* s : {&a, &b, &c, &d}) {
            EXPECT_TRUE(s->empty());
            EXPECT_EQ(s->c_str()[0], u'\0');
            EXPECT_LT(s->GetData()->nRefs, 0);
        }
    }
    EXPECT_EQ(manager.m_nAllocated, 0);
    EXPECT_EQ(manager.m_nFreed, 0);
}

TEST(WideString, CopiesOnSeveralThreadsFreeOnce)
{
    CCountingManager manager;
    {
        const CWideString shared(u"C:\\Bilder\\a.jpg", manager);
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
    CCountingManager manager;
    manager.m_bRefuse = true;
    EXPECT_THROW(CWideString(u"x", manager), std::bad_alloc);
    EXPECT_EQ(manager.m_nFreed, 0);
}

TEST(WideString, EmbeddedNulAndSurrogatesSurvive)
{
    const std::u16string text(u"a\0b\U0001F600", 5);
    CWideString s(text);
    EXPECT_EQ(s.length(), 5u);
    EXPECT_EQ(s.str(), text);
}
} // namespace
