// Fuzz target: any bytes as the settings file, loaded into a store (no crash, no hang, no leak).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/memory_os.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static lvp::fuzz::CMemoryOs os;
    os.Clear();
    os.SetBytes(lvp::fuzz::CMemoryOs::kFile, std::string(reinterpret_cast<const char*>(data), size));
    lvp::CSettingsStore store(os);
    store.Load(std::u16string());
    // The readers of the maps, as the command and the writer use them.
    store.GetInt(u"JpegQuality", 95);
    store.GetString(u"EnfusePath", std::u16string());
    lvp::SSettingsStorePeer::StringMap(store).ForEach(
        [&](const std::u16string& key, const std::u16string&) { store.GetString(key, u"x"); });
    // The destructor saves into memory, as the module does at unload.
    return 0;
}
