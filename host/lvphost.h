// lvphost, the stand-in host: its command line, independent of how the OS passes it.
#pragma once
#include <string>
#include <vector>

namespace lvp::host {
// Runs lvphost with its arguments (without the program name); returns the exit status:
// 0 results returned, 1 refused or no results, 2 usage error or unusable module.
int RunHost(const std::vector<std::u16string>& args);
} // namespace lvp::host
