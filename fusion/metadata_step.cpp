// CarryMetadata: reads the photo and the output through the OS, and writes the rewritten output
// to a temporary that is moved into its place only when complete.
#include "fusion/metadata_step.h"

#include "fusion/tool_paths.h"
#include "platform/path.h"
#include "platform/replace_file.h"

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

// bytes under target's name, through a temporary beside it; false leaves target as it was.
bool ReplaceWith(const platform::COs& os, const std::u16string& target, const Bytes& bytes)
{
    const std::u16string prefix =
        std::u16string(platform::FolderOf(target, os.PathSeparators())) + CToolPaths::kPrefix;
    // Also removes what a host that ended during this step left beside an output.
    return platform::ReplaceThroughTemporary(os, target, prefix, kSuffix, bytes) == platform::EReplaced::Done;
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
