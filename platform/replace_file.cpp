// A target replaced by a complete temporary beside it: create, write, move, sweep; the temporary
// removed when any step fails.
#include "platform/replace_file.h"

#include "platform/temp_name.h"

#include <utility>

namespace platform {
EReplaced ReplaceThroughTemporary(const COs& os, const std::u16string& target, const std::u16string& prefix,
                                  const std::u16string& suffix, const FWriteTemporary& write)
{
    std::u16string temp;
    CFile file = os.CreateUniqueFile(prefix, suffix, temp);
    if (!file)
        return EReplaced::NotCreated; // no name of ours to remove
    const bool written = write(std::move(file));
    if (written && os.MoveReplace(temp, target)) {
        RemoveStaleTemporaries(os, prefix, suffix);
        return EReplaced::Done;
    }
    os.RemoveFile(temp); // write took the holder, so the file is closed and can go on every OS
    return written ? EReplaced::NotMoved : EReplaced::NotWritten;
}

EReplaced ReplaceThroughTemporary(const COs& os, const std::u16string& target, const std::u16string& prefix,
                                  const std::u16string& suffix, std::span<const uint8_t> bytes)
{
    return ReplaceThroughTemporary(os, target, prefix, suffix, [&](CFile file) {
        const bool written =
            os.Write(file.Get(), bytes.data(), bytes.size()) == bytes.size() && os.FlushToDisk(file.Get());
        return os.CloseFile(file) && written;
    });
}
} // namespace platform
