// Where the module's settings go during a test: the per-user folder that the test's
// environment points at (CTest on Linux, the test prefix under Wine), never the user's own.
#pragma once
#include <cstdlib>
#include <filesystem>

namespace lvp::test {
// <per-user application data>/Lumivant, or empty when the variable is not set.
inline std::filesystem::path SettingsFolder()
{
    const char* root = std::getenv(LVP_SETTINGS_ROOT_ENV);
    return root != nullptr ? std::filesystem::path(root) / "Lumivant" : std::filesystem::path();
}
} // namespace lvp::test
