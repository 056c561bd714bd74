// Test helpers for files.
#include "tests/platform/file_util.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    std::string name = "lvp_settings_";
    name.append(std::to_string(rd())).append(1, '_').append(std::to_string(counter++));
    m_path = fs::temp_directory_path() / name;
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
