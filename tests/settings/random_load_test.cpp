// Load of thousands of random and mutated files: no crash, no hang, and what it keeps survives Save.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "settings/settings_store.h"
#include "tests/support/test_util.h"

namespace lvp {
namespace {
const std::string kPieces[] = {"<Settings>",
                               "<c ",
                               "</c>",
                               "Attr",
                               "Type",
                               "=\"",
                               "\"",
                               ">",
                               "<",
                               "string",
                               "int",
                               "bool",
                               "bin",
                               "true",
                               "-1",
                               "0a",
                               "\r\n",
                               "__&lt;__",
                               "\xEF\xBB\xBF",
                               "\xFF\xFE",
                               "\xFE\xFF",
                               "\xC3",
                               "\xE2\x82",
                               "\xF0\x9F\x98\x80",
                               std::string(1, '\0'),
                               " "};

const std::string kSeed =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n <Settings>\r\n"
    "  <c Attr=\"EnfusePath\" Type=\"string\">C:\\enfuse.exe</c>\r\n"
    "  <c Attr=\"on\" Type=\"bool\">true</c>\r\n"
    "  <c Attr=\"JpegQuality\" Type=\"int\">90</c>\r\n"
    "  <c Attr=\"blob\" Type=\"bin\">007fa5</c>\r\n </Settings>\r\n</Document>\r\n";

std::string Mutate(std::mt19937& rng, std::string s)
{
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 4) {
        case 0: // insert a piece of the syntax
            s.insert(pos, kPieces[rng() % std::size(kPieces)]);
            break;
        case 1: // delete a run
            s.erase(pos, rng() % 12);
            break;
        case 2: // overwrite a byte
            if (pos < s.size())
                s[pos] = static_cast<char>(rng());
            break;
        default: // cut the file
            s.resize(pos);
            break;
        }
    }
    return s;
}

std::string RandomBytes(std::mt19937& rng)
{
    std::string s;
    const size_t n = rng() % 200;
    for (size_t i = 0; i < n; ++i)
        s += rng() % 3 ? kPieces[rng() % std::size(kPieces)] : std::string(1, static_cast<char>(rng()));
    return s;
}

// Entries are the same whatever the order in which a map yields them.
std::multiset<std::string> Lines(const std::string& dump)
{
    std::multiset<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = dump.find('\n', start)) != std::string::npos; start = end + 1)
        lines.insert(dump.substr(start, end - start));
    return lines;
}

TEST(RandomLoadTest, NeverFailsAndRoundTrips)
{
    TempDir dir;
    CRedirectedOs os(dir);
    const fs::path file = dir.path() / "in.xml";
    const fs::path saved = dir.path() / "saved.xml";
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        fs::remove(saved);
        const std::string bytes = round % 3 == 0 ? RandomBytes(rng) : Mutate(rng, kSeed);
        WriteBytes(file, bytes);
        std::string dump, written;
        {
            CSettingsStore store(os);
            store.Load(file.u16string());
            dump = Dump(store);
            written = Dump(store, true);
            store.Load(saved.u16string()); // no such file yet: only sets where the destructor saves
            ASSERT_EQ(Dump(store), dump) << "round " << round;
        }
        CSettingsStore again(os);
        again.Load(saved.u16string());
        ASSERT_EQ(Lines(Dump(again)), Lines(written)) << "round " << round;
    }
}
} // namespace
} // namespace lvp
