// Path helpers of the settings store, on the injected OS services.
#include "settings/settings_paths.h"

void AddTrailingBackslash(std::u16string& path, char16_t separator)
{
    if (!path.empty() && path.back() != separator)
        path += separator;
}

bool FolderExists(const CSettingsOs& os, const std::u16string& path)
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

bool IsFolderWritable(const CSettingsOs& os, std::u16string folder)
{
    AddTrailingBackslash(folder, os.PathSeparator());
    folder += u"_w_tmp.tmp";
    // A stale probe is removed first and the new one created exclusively, so a link or a
    // hard link planted under the name is never written through.
    os.RemoveFile(folder);
    if (!os.CreateNewFile(folder))
        return false;
    os.RemoveFile(folder);
    return true;
}

bool IsPathOnCdRom(const CSettingsOs& os, std::u16string path)
{
    if (path.size() >= 3 && path[1] == u':' && path[2] == os.PathSeparator())
        path.resize(3);
    return os.IsCdRom(path);
}
