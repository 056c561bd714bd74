// Windows: file information from the file's attributes and its handle.
#include "platform/real_os.h"

#include "platform/win32/full_path.h"
#include "platform/win32/scoped.h"

#include <cstdint>

namespace platform {
namespace {
const wchar_t* W(const std::u16string& s)
{
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

// The volume and file index of an existing file or folder; false when it cannot be opened.
bool FileId(const std::u16string& path, BY_HANDLE_FILE_INFORMATION& id)
{
    win32::CAutoHandle hFile(CreateFileW(W(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return hFile && GetFileInformationByHandle(hFile.Get(), &id);
}

} // namespace

bool CRealOs::GetFileInfo(const std::u16string& path, SFileInfo& info) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(W(path), GetFileExInfoStandard, &data))
        return false;
    info.bFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.nSize =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    info.nWriteTime =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                  data.ftLastWriteTime.dwLowDateTime);
    return true;
}

bool CRealOs::IsSameFile(const std::u16string& a, const std::u16string& b) const
{
    if (a.empty() || b.empty())
        return false;
    std::u16string fullA, fullB;
    if (win32::FullPathWithin(a, fullA, SIZE_MAX) && win32::FullPathWithin(b, fullB, SIZE_MAX) &&
        fullA.size() == fullB.size() &&
        CompareStringOrdinal(W(fullA), static_cast<int>(fullA.size()), W(fullB),
                             static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL)
        return true;
    BY_HANDLE_FILE_INFORMATION idA{}, idB{};
    return FileId(a, idA) && FileId(b, idB) && idA.dwVolumeSerialNumber == idB.dwVolumeSerialNumber &&
           idA.nFileIndexHigh == idB.nFileIndexHigh && idA.nFileIndexLow == idB.nFileIndexLow;
}
} // namespace platform
