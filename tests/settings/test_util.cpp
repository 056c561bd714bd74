// Helpers of the settings tests.
#include "test_util.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/utf.h"

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    const auto tag = std::to_string(rd()) + "_" + std::to_string(counter++);
    m_path = fs::temp_directory_path() / ("lvp_settings_" + tag);
    fs::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& e : fs::recursive_directory_iterator(m_path, ec))
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add | fs::perm_options::nofollow, ec);
    fs::remove_all(m_path, ec);
}

std::u16string TempDir::u16(std::string_view name) const
{
    return name.empty() ? m_path.u16string() : (m_path / fs::path(std::string(name))).u16string();
}

std::FILE* ScratchFile(const std::string& bytes)
{
    static TempDir scratch;
    static std::atomic<unsigned> counter{0};
    const fs::path p = scratch.path() / ("f" + std::to_string(counter++));
    std::FILE* f = std::fopen(p.string().c_str(), "w+b");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        std::rewind(f);
    }
    return f;
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

std::string Utf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

std::string Dump(const CSettingsStore& store, bool writtenOnly)
{
    std::string out;
    store.StringMap().ForEach([&](const std::u16string& k, const std::u16string& v) {
        if (!writtenOnly || (!k.empty() && !v.empty()))
            out += "s:" + Utf8(k) + "=" + Utf8(v) + "\n";
    });
    store.BoolMap().ForEach([&](const std::u16string& k, bool v) {
        if (!writtenOnly || !k.empty())
            out += "b:" + Utf8(k) + "=" + (v ? "true" : "false") + "\n";
    });
    store.IntMap().ForEach([&](const std::u16string& k, int32_t v) {
        if (!writtenOnly || !k.empty())
            out += "i:" + Utf8(k) + "=" + std::to_string(v) + "\n";
    });
    store.BinMap().ForEach([&](const std::u16string& k, const SBinData& v) {
        if (writtenOnly && (k.empty() || v.nLength == 0))
            return;
        static const char digits[] = "0123456789abcdef";
        out += "x:" + Utf8(k) + "=";
        for (int32_t i = 0; i < v.nLength; ++i) {
            out += digits[v.pData[i] >> 4];
            out += digits[v.pData[i] & 15];
        }
        out += v.nLength == 0 ? "-\n" : "\n";
    });
    return out;
}
