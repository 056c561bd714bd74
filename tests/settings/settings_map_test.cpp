// CSettingsMap: buckets by the key's hash, newest first within a bucket, removal and reinsertion.
#include <gtest/gtest.h>

#include <vector>

#include "settings/settings_map.h"

namespace lvp {
namespace {
std::vector<std::u16string> Keys(const CSettingsMap<int>& map)
{
    std::vector<std::u16string> keys;
    map.ForEach([&](const std::u16string& k, int) { keys.push_back(k); });
    return keys;
}

TEST(SettingsMapTest, HashAndBucket)
{
    EXPECT_EQ(CSettingsMap<int>::Hash(u"a"), 97u);
    EXPECT_EQ(CSettingsMap<int>::Bucket(u"a"), 12u);
    EXPECT_EQ(CSettingsMap<int>::Bucket(u"b"), 13u);
    EXPECT_EQ(CSettingsMap<int>::Bucket(u"r"), 12u);
    EXPECT_EQ(CSettingsMap<int>::Bucket(u"JpegQuality"), 6u);
    EXPECT_EQ(CSettingsMap<int>::Bucket(u"EnfusePath"), 10u);
    EXPECT_EQ(CSettingsMap<int>::Hash(u""), 0u);
    // Wraps in 32 bits: 33^7 * 'z' overflows long before the end.
    uint32_t h = 0;
    for (char16_t u : std::u16string(u"zzzzzzzzzzzz"))
        h = h * 33u + u;
    EXPECT_EQ(CSettingsMap<int>::Hash(u"zzzzzzzzzzzz"), h);
}

TEST(SettingsMapTest, IterationOrder)
{
    using V = std::vector<std::u16string>;
    CSettingsMap<int> m;
    m[u"b"] = 1;
    m[u"a"] = 2;
    EXPECT_EQ(Keys(m), (V{u"a", u"b"})); // bucket 12 before 13, whatever the insertion order
    m[u"r"] = 3;
    EXPECT_EQ(Keys(m), (V{u"r", u"a", u"b"})); // newest first within bucket 12
    m[u"a"] = 4;
    EXPECT_EQ(Keys(m), (V{u"r", u"a", u"b"})); // assignment keeps the position
    EXPECT_EQ(*m.Find(u"a"), 4);
    EXPECT_TRUE(m.Remove(u"a"));
    EXPECT_FALSE(m.Remove(u"a"));
    EXPECT_EQ(m.Find(u"a"), nullptr);
    m[u"a"] = 5;
    EXPECT_EQ(Keys(m), (V{u"a", u"r", u"b"})); // reinserted at the head
    EXPECT_TRUE(m.Remove(u"r"));               // from the middle of a chain
    EXPECT_TRUE(m.Remove(u"a"));               // the head
    m[u""] = 0;
    m[u"JpegQuality"] = 95;
    EXPECT_EQ(Keys(m), (V{u"", u"JpegQuality", u"b"}));
    EXPECT_EQ(m.size(), 3u);
}

TEST(SettingsMapTest, ManyKeysStayInChainOrder)
{
    CSettingsMap<int> m;
    std::vector<std::u16string> inserted;
    for (int i = 0; i < 500; ++i) {
        std::u16string k = u"k";
        for (char c : std::to_string(i))
            k += static_cast<char16_t>(c);
        m[k] = i;
        inserted.push_back(k);
    }
    for (int i = 0; i < 500; i += 3)
        m.Remove(inserted[i]);
    std::vector<std::u16string> expected;
    for (uint32_t b = 0; b < 17; ++b)
        for (int i = 499; i >= 0; --i)
            if (i % 3 != 0 && CSettingsMap<int>::Bucket(inserted[i]) == b)
                expected.push_back(inserted[i]);
    EXPECT_EQ(Keys(m), expected);
}
} // namespace
} // namespace lvp
