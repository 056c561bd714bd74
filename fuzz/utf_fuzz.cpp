// Fuzz target: the UTF-8 decoders (platform conversions and the settings file's stream decoding).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/check.h"
#include "fuzz/memory_os.h"
#include "platform/utf.h"
#include "settings/utf8_stream.h"

using lvp::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Any byte string survives the trip through UTF-16 (POSIX paths and arguments rely on it).
    const std::u16string wide = platform::Utf8ToUtf16(bytes);
    Check(platform::Utf16ToUtf8(wide) == bytes, "bytes -> UTF-16 -> bytes");

    // The same bytes read as units: their UTF-8 form decodes to valid UTF-16 that goes back.
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::string narrow = platform::Utf16ToUtf8(units);
    Check(platform::Utf16ToUtf8(platform::Utf8ToUtf16(narrow)) == narrow, "UTF-16 -> bytes is stable");

    // The file decoder: never reads past the end, never yields U+0000.
    const std::u16string decoded = lvp::DecodeFileBytes(data, size);
    Check(decoded.find(u'\0') == std::u16string::npos, "decoded text holds U+0000");
    Check(decoded.size() <= size, "more units than bytes");

    // What the writer encodes (units up to the first zero), the decoder gives back.
    static lvp::fuzz::CMemoryOs os;
    os.Clear();
    const std::u16string text = units.substr(0, units.find(u'\0'));
    {
        lvp::utf8_ofstream out(os.OpenForWriting(lvp::fuzz::CMemoryOs::kFile), os);
        out << text;
    }
    const std::string& file = *os.Bytes(lvp::fuzz::CMemoryOs::kFile);
    Check(lvp::DecodeFileBytes(reinterpret_cast<const uint8_t*>(file.data()), file.size()) == text,
          "written text reads back");
    return 0;
}
