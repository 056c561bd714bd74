// ReplaceThroughTemporary: a file's new content written to a temporary beside it and put in its
// place in one step. Implemented by platform/replace_file.cpp (portable, over COs).
#pragma once
#include "platform/os.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace platform {
enum class EReplaced {
    Done,       // the target holds the new content
    NotCreated, // the folder took no temporary
    NotWritten, // the temporary could not be written, put on the disk or closed
    NotMoved,   // the temporary could not be put in the target's place
};

// Receives the open temporary; writes the whole content, puts it on the disk (FlushToDisk) and
// closes the file. True when every step succeeded.
using FWriteTemporary = std::function<bool(CFile file)>;

// Creates prefix + a unique part + suffix (COs::CreateUniqueFile; prefix names the target's
// folder), lets write fill it and moves it over target; then removes what hosts that have ended
// left under the same prefix and suffix (RemoveStaleTemporaries). On every other outcome the
// temporary is removed and target stays as it was. An exception from write or os passes through
// and leaves the temporary, as a process stopped there would, for a later sweep.
EReplaced ReplaceThroughTemporary(const COs& os, const std::u16string& target, const std::u16string& prefix,
                                  const std::u16string& suffix, const FWriteTemporary& write);
// The same with bytes as the whole new content.
EReplaced ReplaceThroughTemporary(const COs& os, const std::u16string& target, const std::u16string& prefix,
                                  const std::u16string& suffix, std::span<const uint8_t> bytes);
} // namespace platform
