// The read test of a file, through the shared file opening of the platform.
#include "platform/file_probe.h"

#include "platform/fs.h"

namespace platform {
bool FileOpensForReading(const std::u16string& path)
{
    if (path.empty())
        return false;
    std::FILE* file = OpenForReading(path);
    if (!file)
        return false;
    std::fclose(file);
    return true;
}
} // namespace platform
