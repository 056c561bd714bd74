// A Load that ends with an out-of-memory exception part-way: the unload's Save must not then
// replace the file with the entries read before the failure. Its own executable, since it
// replaces the global operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "settings/settings_store.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"

namespace {
// While armed, the countdown-th allocation of at least kBig bytes throws.
constexpr size_t kBig = 1 << 20;
long g_nCountdown = -1;
} // namespace

void* operator new(size_t size)
{
    if (size >= kBig && g_nCountdown >= 0 && g_nCountdown-- == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

namespace lvp {
namespace {
TEST(AllocFaultTest, IncompleteLoadNeverOverwritesTheFile)
{
    TempDir dir;
    CRedirectedOs os(dir);
    const fs::path file = dir.path() / "lvp_hdr.xml";
    // Small entries around one value of 1.5 M characters: buffering that value fails.
    const std::string bytes = "\xEF\xBB\xBF<Settings>"
                              "<c Attr=\"JpegQuality\" Type=\"int\">70</c>"
                              "<c Attr=\"EnfusePath\" Type=\"string\">C:\\enfuse.exe</c>"
                              "<c Attr=\"Huge\" Type=\"string\">" +
                              std::string(1500000, 'x') +
                              "</c>"
                              "<c Attr=\"After\" Type=\"int\">7</c></Settings>";
    WriteBytes(file, bytes);
    int partWay = 0;
    for (long k = 0; k < 20; ++k) {
        bool threw = false, complete = false;
        {
            CSettingsStore store(os);
            g_nCountdown = k;
            try {
                store.Load(file.u16string());
            } catch (const std::bad_alloc&) {
                threw = true;
            }
            g_nCountdown = -1;
            complete = SSettingsStorePeer::IntMap(store).Find(u"After") != nullptr;
            if (threw && SSettingsStorePeer::IntMap(store).Find(u"JpegQuality"))
                ++partWay;
            store.SetInt(u"JpegQuality", 50);
        }
        if (complete) {
            // The k-th large allocation came after the Load: the save went through.
            const std::string saved = ReadBytes(file);
            EXPECT_NE(saved.find(">50</c>"), std::string::npos);
            EXPECT_NE(saved.find(std::string(1500000, 'x')), std::string::npos);
            break;
        }
        // Failed while buffering the file (no exception) or part-way (exception): untouched.
        EXPECT_EQ(ReadBytes(file), bytes) << "allocation " << k << (threw ? ", exception" : "");
    }
    EXPECT_GT(partWay, 0) << "no failure came after the first entries";
}
} // namespace
} // namespace lvp
