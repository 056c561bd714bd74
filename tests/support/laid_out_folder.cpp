// A test's folder among a system's or a user's, marked as the test's and removed with the test.
#include "tests/support/laid_out_folder.h"

#include <fstream>

CLaidOutFolder::CLaidOutFolder(std::filesystem::path path) : m_path(std::move(path))
{
    std::error_code ec;
    if (std::filesystem::exists(m_path / kMark, ec))
        std::filesystem::remove_all(m_path, ec);
    // Only the last level: a parent that this made would stay behind.
    if (!std::filesystem::create_directory(m_path, ec))
        return;
    std::ofstream(m_path / kMark) << "Laid out by a test of lvp_hdr, removed when the test ends.\n";
    m_bLaidOut = std::filesystem::exists(m_path / kMark, ec);
}

CLaidOutFolder::~CLaidOutFolder()
{
    std::error_code ec;
    if (std::filesystem::exists(m_path / kMark, ec))
        std::filesystem::remove_all(m_path, ec);
}
