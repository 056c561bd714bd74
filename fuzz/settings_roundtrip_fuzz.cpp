// Fuzz target: load -> save -> load keeps every entry and value that the first load kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/check.h"
#include "fuzz/entries.h"
#include "fuzz/memory_os.h"
#include "settings/settings_store.h"

using lvp::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using lvp::fuzz::CMemoryOs;
    static CMemoryOs os;
    os.Clear();
    os.SetBytes(CMemoryOs::kFile, std::string(reinterpret_cast<const char*>(data), size));
    std::multiset<std::string> first;
    {
        lvp::CSettingsStore store(os);
        store.Load(std::u16string());
        first = lvp::fuzz::WrittenEntries(store);
    } // saves
    const std::string saved = *os.Bytes(CMemoryOs::kFile);
    Check(os.FileCount() == 1, "a temporary file was left");
    {
        lvp::CSettingsStore store(os);
        store.Load(std::u16string());
        Check(lvp::fuzz::WrittenEntries(store) == first, "entries differ after one save");
    } // saves again
    // The second file holds the same entries; only bucket-mates may have changed places.
    Check(os.Bytes(CMemoryOs::kFile)->size() == saved.size(), "second save differs in length");
    return 0;
}
