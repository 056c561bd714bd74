// Path helpers of the settings store, on the injected OS services.
#include "settings/settings_paths.h"

#include "platform/path.h"

namespace lvp {
void AddTrailingBackslash(std::u16string& path, char16_t separator)
{
    platform::AppendSeparator(path, separator);
}

bool FolderExists(const platform::COs& os, const std::u16string& path)
{
    if (path.empty())
        return false;
    if (os.OpenForReading(path))
        return false;
    std::u16string full;
    if (!os.FullPath(path, full))
        full = path.substr(0, os.MaxPathLength());
    return os.Exists(full);
}

bool IsFolderWritable(const platform::COs& os, std::u16string folder)
{
    AddTrailingBackslash(folder, os.PathSeparator());
    // The probe has a name of its own, so it neither meets another process's probe nor
    // deletes a user's file; made exclusively, it is never written through a link.
    std::u16string probe;
    if (!os.CreateUniqueFile(folder + u"_w_tmp.", u".tmp", probe))
        return false;
    os.RemoveFile(probe); // the holder closed it at the end of the test above
    return true;
}

bool IsPathOnCdRom(const platform::COs& os, std::u16string path)
{
    if (path.size() >= 3 && path[1] == u':' && path[2] == os.PathSeparator())
        path.resize(3);
    return os.IsCdRom(path);
}
} // namespace lvp
