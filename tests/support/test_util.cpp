// Helpers of the settings tests.
#include "test_util.h"

#include <atomic>
#include <cstdio>

#include "platform/utf.h"
#include "tests/support/store_peer.h"

using lvp::CSettingsStore;
using lvp::SBinData;
using lvp::SSettingsStorePeer;

platform::CFile ScratchFile(const std::string& bytes)
{
    static TempDir scratch;
    static std::atomic<unsigned> counter{0};
    const fs::path p = scratch.path() / std::to_string(counter++);
    platform::CFile f(std::fopen(p.string().c_str(), "w+b"));
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f.Get());
        std::fflush(f.Get());
        std::rewind(f.Get());
    }
    return f;
}

std::string Utf8(const std::u16string& text)
{
    return platform::Utf16ToUtf8(text);
}

std::string Dump(const CSettingsStore& store, bool writtenOnly)
{
    std::string out;
    auto line = [&out](const char* type, const std::u16string& key, const std::string& value) {
        out.append(type).append(Utf8(key)).append(1, '=').append(value).append(1, '\n');
    };
    SSettingsStorePeer::StringMap(store).ForEach([&](const std::u16string& k, const std::u16string& v) {
        if (!writtenOnly || (!k.empty() && !v.empty()))
            line("s:", k, Utf8(v));
    });
    SSettingsStorePeer::BoolMap(store).ForEach([&](const std::u16string& k, bool v) {
        if (!writtenOnly || !k.empty())
            line("b:", k, v ? "true" : "false");
    });
    SSettingsStorePeer::IntMap(store).ForEach([&](const std::u16string& k, int32_t v) {
        if (!writtenOnly || !k.empty())
            line("i:", k, std::to_string(v));
    });
    SSettingsStorePeer::BinMap(store).ForEach([&](const std::u16string& k, const SBinData& v) {
        if (writtenOnly && (k.empty() || v.nLength == 0))
            return;
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (int32_t i = 0; i < v.nLength; ++i) {
            hex += digits[v.pData[i] >> 4];
            hex += digits[v.pData[i] & 15];
        }
        line("x:", k, v.nLength == 0 ? "-" : hex);
    });
    return out;
}
