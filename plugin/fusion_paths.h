// The command's two path rules: the proposed output file and where the fusion program is.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace lvp {
// Folder and extension of the first path, its name and the last path's name joined by "-".
// A name is the file name up to its last "."; a file name without "." is all name and has no
// extension (the folder part never gives either).
std::u16string ProposeOutputName(std::u16string_view first, std::u16string_view last, char16_t separator);

// What LocateFusionProgram asks of the OS.
struct SProgramLookup {
    char16_t separator = u'\\';
    std::u16string strProgramName = u"enfuse.exe";
    // The file opens for reading (a folder does not).
    std::function<bool(const std::u16string&)> fileOpens;
    // The full path of the current folder; false when it cannot be made or does not fit.
    std::function<bool(std::u16string&)> currentFolder;
    // The first executable of that name on the search path, or empty (Linux only; null elsewhere).
    std::function<std::u16string(const std::u16string&)> findOnPath;
};
// The stored path if it opens; else the current folder's program; where that file is missing
// too and the OS has a search path, the program found on it; else the current-folder guess.
std::u16string LocateFusionProgram(const std::u16string& strStored, const SProgramLookup& os);
// The lookup with this platform's services.
SProgramLookup PlatformProgramLookup();
} // namespace lvp
