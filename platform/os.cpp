// The real OS object: its calls that are the same on every OS, and the one instance.
#include "platform/real_os.h"

namespace platform {
size_t CRealOs::Write(std::FILE* file, const void* bytes, size_t count) const
{
    return std::fwrite(bytes, 1, count, file);
}

size_t CRealOs::Read(std::FILE* file, void* bytes, size_t count) const
{
    return std::fread(bytes, 1, count, file);
}

bool CRealOs::CloseFile(CFile& file) const
{
    return file.Close();
}

std::vector<std::u16string> CRealOs::FilesStartingWith(const std::u16string& prefix) const
{
    return EntriesStartingWith(prefix, false);
}

std::vector<std::u16string> CRealOs::FoldersStartingWith(const std::u16string& prefix) const
{
    return EntriesStartingWith(prefix, true);
}

bool CRealOs::FileOpensForReading(const std::u16string& path) const
{
    return !path.empty() && static_cast<bool>(CRealOs::OpenForReading(path));
}

namespace {
// Built at compile time and never destroyed, so it is usable during static initialisation and
// teardown in any order. (A function-local static would be built at first use under the
// runtime's guard lock, whose OS objects outlive every unload of the DLL.)
union URealOs {
    CRealOs os;
    constexpr URealOs() : os() {}
    ~URealOs() {}
};
constinit URealOs g_realOs;
} // namespace

const COs& RealOs()
{
    return g_realOs.os;
}
} // namespace platform
