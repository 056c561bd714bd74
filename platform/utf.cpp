// UTF-8 <-> UTF-16 with raw bytes escaped as lone low surrogates, so any byte string survives.
#include "platform/utf.h"

namespace platform {
namespace {
void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

size_t UnitsAt(std::u16string_view text, size_t i)
{
    return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

size_t UnitsBefore(std::u16string_view text, size_t i)
{
    return i >= 2 && IsHighSurrogate(text[i - 2]) && IsLowSurrogate(text[i - 1]) ? 2 : 1;
}

char32_t CodePointAt(std::u16string_view text, size_t i)
{
    if (UnitsAt(text, i) == 2)
        return 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    return text[i];
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (UnitsAt(text, i) == 2) {
            AppendUtf8(out, CodePointAt(text, i));
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out += static_cast<char>(u - 0xDC00);
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

std::u16string Utf8ToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    auto cont = [&](size_t k) { return k < bytes.size() && (at(k) & 0xC0) == 0x80; };
    while (i < bytes.size()) {
        unsigned char b = at(i);
        char32_t cp = 0;
        size_t n = 0;
        if (b < 0x80) {
            cp = b, n = 1;
        } else if (b >= 0xC2 && b <= 0xDF && cont(i + 1)) {
            cp = ((b & 0x1Fu) << 6) | (at(i + 1) & 0x3Fu), n = 2;
        } else if (b >= 0xE0 && b <= 0xEF && cont(i + 1) && cont(i + 2)) {
            cp = ((b & 0x0Fu) << 12) | ((at(i + 1) & 0x3Fu) << 6) | (at(i + 2) & 0x3Fu), n = 3;
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
                n = 0; // overlong or an encoded surrogate: not valid UTF-8
        } else if (b >= 0xF0 && b <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            cp = ((b & 0x07u) << 18) | ((at(i + 1) & 0x3Fu) << 12) | ((at(i + 2) & 0x3Fu) << 6) |
                 (at(i + 3) & 0x3Fu);
            n = 4;
            if (cp < 0x10000 || cp > 0x10FFFF)
                n = 0;
        }
        if (n == 0) {
            out += static_cast<char16_t>(0xDC00 + b);
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += n;
    }
    return out;
}
std::u16string DecimalText(std::int64_t n)
{
    // The magnitude as unsigned, so that the most negative number has one too.
    std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return n < 0 ? u"-" + digits : digits;
}
} // namespace platform
