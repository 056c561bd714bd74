// Test helpers for files.
#include "tests/support/file_util.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/utf.h"

namespace {
// LVP_TEST_TEMP_ROOT: the build's test-temp folder as the tests' OS names it (a drive path
// under Wine), in UTF-8.
fs::path Root()
{
    fs::path root = fs::path(platform::Utf8ToUtf16(LVP_TEST_TEMP_ROOT)).make_preferred();
    fs::create_directories(root);
#ifndef _WIN32
    root = fs::canonical(root); // the tests compare paths with what the OS resolves
#endif
    return root;
}
} // namespace

TempDir::TempDir()
{
    static const fs::path root = Root();
    static std::atomic<unsigned> counter{0};
    // Short (some tests go near the longest path), and random: other test executables make
    // theirs in the same folder at the same time.
    char name[32];
    std::snprintf(name, sizeof name, "lvp_%08x_%u", static_cast<unsigned>(std::random_device{}()),
                  counter++);
    m_path = root / name;
    fs::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& e : fs::recursive_directory_iterator(m_path, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow,
                        ec);
    fs::remove_all(m_path, ec);
}

std::u16string TempDir::u16(std::string_view name) const
{
    return name.empty() ? m_path.u16string() : (m_path / fs::path(std::string(name))).u16string();
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
