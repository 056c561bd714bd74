// CProgramStep: the output's state before and after the program, the metadata step, its name's commit.
#include "fusion/run_steps.h"

#include "fusion/metadata_step.h"
#include "fusion/tool_paths.h"
#include "platform/utf.h"

namespace lvp {
namespace {
std::optional<platform::SFileInfo> FileInfo(const platform::COs& os, const std::u16string& path)
{
    platform::SFileInfo info;
    return os.GetFileInfo(path, info) ? std::optional(info) : std::nullopt;
}
} // namespace

void CProgramStep::Begin()
{
    m_before = FileInfo(m_os, m_strOutputFile);
}

EStepFailure CProgramStep::Finish(int nExitCode)
{
    if (nExitCode != 0)
        return EStepFailure::ExitCode;
    const std::optional<platform::SFileInfo> after = FileInfo(m_os, m_strOutputFile);
    if (!after || after->bFolder || (m_before && *m_before == *after))
        return EStepFailure::NoOutput;
    if (!m_strFirstPhoto.empty())
        m_metadata = CarryMetadata(m_os, m_strFirstPhoto, m_strOutputFile);
    if (m_pPaths && !m_pPaths->Commit())
        return EStepFailure::NotSaved;
    return EStepFailure::None;
}

void CProgramStep::Abandon()
{
    if (!m_before && !m_strOutputFile.empty())
        m_os.RemoveFile(m_strOutputFile);
}

const std::u16string& CProgramStep::RealOutput() const
{
    return m_pPaths ? m_pPaths->RealOutput() : m_strOutputFile;
}

std::u16string ExitCodeText(int nCode)
{
    if (nCode >= 0 && nCode <= 0xFFFF)
        return platform::DecimalText(nCode);
    // Windows reports crashes as status codes such as 0xC0000005, which read best in hex.
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string text = u"0x";
    for (int nShift = 28; nShift >= 0; nShift -= 4)
        text += kHex[(static_cast<unsigned>(nCode) >> nShift) & 0xFu];
    return text;
}
} // namespace lvp
