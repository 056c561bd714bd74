// CLaidOutFolder: a folder that a test lays out where a system or a user keeps things (C:\Program
// Files or C:\ of a Wine prefix), taken away with all it holds on every way out.
#pragma once
#include <filesystem>

// The folder is made with a mark file in it. A folder of that name without the mark is not the
// test's (a real installation, a user's pictures) and stays untouched: the test cannot lay its
// folder out there. One with the mark is what a killed run left, and goes first. The end of a
// CTest run (tests/helpers/wine_prefix.cmake) takes away what carries the mark too.
class CLaidOutFolder {
public:
    static constexpr const char* kMark = "lvp_test_layout.txt";

    explicit CLaidOutFolder(std::filesystem::path path);
    ~CLaidOutFolder();
    CLaidOutFolder(const CLaidOutFolder&) = delete;
    CLaidOutFolder& operator=(const CLaidOutFolder&) = delete;

    // False when the place is taken, or its parent folder is missing.
    bool IsLaidOut() const { return m_bLaidOut; }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
    bool m_bLaidOut = false;
};
