// Temporary names that carry their owner's process id, the one parser of them, and the sweep of
// those whose owner has ended. Implemented by platform/temp_name.cpp (portable, over COs).
#pragma once
#include "platform/os.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
// prefix + the process id in 8 hex digits + "-" + 64 random bits in 16 hex digits + suffix;
// a new name on every call.
std::u16string UniqueName(const std::u16string& prefix, const std::u16string& suffix, uint32_t processId);
// rest is what UniqueName added to a prefix: the process id it carries and the suffix after it;
// false for any other text.
bool TemporaryNameProcess(std::u16string_view rest, uint32_t& processId, std::u16string_view& suffix);
// Removes what UniqueName(prefix, suffix, id) named for processes id that have ended: files,
// and folders with all they hold. suffix empty: names with any suffix. What this process or a
// running one owns, and every other name, stays.
void RemoveStaleTemporaries(const COs& os, const std::u16string& prefix, std::u16string_view suffix);
} // namespace platform
