// Several processes saving at once, and saves killed at random points: the settings file is
// always whole, never moved, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "child.h"
#include "platform/utf.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
constexpr int kSeeds = 20;
constexpr const char* kHostVar = "LVP_SETTINGS_HOST";   // child mode: "folder;id;rounds"
constexpr const char* kSaverVar = "LVP_SETTINGS_SAVER"; // child mode: "folder"

std::u16string SeedKey(int i)
{
    return u"Seed" + platform::Utf8ToUtf16(std::to_string(i));
}

// The file every host must find whole: kSeeds integer entries, Seed<i> = 1000 + i.
void WriteSeeds(const fs::path& file)
{
    std::string text = "\xEF\xBB\xBF<Settings>";
    for (int i = 0; i < kSeeds; ++i)
        text += "<c Attr=\"Seed" + std::to_string(i) + "\" Type=\"int\">" + std::to_string(1000 + i) + "</c>";
    WriteBytes(file, text);
}

// Every seed is in the store with its value.
bool SeedsIntact(CSettingsStore& store)
{
    for (int i = 0; i < kSeeds; ++i)
        if (store.GetInt(SeedKey(i), -1) != 1000 + i)
            return false;
    return true;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<std::string> TempFiles(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().extension() == ".tmp")
            names.push_back(e.path().string());
    return names;
}

// Child mode: one host that, round after round, chooses its folder (with the write probe),
// loads, sets its own key and saves at unload, as lvphost does.
TEST(ChildMode, Host)
{
    const char* arg = std::getenv(kHostVar);
    if (!arg)
        GTEST_SKIP() << "child mode only";
    const std::vector<std::string> parts = Split(arg);
    ASSERT_EQ(parts.size(), 3u);
    const std::u16string dir = fs::path(parts[0]).u16string();
    CRedirectedOs os(dir);
    const std::u16string key = u"Host" + platform::Utf8ToUtf16(parts[1]);
    const std::u16string expected = dir + os.PathSeparator() + u"Lumivant" + os.PathSeparator();
    for (int round = 1; round <= std::atoi(parts[2].c_str()); ++round) {
        CSettingsStore store(os);
        ASSERT_EQ(SSettingsStorePeer::Folder(store), expected) << "round " << round << ": settings moved";
        store.Load(u"");
        ASSERT_TRUE(SeedsIntact(store)) << "round " << round << ": settings lost";
        store.SetInt(key, round);
    }
}

TEST(ProcessTest, FourHostsAtOnce)
{
    TempDir dir;
    fs::create_directory(dir.path() / "Lumivant");
    const fs::path file = dir.path() / "Lumivant" / "lvp_hdr.xml";
    WriteSeeds(file);
    constexpr int kRounds = 300;
    std::vector<std::unique_ptr<CChild>> hosts;
    for (int id = 0; id < 4; ++id) {
        const std::string arg =
            dir.path().string() + ";" + std::to_string(id) + ";" + std::to_string(kRounds);
        hosts.push_back(std::make_unique<CChild>("ChildMode.Host", kHostVar, arg));
        ASSERT_TRUE(hosts.back()->Started());
    }
    for (int id = 0; id < 4; ++id)
        EXPECT_EQ(hosts[id]->Wait(), 0) << "host " << id;
    CRedirectedOs os(dir);
    CSettingsStore store(os);
    store.Load(file.u16string());
    EXPECT_TRUE(SeedsIntact(store));
    EXPECT_TRUE(ReadBytes(file).ends_with(" </Settings>\r\n</Document>\r\n"));
    EXPECT_TRUE(TempFiles(dir.path()).empty());
    EXPECT_FALSE(fs::exists(dir.path() / "lvp_hdr.xml")) << "a settings file beside the host";
}

// Child mode: saves a large store again and again, alternating two values of 64 KB each.
TEST(ChildMode, Saver)
{
    const char* arg = std::getenv(kSaverVar);
    if (!arg)
        GTEST_SKIP() << "child mode only";
    const fs::path file = fs::path(arg) / "lvp_hdr.xml";
    CRedirectedOs os(fs::path(arg).u16string());
    for (int round = 0;; ++round) {
        CSettingsStore store(os);
        store.Load(file.u16string());
        store.SetBinFromHex(u"Big", std::u16string(128 << 10, round % 2 ? u'a' : u'5'));
    }
}

TEST(ProcessTest, SavesKilledAtRandomPoints)
{
    TempDir dir;
    const fs::path file = dir.path() / "lvp_hdr.xml";
    WriteSeeds(file);
    const char* more = std::getenv("LVP_SETTINGS_KILLS");
    const int kills = more ? std::atoi(more) : 50;
    std::mt19937 random(std::random_device{}());
#ifdef _WIN32
    std::uniform_int_distribution<int> delay(100, 700); // a Wine process takes a while to start
#else
    std::uniform_int_distribution<int> delay(20, 300);
#endif
    int tempLeft = 0, midFile = 0;
    for (int k = 0; k < kills; ++k) {
        {
            CChild saver("ChildMode.Saver", kSaverVar, dir.path().string());
            ASSERT_TRUE(saver.Started());
            std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
            saver.Kill();
            saver.Wait();
        }
        const std::string bytes = ReadBytes(file);
        CRedirectedOs os(dir);
        CSettingsStore store(os);
        store.Load(file.u16string());
        ASSERT_TRUE(SeedsIntact(store)) << "kill " << k;
        ASSERT_TRUE(bytes.ends_with("</Document>\r\n") || bytes.ends_with("</c>")) << "kill " << k;
        const SBinData* big = SSettingsStorePeer::BinMap(store).Find(u"Big");
        if (big) {
            ASSERT_EQ(big->nLength, 64 << 10) << "kill " << k;
            const uint8_t first = big->pData[0];
            ASSERT_TRUE(first == 0xAA || first == 0x55) << "kill " << k;
            ASSERT_EQ(std::count(big->pData.get(), big->pData.get() + big->nLength, first), big->nLength);
        }
        // A process killed between creating its temporary file and the replace leaves that
        // file; it bears the dead process's id and is removed here.
        for (const std::string& t : TempFiles(dir.path())) {
            ++tempLeft;
            fs::remove(t);
        }
        midFile += big != nullptr;
    }
    std::printf("%d kills, %d with the large value saved, %d temporary files left by killed saves\n", kills,
                midFile, tempLeft);
}
} // namespace
} // namespace lvp
