// CarryMetadata: reads the photo and the output through the OS, and writes the rewritten output
// to a temporary that is moved into its place only when complete.
#include "fusion/metadata_step.h"

#include "fusion/tool_paths.h"
#include "platform/path.h"
#include "platform/temp_name.h"

#include <cstdint>
#include <exception>
#include <vector>

namespace lvp {
namespace {
using metadata::ECarryOutcome;
using Bytes = std::vector<uint8_t>;

// What the step's temporaries end in, after the module's prefix and the unique part.
constexpr char16_t kSuffix[] = u"-meta.tmp";

enum class ERead { Read, NotOpened, Failed };

// The whole file into bytes.
ERead ReadWholeFile(const platform::COs& os, const std::u16string& path, Bytes& bytes)
{
    platform::CFile file = os.OpenForReading(path);
    if (!file)
        return ERead::NotOpened;
    const int64_t length = os.FileLength(file.Get());
    if (length < 0 || static_cast<uint64_t>(length) >= SIZE_MAX)
        return ERead::Failed;
    bytes.resize(static_cast<size_t>(length));
    return os.Read(file.Get(), bytes.data(), bytes.size()) == bytes.size() ? ERead::Read : ERead::Failed;
}

// A temporary file's name, removed with the holder unless Keep() was called. Declared before the
// file's holder, so that the file is closed before its name goes.
class CTemporaryName {
public:
    explicit CTemporaryName(const platform::COs& os) : m_os(os) {}
    CTemporaryName(const CTemporaryName&) = delete;
    CTemporaryName& operator=(const CTemporaryName&) = delete;
    ~CTemporaryName()
    {
        if (!m_strPath.empty())
            m_os.RemoveFile(m_strPath);
    }
    void Keep() { m_strPath.clear(); }
    std::u16string m_strPath;

private:
    const platform::COs& m_os;
};

// bytes under target's name, through a temporary beside it; false leaves target as it was.
bool ReplaceWith(const platform::COs& os, const std::u16string& target, const Bytes& bytes)
{
    const std::u16string prefix =
        std::u16string(platform::FolderOf(target, platform::kBothSeparators)) + CToolPaths::kPrefix;
    CTemporaryName temp(os);
    platform::CFile file = os.CreateUniqueFile(prefix, kSuffix, temp.m_strPath);
    if (!file) {
        temp.Keep(); // the name is not ours
        return false;
    }
    const bool written =
        os.Write(file.Get(), bytes.data(), bytes.size()) == bytes.size() && os.FlushToDisk(file.Get());
    if (!os.CloseFile(file) || !written || !os.MoveReplace(temp.m_strPath, target))
        return false;
    temp.Keep(); // it is the output now
    // What a host that ended during this step left beside an output.
    platform::RemoveStaleTemporaries(os, prefix, kSuffix);
    return true;
}
} // namespace

ECarryOutcome CarryMetadata(const platform::COs& os, const std::u16string& strPhoto,
                            const std::u16string& strOutput) noexcept
{
    try {
        Bytes photo;
        const ERead photoRead = ReadWholeFile(os, strPhoto, photo);
        if (photoRead == ERead::NotOpened)
            return ECarryOutcome::NothingToCarry;
        if (photoRead == ERead::Failed)
            return ECarryOutcome::SourceDamaged;
        if (const ECarryOutcome source = metadata::CheckSource(photo);
            source != ECarryOutcome::Done && source != ECarryOutcome::SourceDamaged)
            return source;
        // A link stays a link: the file it names receives the metadata.
        const std::u16string target = os.ResolveLinks(strOutput);
        Bytes output;
        if (ReadWholeFile(os, target, output) != ERead::Read)
            return ECarryOutcome::OutputUnreadable;
        const metadata::SCarryResult carried = metadata::CarryOver(photo, output);
        if (carried.outcome != ECarryOutcome::Done)
            return carried.outcome;
        photo = Bytes();
        output = Bytes(); // only the rewritten file is held while it is written
        return ReplaceWith(os, target, carried.rewritten) ? ECarryOutcome::Done
                                                          : ECarryOutcome::CannotRewrite;
    } catch (const std::exception&) {
        return ECarryOutcome::CannotRewrite; // memory ran out
    }
}
} // namespace lvp
