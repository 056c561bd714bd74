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

// Removes the Lumivant folder and makes sure the per-user folder exists (the store creates
// only the last level itself). Empty when the variable is not set.
inline std::filesystem::path ResetSettingsFolder()
{
    std::filesystem::path folder = SettingsFolder();
    if (!folder.empty()) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder.parent_path());
    }
    return folder;
}

// Removes the Lumivant folder when it goes: on every way out of the test that holds it.
struct SSettingsFolderCleanup {
    SSettingsFolderCleanup() = default;
    SSettingsFolderCleanup(const SSettingsFolderCleanup&) = delete;
    SSettingsFolderCleanup& operator=(const SSettingsFolderCleanup&) = delete;
    ~SSettingsFolderCleanup()
    {
        std::error_code ec;
        std::filesystem::remove_all(SettingsFolder(), ec);
    }
};
} // namespace lvp::test
