// What a settings store would write, as a set of "type:key=value" lines, for comparing stores.
#pragma once
#include <set>
#include <string>

#include "platform/utf.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"

namespace lvp::fuzz {
// Entries that Save writes, in no particular order (entries sharing a bucket swap on each save).
inline std::multiset<std::string> WrittenEntries(const CSettingsStore& store)
{
    std::multiset<std::string> out;
    auto add = [&out](const char* type, const std::u16string& key, const std::string& value) {
        out.insert(type + platform::Utf16ToUtf8(key) + '=' + value);
    };
    SSettingsStorePeer::StringMap(store).ForEach([&](const std::u16string& k, const std::u16string& v) {
        if (!k.empty() && !v.empty())
            add("s:", k, platform::Utf16ToUtf8(v));
    });
    SSettingsStorePeer::BoolMap(store).ForEach([&](const std::u16string& k, bool v) {
        if (!k.empty())
            add("b:", k, v ? "true" : "false");
    });
    SSettingsStorePeer::IntMap(store).ForEach([&](const std::u16string& k, int32_t v) {
        if (!k.empty())
            add("i:", k, std::to_string(v));
    });
    SSettingsStorePeer::BinMap(store).ForEach([&](const std::u16string& k, const SBinData& v) {
        if (!k.empty() && v.nLength != 0)
            add("x:", k,
                std::string(reinterpret_cast<const char*>(v.pData.get()), static_cast<size_t>(v.nLength)));
    });
    return out;
}
} // namespace lvp::fuzz
