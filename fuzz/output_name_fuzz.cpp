// Fuzz target: the proposed output name from any two paths, with either separator.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fusion/fusion_paths.h"
#include "fuzz/check.h"
#include "platform/utf.h"

using lvp::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const char16_t separator = data[0] & 1 ? u'/' : u'\\';
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t cut = rest.find('\0');
    const std::u16string first = platform::Utf8ToUtf16(rest.substr(0, cut));
    const std::u16string last =
        cut == std::string::npos ? first : platform::Utf8ToUtf16(rest.substr(cut + 1));

    const std::u16string out = lvp::ProposeOutputName(first, last, std::u16string_view(&separator, 1));
    // Folder of the first; then its name and the last's name joined by "-"; then the first's extension.
    const size_t k = first.rfind(separator);
    const std::u16string folder = k == std::u16string::npos ? u"" : first.substr(0, k + 1);
    const std::u16string fileA = first.substr(folder.size());
    const std::u16string fileB =
        last.substr(last.rfind(separator) == std::u16string::npos ? 0 : last.rfind(separator) + 1);
    const std::u16string ext =
        fileA.rfind(u'.') == std::u16string::npos ? u"" : fileA.substr(fileA.rfind(u'.'));
    const std::u16string nameB = fileB.substr(0, fileB.rfind(u'.'));
    Check(out.starts_with(folder), "folder of the first path");
    Check(out.ends_with(ext), "extension of the first path");
    Check(out.size() == first.size() + 1 + nameB.size(), "length");
    Check(out.substr(out.size() - ext.size() - nameB.size() - 1, nameB.size() + 1) == u"-" + nameB,
          "name of the last path");
    // The name part keeps no separator of the last path's folder.
    Check(out.find(separator, folder.size()) == std::u16string::npos, "separator after the folder");
    return 0;
}
