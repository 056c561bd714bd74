// Lossless conversion between UTF-16 text and the byte strings of POSIX paths and arguments,
// and decimal numbers as text. Implemented by platform/utf.cpp (portable).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
// UTF-16 to UTF-8. A lone surrogate U+DC80..U+DCFF stands for one raw byte 0x80..0xFF
// (see Utf8ToUtf16), so names that were not valid UTF-8 come back byte for byte;
// any other lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Halves of a surrogate pair: the high one comes first.
constexpr bool IsHighSurrogate(char32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}
// The number of UTF-16 units of the character at text[i]: 2 for a surrogate pair, else 1.
size_t UnitsAt(std::u16string_view text, size_t i);
// The same for the character that ends before text[i] (0 < i <= size).
size_t UnitsBefore(std::u16string_view text, size_t i);
// The code point at text[i] (a pair decoded; a lone surrogate as it is); UnitsAt says its size.
char32_t CodePointAt(std::u16string_view text, size_t i);
// Appends one code point as one unit or a surrogate pair.
void AppendUtf16(std::u16string& out, char32_t cp);
// UTF-8 to UTF-16. A byte that does not start a valid sequence becomes U+DC00 + byte.
std::u16string Utf8ToUtf16(std::string_view bytes);
// n in decimal digits, with "-" before a negative number.
std::u16string DecimalText(std::int64_t n);
} // namespace platform
