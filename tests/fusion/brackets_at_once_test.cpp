// The memory estimate against the peaks measured, and how many brackets it lets run at once.
#include "fusion/brackets_at_once.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;
constexpr uint64_t kMB = 1000 * 1000;
constexpr uint64_t kMP = 1000 * 1000;

// Every measured peak (GNU time's maximum resident size, the brackets of the constants' comment)
// is covered, and no more than twice its size is held back.
TEST(BracketsAtOnce, EstimateCoversTheMeasuredPeaks)
{
    constexpr uint64_t kKiB = 1024;
    constexpr uint64_t k2MP = 1732 * 1155, k6MP = 3000 * 2000, k12MP = 4240 * 2832;
    struct Case {
        uint64_t nPixels;
        size_t nPhotos;
        bool bAlign;
        uint64_t nMeasured;
    } cases[] = {
        {k2MP, 3, false, 90072 * kKiB},  {k2MP, 5, false, 121504 * kKiB},  {k6MP, 3, false, 238368 * kKiB},
        {k6MP, 5, false, 332052 * kKiB}, {k12MP, 3, false, 452176 * kKiB}, {k12MP, 5, false, 640152 * kKiB},
        {k12MP, 3, true, 450984 * kKiB}, {k6MP, 5, true, 329160 * kKiB},   {k2MP, 3, true, 89696 * kKiB},
    };
    for (const Case& c : cases) {
        const uint64_t need = BracketMemoryNeed({c.nPixels, c.nPhotos}, c.bAlign);
        EXPECT_GE(need, c.nMeasured) << c.nPixels << " pixels x " << c.nPhotos;
        EXPECT_LE(need, 2 * c.nMeasured) << c.nPixels << " pixels x " << c.nPhotos;
    }
    // align_image_stack alone, 12 MP: 130208 kB.
    EXPECT_GE(BracketMemoryNeed({k12MP, 2}, true), 130208 * kKiB);
    EXPECT_EQ(BracketMemoryNeed({0, 3}, false), 0u) << "size unknown";
    EXPECT_EQ(BracketMemoryNeed({uint64_t{1} << 40, 3}, true), 0u) << "a header beyond any camera";
}

TEST(BracketsAtOnce, ProcessorsMemoryAndUnknownSizes)
{
    const SBracketSize small{2 * kMP, 3}, large{24 * kMP, 5};
    const uint64_t nSmall = BracketMemoryNeed(small, false), nLarge = BracketMemoryNeed(large, false);
    struct Case {
        const char* name;
        unsigned nProcessors;
        uint64_t nMemory;
        std::vector<SBracketSize> brackets;
        unsigned nWant;
    } cases[] = {
        {"no brackets", 4, 64 * nLarge, {}, 1},
        {"one bracket", 4, 64 * nLarge, {small}, 1},
        {"the processors limit", 2, 64 * nLarge, {small, small, small}, 2},
        {"the brackets limit", 8, 64 * nLarge, {small, small, small}, 3},
        {"no processor told", 0, 64 * nLarge, {small, small}, 1},
        {"memory unknown", 4, 0, {small, small}, 1},
        {"memory for two exactly", 4, 2 * nSmall, {small, small, small}, 2},
        {"a byte short of two", 4, 2 * nSmall - 1, {small, small, small}, 1},
        {"not even one fits: still one", 4, nSmall / 2, {small, small}, 1},
        {"the largest counted first", 4, nLarge + nSmall, {small, small, large, small}, 2},
        {"the largest and a byte short", 4, nLarge + nSmall - 1, {small, small, large, small}, 1},
        {"a size unknown", 4, 64 * nLarge, {small, {0, 3}, small}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BracketsAtOnce(c.nProcessors, c.nMemory, c.brackets, false), c.nWant) << c.name;
}
} // namespace
