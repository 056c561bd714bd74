// The Windows boundary's adapter: the host's layout over a C++ plug-in object, and no exception
// crossing it, whatever the object does.
#include "plugin/win32/win32_plugin_boundary.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {
using namespace lvp;

// Fails on demand in each operation; counts its destructions.
class CFlakyPlugin : public CFunctionPlugin {
public:
    static inline bool s_bThrow = false;
    static inline bool s_bFailCreate = false;
    static inline int s_nDestroyed = 0;

    ~CFlakyPlugin() override { ++s_nDestroyed; }
    CWideString GetName() override { return Maybe(u"Flaky"); }
    CWideString GetDescription() override { return Maybe(u"fails on demand"); }
    SStartResult Start(HostWindow, const SelectionList& selection) override
    {
        s_nSelected = selection.size();
        Maybe(u"");
        return {1, 0, 0};
    }
    bool Query(std::uint32_t) override { return Maybe(u""), false; }
    ResultList* Execute() override
    {
        for (int i = 0; i < 5; ++i) // grows the list past its first storage, then may fail
            m_results.push_back({CWideString(u"C:\\out.jpg"), 1});
        Maybe(u"");
        return &m_results;
    }
    static inline size_t s_nSelected = 0;

private:
    CWideString Maybe(std::u16string_view text)
    {
        if (s_bThrow)
            throw std::runtime_error("flaky");
        return CWideString(text);
    }
};

CFunctionPlugin* CreateFlaky()
{
    if (CFlakyPlugin::s_bFailCreate)
        throw std::bad_alloc();
    return new CFlakyPlugin;
}

std::u16string Call(CWideString* (LVP_THISCALL* slot)(SPluginObject*, CWideString*), SPluginObject* p)
{
    alignas(CWideString) unsigned char storage[sizeof(CWideString)];
    CWideString* s = slot(p, reinterpret_cast<CWideString*>(storage));
    std::u16string text = s->str();
    s->~CWideString();
    return text;
}

TEST(Boundary, EveryEntryAnswersAndNoExceptionCrosses)
{
    for (bool bThrow : {false, true}) {
        CFlakyPlugin::s_bThrow = false;
        SPluginObject* p = Factory<&CreateFlaky>();
        ASSERT_NE(p, nullptr);
        CFlakyPlugin::s_bThrow = bThrow;
        const SPluginTable& t = *p->pTable;
        EXPECT_EQ(Call(t.GetName, p), bThrow ? u"" : u"Flaky");
        EXPECT_EQ(Call(t.GetDescription, p), bThrow ? u"" : u"fails on demand");
        const char16_t* files[] = {u"C:\\a.jpg", u"C:\\b.jpg", u"C:\\c.jpg"};
        SelectionLayout selection{files, files + 3, files + 3};
        SStartResult start{7, 7, 7};
        EXPECT_EQ(t.Start(p, &start, nullptr, &selection), &start);
        EXPECT_EQ(start.proceed, bThrow ? 0 : 1);
        EXPECT_EQ(start.extra1 + start.extra2, 0);
        EXPECT_EQ(t.Query(p, 3), bThrow); // a failed Query answers the default, true
        // The list as it now is, also after a failure: the pointers follow the grown storage.
        ResultListLayout* list = t.Execute(p);
        ASSERT_EQ(list, &p->m_results);
        ASSERT_EQ(list->pLast - list->pFirst, 5);
        EXPECT_GE(list->pEnd, list->pLast);
        EXPECT_EQ(list->pFirst[4].file.str(), u"C:\\out.jpg");
        EXPECT_EQ(list->pFirst[4].flag, 1);
        const int destroyed = CFlakyPlugin::s_nDestroyed;
        EXPECT_EQ(t.Destroy(p, 1u), p);
        EXPECT_EQ(CFlakyPlugin::s_nDestroyed, destroyed + 1);
    }
    CFlakyPlugin::s_bThrow = false;
}

TEST(Boundary, SelectionLayoutsReachTheObject)
{
    SPluginObject* p = Factory<&CreateFlaky>();
    ASSERT_NE(p, nullptr);
    const char16_t* files[] = {u"a", u"b"};
    const SelectionLayout two{files, files + 2, files + 2}, empty{}, reversed{files + 2, files, files};
    const struct {
        const SelectionLayout* list;
        size_t selected;
    } cases[] = {{&two, 2}, {&empty, 0}, {&reversed, 0}, {nullptr, 0}};
    for (const auto& c : cases) {
        SStartResult start{};
        p->pTable->Start(p, &start, nullptr, c.list);
        EXPECT_EQ(CFlakyPlugin::s_nSelected, c.selected);
    }
    p->pTable->Destroy(p, 1u);
}

TEST(Boundary, FailedFactoryAndDestroyWithoutFreeing)
{
    CFlakyPlugin::s_bFailCreate = true;
    EXPECT_EQ(Factory<&CreateFlaky>(), nullptr);
    CFlakyPlugin::s_bFailCreate = false;
    // Flag bit 0 clear: the object is destroyed, its memory stays for the caller to free.
    SPluginObject* p = Factory<&CreateFlaky>();
    ASSERT_NE(p, nullptr);
    const int destroyed = CFlakyPlugin::s_nDestroyed;
    p->pTable->Destroy(p, 0u);
    EXPECT_EQ(CFlakyPlugin::s_nDestroyed, destroyed + 1);
    EXPECT_EQ(p->m_results.pFirst, nullptr);
    ::operator delete(p);
}

TEST(Boundary, VersionExportConstructsInTheCallersStorage)
{
    alignas(CWideString) unsigned char storage[sizeof(CWideString)];
    CWideString* s = ReturnString(reinterpret_cast<CWideString*>(storage), u"1.4");
    EXPECT_EQ(static_cast<void*>(s), static_cast<void*>(storage));
    EXPECT_EQ(*s, u"1.4");
    s->~CWideString();
}
} // namespace
