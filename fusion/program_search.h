// Where the external programs (enfuse, align_image_stack) are looked for when the user has
// named none that opens (PATH, then the folders their Windows installers use), and the one file
// that a program named by the user is.
#pragma once
#include "platform/os.h"

#include <string>
#include <string_view>

namespace lvp {
// The first of these that opens, for the program base (e.g. "enfuse"): along PATH; then, for
// each of os.ProgramInstallRoots() in turn, ROOT\Hugin\bin\PROGRAM; then, for each root, each
// ROOT\enblend-enfuse* folder, newest version name first, with PROGRAM or bin\PROGRAM in it.
// Empty when none opens.
std::u16string FindInstalledProgram(const std::u16string& base, const platform::COs& os);

// The one file that the text of a program field names, as a full path, so that the file checked
// is the file started: a full path as it is written; a path with a separator (Windows: or a
// drive, "C:enfuse.exe") completed against the current folder (COs::FullPath); a bare file name
// searched as FindInstalledProgram searches, by that very name and never in the current folder.
// Empty for an empty text, when the path cannot be completed, or when the search finds nothing.
std::u16string ResolveProgram(const std::u16string& text, const platform::COs& os);

// Whether folder name a names a newer version than b: their runs of digits compare as numbers
// ("enblend-enfuse-4.10" is newer than "enblend-enfuse-4.2"), the rest by character, ignoring
// ASCII case; of two names that compare equal so, the greater by character is newer.
bool IsNewerVersionName(std::u16string_view a, std::u16string_view b);
} // namespace lvp
