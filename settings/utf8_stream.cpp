// UTF-8 file streams: per-unit encoding on output, mark-driven decoding of whole files on input.
#include "settings/utf8_stream.h"

#include <charconv>
#include <memory>
#include <new>
#include <utility>

namespace lvp {
namespace {
constexpr int64_t kMaxFileLength = 2147483646;

// One UTF-16 unit on its own in 1 to 3 bytes: a surrogate pair becomes two 3-byte sequences.
size_t EncodeUnit(char16_t unit, uint8_t* b)
{
    const uint32_t u = unit;
    if (u < 0x80) {
        b[0] = static_cast<uint8_t>(u);
        return 1;
    }
    if (u < 0x800) {
        b[0] = static_cast<uint8_t>(0xC0 + (u >> 6));
        b[1] = static_cast<uint8_t>(0x80 + (u & 0x3F));
        return 2;
    }
    b[0] = static_cast<uint8_t>(0xE0 + (u >> 12));
    b[1] = static_cast<uint8_t>(0x80 + ((u >> 6) & 0x3F));
    b[2] = static_cast<uint8_t>(0x80 + (u & 0x3F));
    return 3;
}
} // namespace

utf8_ofstream::utf8_ofstream(const std::u16string& path)
    : utf8_ofstream(platform::RealOs().OpenForWriting(path), platform::RealOs())
{
}

utf8_ofstream::utf8_ofstream(platform::CFile file, const platform::COs& os)
    : m_file(std::move(file)), m_os(os)
{
    static constexpr uint8_t kMark[] = {0xEF, 0xBB, 0xBF};
    Put(kMark, sizeof kMark);
}

utf8_ofstream::~utf8_ofstream()
{
    close();
}

void utf8_ofstream::Put(const uint8_t* bytes, size_t count)
{
    if (!m_file || count == 0)
        return;
    const size_t n = m_os.Write(m_file.Get(), bytes, count);
    m_nWritten += static_cast<int64_t>(n);
    if (n != count)
        m_bFailed = true;
}

utf8_ofstream& utf8_ofstream::operator<<(const char16_t* text)
{
    if (!m_file)
        return *this;
    // Encoded in chunks so that the buffered stream is called once per chunk, not per byte.
    uint8_t chunk[512];
    size_t n = 0;
    for (; *text; ++text) {
        if (n > sizeof chunk - 3) {
            Put(chunk, n);
            n = 0;
        }
        n += EncodeUnit(*text, chunk + n);
    }
    Put(chunk, n);
    return *this;
}

utf8_ofstream& utf8_ofstream::operator<<(char16_t unit)
{
    uint8_t bytes[3];
    Put(bytes, EncodeUnit(unit, bytes));
    return *this;
}

utf8_ofstream& utf8_ofstream::operator<<(int32_t number)
{
    char digits[16] = {};
    // "%02x" formats its argument as unsigned, padded to two digits.
    char* end = m_bHex ? std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(number), 16).ptr
                       : std::to_chars(digits, digits + sizeof digits, number).ptr;
    char16_t text[18];
    char16_t* t = text;
    if (m_bHex && end - digits == 1)
        *t++ = u'0';
    for (const char* p = digits; p < end; ++p)
        *t++ = static_cast<char16_t>(*p);
    *t = 0;
    return *this << text;
}

utf8_ofstream& utf8_ofstream::endl()
{
    return *this << u'\r' << u'\n';
}

bool utf8_ofstream::commit()
{
    return m_file && !m_bFailed && !std::ferror(m_file.Get()) && m_os.FlushToDisk(m_file.Get());
}

bool utf8_ofstream::close()
{
    if (!m_file)
        return false;
    const bool ok = !m_bFailed && !std::ferror(m_file.Get());
    return m_os.CloseFile(m_file) && ok;
}

utf8_ifstream::utf8_ifstream(const std::u16string& path)
    : utf8_ifstream(platform::RealOs().OpenForReading(path), platform::RealOs())
{
}

utf8_ifstream::~utf8_ifstream()
{
    close();
}

utf8_ifstream& utf8_ifstream::operator>>(std::u16string& target)
{
    if (!m_file)
        return *this;
    target.clear();
    m_bIncomplete = false;
    const int64_t length = m_os.FileLength(m_file.Get());
    if (length < 1 || length > kMaxFileLength)
        return *this;
    const size_t n = static_cast<size_t>(length);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[n + 1]);
    if (!bytes) {
        m_bIncomplete = true;
        return *this;
    }
    const size_t got = m_os.Read(m_file.Get(), bytes.get(), n);
    bytes[got] = 0;
    try {
        target = DecodeFileBytes(bytes.get(), got);
    } catch (const std::bad_alloc&) {
        target.clear(); // a text too large to buffer reads as empty
        m_bIncomplete = true;
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
} // namespace lvp
