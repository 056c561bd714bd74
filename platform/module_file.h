// The file of the module (DLL, shared object or program) that holds this code, and its title.
// Implemented by platform/posix/module_file.cpp and platform/win32/module_file.cpp;
// FileTitle and OwnModuleTitle by platform/module_file.cpp (portable).
#pragma once
#include <string>
#include <string_view>

namespace platform {
// Full path of the module that this code is linked into (the DLL or shared object, not the
// program that loaded it); empty when the OS cannot tell.
std::u16string OwnModulePath();
// The file name in path without its folder and extension: the folder ends at the last of
// separators, the extension at the name's last "." (a name that begins with its only "." has none).
std::u16string_view FileTitle(std::u16string_view path, std::u16string_view separators);
// FileTitle of OwnModulePath with this OS's separators; empty when unknown.
std::u16string OwnModuleTitle();
} // namespace platform
