// Fuzz target: the hex decoding of binary values, against the digit rule stored files rely on.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/check.h"
#include "fuzz/memory_os.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"

using lvp::fuzz::Check;

namespace {
// 0-9 and a-f; every other unit, uppercase digits included, counts 0.
int Digit(char16_t c)
{
    return c >= u'0' && c <= u'9' ? c - u'0' : c >= u'a' && c <= u'f' ? c - u'a' + 10 : 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static lvp::fuzz::CMemoryOs os;
    // Half the inputs as single bytes (mostly ASCII digits), half as UTF-16 units.
    std::u16string text;
    if (size > 0 && (data[0] & 1)) {
        for (size_t i = 1; i + 1 < size; i += 2)
            text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    } else {
        for (size_t i = 1; i < size; ++i)
            text += static_cast<char16_t>(data[i]);
    }
    lvp::CSettingsStore store(os);
    store.SetBinFromHex(u"k", text);
    store.SetBinFromHex(u"k", text.substr(0, text.size() / 2)); // the old buffer is released
    const lvp::SBinData* bin = lvp::SSettingsStorePeer::BinMap(store).Find(u"k");
    Check(bin != nullptr, "entry missing");
    const std::u16string half = text.substr(0, text.size() / 2);
    Check(bin->nLength == static_cast<int32_t>(half.size() / 2), "length is not half the text");
    for (int32_t k = 0; k < bin->nLength; ++k)
        Check(bin->pData[k] == 16 * Digit(half[2 * k]) + Digit(half[2 * k + 1]), "byte value");
    return 0;
}
