// UTF-8 file streams: per-unit encoding on output, mark-driven decoding of whole files on input.
#include "settings/utf8_stream.h"

#include <charconv>
#include <memory>
#include <new>

#include "platform/fs.h"

namespace {
constexpr int64_t kMaxFileLength = 2147483646;
} // namespace

utf8_ofstream::utf8_ofstream(const std::u16string& path) : utf8_ofstream(platform::OpenForWriting(path)) {}

utf8_ofstream::utf8_ofstream(std::FILE* file) : m_pFile(file)
{
    static constexpr uint8_t kMark[] = {0xEF, 0xBB, 0xBF};
    Put(kMark, sizeof kMark);
}

utf8_ofstream::~utf8_ofstream() { close(); }

void utf8_ofstream::Put(const uint8_t* bytes, size_t count)
{
    if (m_pFile)
        std::fwrite(bytes, 1, count, m_pFile);
}

utf8_ofstream& utf8_ofstream::operator<<(const char16_t* text)
{
    if (m_pFile)
        for (; *text; ++text)
            *this << *text;
    return *this;
}

utf8_ofstream& utf8_ofstream::operator<<(char16_t unit)
{
    // Each unit on its own: a surrogate pair becomes two 3-byte sequences.
    const uint32_t u = unit;
    uint8_t b[3];
    size_t n;
    if (u < 0x80) {
        b[0] = static_cast<uint8_t>(u);
        n = 1;
    } else if (u < 0x800) {
        b[0] = static_cast<uint8_t>(0xC0 + (u >> 6));
        b[1] = static_cast<uint8_t>(0x80 + (u & 0x3F));
        n = 2;
    } else {
        b[0] = static_cast<uint8_t>(0xE0 + (u >> 12));
        b[1] = static_cast<uint8_t>(0x80 + ((u >> 6) & 0x3F));
        b[2] = static_cast<uint8_t>(0x80 + (u & 0x3F));
        n = 3;
    }
    Put(b, n);
    return *this;
}

utf8_ofstream& utf8_ofstream::operator<<(int32_t number)
{
    char digits[16];
    // "%02x" formats its argument as unsigned, padded to two digits.
    char* end = m_bHex ? std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(number), 16).ptr
                       : std::to_chars(digits, digits + sizeof digits, number).ptr;
    if (m_bHex && end - digits == 1)
        *this << u'0';
    for (const char* p = digits; p < end; ++p)
        *this << static_cast<char16_t>(*p);
    return *this;
}

utf8_ofstream& utf8_ofstream::endl() { return *this << u'\r' << u'\n'; }

bool utf8_ofstream::commit() { return m_pFile && !std::ferror(m_pFile) && platform::FlushToDisk(m_pFile); }

bool utf8_ofstream::close()
{
    if (!m_pFile)
        return false;
    bool ok = !std::ferror(m_pFile);
    ok = std::fclose(m_pFile) == 0 && ok;
    m_pFile = nullptr;
    return ok;
}

utf8_ifstream::utf8_ifstream(const std::u16string& path) : m_pFile(platform::OpenForReading(path)) {}

utf8_ifstream::~utf8_ifstream() { close(); }

void utf8_ifstream::close()
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
}

utf8_ifstream& utf8_ifstream::operator>>(std::u16string& target)
{
    if (!m_pFile)
        return *this;
    target.clear();
    const int64_t length = platform::FileLength(m_pFile);
    if (length < 1 || length > kMaxFileLength)
        return *this;
    const size_t n = static_cast<size_t>(length);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[n + 1]);
    if (!bytes)
        return *this;
    const size_t got = std::fread(bytes.get(), 1, n, m_pFile);
    bytes[got] = 0;
    try {
        target = DecodeFileBytes(bytes.get(), got);
    } catch (const std::bad_alloc&) {
        target.clear(); // a text too large to buffer reads as empty
    }
    return *this;
}

std::u16string DecodeFileBytes(const uint8_t* b, size_t n)
{
    std::u16string out;
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        const bool little = b[0] == 0xFF;
        out.reserve((n - 2) / 2);
        for (size_t i = 2; i + 1 < n; i += 2) {
            const char16_t u = little ? static_cast<char16_t>(b[i] | b[i + 1] << 8)
                                      : static_cast<char16_t>(b[i] << 8 | b[i + 1]);
            if (u == 0)
                break;
            out += u;
        }
    } else if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        out.reserve(n - 3);
        for (size_t i = 3; i < n;) {
            const uint32_t c = b[i];
            uint32_t u;
            if (c < 0x80) {
                u = c;
                i += 1;
            } else if (c >= 0xC0 && c <= 0xDF && i + 1 < n && (b[i + 1] & 0x80)) {
                u = (c & 0x1F) << 6 | (b[i + 1] & 0x3F);
                i += 2;
            } else if (c >= 0xE0 && c <= 0xEF && i + 2 < n && (b[i + 1] & 0x80) && (b[i + 2] & 0x80)) {
                u = (c & 0x0F) << 12 | (b[i + 1] & 0x3F) << 6 | (b[i + 2] & 0x3F);
                i += 3;
            } else {
                i += 1; // stray continuation, cut sequence or 4-byte lead: skipped
                continue;
            }
            if (u == 0)
                break;
            out += static_cast<char16_t>(u);
        }
    } else {
        out.reserve(n);
        for (size_t i = 0; i < n && b[i] != 0; ++i)
            out += static_cast<char16_t>(b[i]);
    }
    return out;
}
