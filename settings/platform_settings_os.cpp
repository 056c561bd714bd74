// The settings store's OS services, forwarded to the platform layer.
#include "platform/fs.h"
#include "settings/settings_os.h"

namespace {
class CPlatformSettingsOs final : public CSettingsOs {
public:
    char16_t PathSeparator() const override { return platform::PathSeparator(); }
    size_t MaxPathLength() const override { return platform::MaxPathLength(); }
    std::u16string ExecutablePath() const override { return platform::ExecutablePath(); }
    std::u16string DocumentsFolder() const override { return platform::DocumentsFolder(); }
    std::u16string AppDataFolder() const override { return platform::AppDataFolder(); }
    bool IsCdRom(const std::u16string& p) const override { return platform::IsCdRom(p); }
    bool FullPath(const std::u16string& p, std::u16string& full) const override
    {
        return platform::FullPath(p, full);
    }
    bool Exists(const std::u16string& p) const override { return platform::Exists(p); }
    bool CreateFolder(const std::u16string& p) const override { return platform::CreateFolder(p); }
    bool IsReadOnlyFile(const std::u16string& p) const override { return platform::IsReadOnlyFile(p); }
    platform::CFile OpenForReading(const std::u16string& p) const override
    {
        return platform::OpenForReading(p);
    }
    platform::CFile OpenForWriting(const std::u16string& p) const override
    {
        return platform::OpenForWriting(p);
    }
    platform::CFile CreateNewFile(const std::u16string& p) const override
    {
        return platform::CreateNewFile(p);
    }
    bool RemoveFile(const std::u16string& p) const override { return platform::RemoveFile(p); }
    bool MoveReplace(const std::u16string& from, const std::u16string& to) const override
    {
        return platform::MoveReplace(from, to);
    }
};
} // namespace

const CSettingsOs& PlatformSettingsOs()
{
    // Trivially destructible, so it is usable during static initialisation and teardown.
    static const CPlatformSettingsOs os;
    return os;
}
