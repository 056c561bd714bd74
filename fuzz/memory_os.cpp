// CMemoryOs: in-memory files behind stdio streams (glibc's fopencookie).
#include "fuzz/memory_os.h"

#include <cstring>
#include <sys/types.h>

namespace lvp::fuzz {
namespace {
struct SCookie {
    std::shared_ptr<std::string> bytes;
    size_t pos = 0;
};

ssize_t CookieRead(void* cookie, char* buffer, size_t size)
{
    auto* c = static_cast<SCookie*>(cookie);
    if (c->pos >= c->bytes->size())
        return 0;
    const size_t n = std::min(size, c->bytes->size() - c->pos);
    std::memcpy(buffer, c->bytes->data() + c->pos, n);
    c->pos += n;
    return static_cast<ssize_t>(n);
}

ssize_t CookieWrite(void* cookie, const char* buffer, size_t size)
{
    auto* c = static_cast<SCookie*>(cookie);
    if (c->bytes->size() < c->pos + size)
        c->bytes->resize(c->pos + size);
    std::memcpy(c->bytes->data() + c->pos, buffer, size);
    c->pos += size;
    return static_cast<ssize_t>(size);
}

int CookieSeek(void* cookie, off64_t* offset, int whence)
{
    auto* c = static_cast<SCookie*>(cookie);
    const off64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? static_cast<off64_t>(c->pos)
                                              : static_cast<off64_t>(c->bytes->size());
    if (*offset < -base)
        return -1;
    c->pos = static_cast<size_t>(base + *offset);
    *offset = static_cast<off64_t>(c->pos);
    return 0;
}

int CookieClose(void* cookie)
{
    delete static_cast<SCookie*>(cookie);
    return 0;
}
} // namespace

const std::string* CMemoryOs::Bytes(const std::u16string& path) const
{
    auto it = m_files.find(path);
    return it == m_files.end() ? nullptr : it->second.get();
}

void CMemoryOs::SetBytes(const std::u16string& path, std::string bytes)
{
    m_files[path] = std::make_shared<std::string>(std::move(bytes));
}

bool CMemoryOs::FullPath(const std::u16string& path, std::u16string& full) const
{
    full = !path.empty() && path[0] == u'/' ? path : kFolder + path;
    return true;
}

bool CMemoryOs::Exists(const std::u16string& path) const
{
    return path == u"/mem" || path == kFolder || m_files.count(path) > 0;
}

platform::CFile CMemoryOs::Open(const Bytes_t& bytes) const
{
    static const cookie_io_functions_t kFunctions = {CookieRead, CookieWrite, CookieSeek, CookieClose};
    auto* cookie = new SCookie{bytes, 0};
    std::FILE* file = fopencookie(cookie, "r+", kFunctions);
    if (!file)
        delete cookie;
    return platform::CFile(file);
}

platform::CFile CMemoryOs::OpenForReading(const std::u16string& path) const
{
    auto it = m_files.find(path);
    return it == m_files.end() ? platform::CFile() : Open(it->second);
}

platform::CFile CMemoryOs::OpenForWriting(const std::u16string& path) const
{
    Bytes_t& bytes = m_files[path];
    if (!bytes)
        bytes = std::make_shared<std::string>();
    bytes->clear();
    return Open(bytes);
}

platform::CFile CMemoryOs::CreateNewFile(const std::u16string& path) const
{
    return m_files.count(path) ? platform::CFile() : OpenForWriting(path);
}

platform::CFile CMemoryOs::OpenForUpdate(const std::u16string& path) const
{
    return OpenForReading(path);
}

platform::CFile CMemoryOs::CreateUniqueFile(const std::u16string& prefix, const std::u16string& suffix,
                                            std::u16string& path) const
{
    path = prefix + std::u16string(1, static_cast<char16_t>(u'a' + m_nUnique++ % 26)) + suffix;
    return CreateNewFile(path);
}

bool CMemoryOs::RemoveFile(const std::u16string& path) const
{
    return m_files.erase(path) > 0;
}

bool CMemoryOs::MoveReplace(const std::u16string& from, const std::u16string& to) const
{
    auto it = m_files.find(from);
    if (it == m_files.end())
        return false;
    Bytes_t bytes = it->second;
    m_files.erase(it);
    m_files[to] = std::move(bytes);
    return true;
}

size_t CMemoryOs::Write(std::FILE* file, const void* bytes, size_t count) const
{
    return std::fwrite(bytes, 1, count, file);
}

size_t CMemoryOs::Read(std::FILE* file, void* bytes, size_t count) const
{
    return std::fread(bytes, 1, count, file);
}

int64_t CMemoryOs::FileLength(std::FILE* file) const
{
    const long pos = std::ftell(file);
    if (pos < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(file);
    return std::fseek(file, pos, SEEK_SET) == 0 ? end : -1;
}

bool CMemoryOs::FlushToDisk(std::FILE* file) const
{
    return std::fflush(file) == 0;
}

bool CMemoryOs::SetFileLength(std::FILE*, int64_t) const
{
    return false; // only the in-place fallback cuts files, and every replace here succeeds
}
} // namespace lvp::fuzz
