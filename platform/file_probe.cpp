// The read test of a file, through the shared file opening of the platform.
#include "platform/file_probe.h"

#include "platform/fs.h"

namespace platform {
bool FileOpensForReading(const std::u16string& path)
{
    return !path.empty() && static_cast<bool>(OpenForReading(path));
}
} // namespace platform
