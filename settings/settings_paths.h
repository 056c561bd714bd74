// Path helpers of the settings store: trailing separator, folder tests, CD-ROM test.
#pragma once
#include <string>

#include "platform/os.h"

namespace lvp {
// Appends the platform's separator unless path is empty or already ends in it.
void AddTrailingBackslash(std::u16string& path, char16_t separator);
// A folder (or a file that cannot be opened for reading) exists at path.
bool FolderExists(const platform::COs& os, const std::u16string& path);
// A probe file "_w_tmp.<unique>.tmp" can be created in folder (empty: the current directory).
bool IsFolderWritable(const platform::COs& os, std::u16string folder);
// path's drive root ("C:\"), or the whole path when it has none, lies on a CD-ROM drive.
bool IsPathOnCdRom(const platform::COs& os, std::u16string path);
} // namespace lvp
