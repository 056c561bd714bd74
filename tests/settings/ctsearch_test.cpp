// CTSearch: the marker's tables and the first occurrence followed by one more byte.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/ctsearch.h"

namespace lvp {
namespace {
int64_t Find(const std::string& pattern, const std::string& text)
{
    CTSearch s(reinterpret_cast<const uint8_t*>(pattern.data()), static_cast<int32_t>(pattern.size()));
    return s.Find(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// The occurrence the searcher must report: the first at p with p + m < L.
int64_t Naive(const std::string& pattern, const std::string& text)
{
    for (size_t p = 0; p + pattern.size() < text.size(); ++p)
        if (text.compare(p, pattern.size(), pattern) == 0)
            return static_cast<int64_t>(p);
    return -1;
}

TEST(CTSearchTest, Cases)
{
    const std::string marker("<\0S\0e\0t\0t\0i\0n\0g\0s\0>\0", 20);
    struct Row {
        std::string pattern, text;
        int64_t expected;
    } rows[] = {
        {marker, marker + std::string("\n\0", 2), 0},
        {marker, marker, -1}, // nothing after it
        {marker, std::string("x\0", 2) + marker + "a", 2},
        {marker, std::string("<\0S\0e\0t\0", 8) + marker + "!", 8},
        {marker, "", -1},
        {"abc", "abcabc", 0},
        {"abc", "xxabc", -1},
        {"abc", "xxabcx", 2},
        {"aa", "baaa", 1},
        {"a", "ba", -1},
        {"a", "ab", 0},
        {"abab", "abaabab!", 3},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Find(r.pattern, r.text), r.expected) << r.text.size();
}

TEST(CTSearchTest, AgreesWithNaiveSearchOnRandomTexts)
{
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        const int alphabet = 2 + static_cast<int>(rng() % 3);
        auto random_text = [&](size_t n) {
            std::string s;
            for (size_t i = 0; i < n; ++i)
                s += static_cast<char>('a' + rng() % alphabet);
            return s;
        };
        const std::string pattern = random_text(1 + rng() % 6);
        const std::string text = random_text(rng() % 40);
        ASSERT_EQ(Find(pattern, text), Naive(pattern, text)) << pattern << " in " << text;
    }
}
} // namespace
} // namespace lvp
