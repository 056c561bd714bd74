// The command's two path rules: the proposed output file and where the fusion program is.
#pragma once
#include "platform/os.h"

#include <string>
#include <string_view>

namespace lvp {
// Folder and extension of the first path (split at separators, COs::PathSeparators), its name and the last
// path's name joined by "-". A name is the file name up to its last "."; a file name without "." is all name
// and has no extension (the folder part never gives either).
std::u16string ProposeOutputName(std::u16string_view first, std::u16string_view last,
                                 std::u16string_view separators);
// The name part of ProposeOutputName: the two names joined by "-", without folder or extension.
std::u16string ProposeOutputStem(std::u16string_view first, std::u16string_view last,
                                 std::u16string_view separators);

// The stored text if the file it names (ResolveProgram) opens; else the current folder's
// program; where that file is missing too, the program that FindInstalledProgram finds; else the
// current-folder guess (which the dialog's OK then reports as missing).
std::u16string LocateFusionProgram(const std::u16string& strStored, const platform::COs& os);
} // namespace lvp
