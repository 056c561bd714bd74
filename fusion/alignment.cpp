// Where the alignment program is found.
#include "fusion/alignment.h"

namespace lvp {
namespace {
constexpr char16_t kAlignProgram[] = u"align_image_stack";

// The folder part of path, its last separator included; empty when it has none. Windows takes
// "/" as a separator too.
std::u16string FolderOf(const std::u16string& path, char16_t separator)
{
    const size_t nSlash = separator == u'\\' ? path.find_last_of(u"\\/") : path.rfind(separator);
    return nSlash == std::u16string::npos ? std::u16string() : path.substr(0, nSlash + 1);
}
} // namespace

std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os)
{
    const std::u16string name = os.ExecutableFileName(kAlignProgram);
    const std::u16string folder = FolderOf(strProgram, os.PathSeparator());
    if (!folder.empty()) {
        std::u16string beside = folder + name;
        if (os.FileOpensForReading(beside))
            return beside;
    }
    return os.FindOnPathVariable(name);
}
} // namespace lvp
