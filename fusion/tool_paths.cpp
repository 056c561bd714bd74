// CToolPaths: short names, hard links, copies and a redirected output for paths the fusion
// program could not open as they are.
#include "fusion/tool_paths.h"

#include "platform/path.h"
#include "platform/temp_name.h"

#include <string_view>

namespace lvp {
namespace {
using platform::IsAscii;

// ".jpg" of "...\Bild.jpg"; empty without one.
std::u16string Extension(const std::u16string& path, const platform::COs& os)
{
    return std::u16string(platform::ExtensionOf(path, os.PathSeparators()));
}
} // namespace

CToolPaths::~CToolPaths()
{
    for (const std::u16string& path : m_made)
        m_os.RemoveFile(path);
    if (m_toolOutput != m_output)
        m_os.RemoveFile(m_toolOutput);
    for (const std::u16string& folder : m_folders)
        m_os.RemoveFolderTree(folder);
}

std::u16string CToolPaths::MakePrivateFolder()
{
    for (int nTries = 0; nTries < 10; ++nTries) {
        std::u16string folder = TempName(u"-run");
        if (folder.empty())
            return {};
        if (m_os.CreateFolder(folder)) {
            m_folders.push_back(folder);
            return folder;
        }
    }
    return {};
}

bool CToolPaths::FitsAsAscii(const std::u16string& path) const
{
    return !path.empty() && IsAscii(path) && m_os.FitsNarrowArguments(path);
}

bool CToolPaths::Prepare(const std::vector<std::u16string>& inputs, const std::u16string& output,
                         std::u16string& strFailed)
{
    m_inputs = inputs;
    m_output = m_toolOutput = output;
    for (std::u16string& input : m_inputs) {
        if (!PrepareInput(input)) {
            strFailed = input;
            return false;
        }
    }
    if (!PrepareOutput()) {
        strFailed = output;
        return false;
    }
    return true;
}

bool CToolPaths::PrepareInput(std::u16string& path)
{
    if (m_os.FitsNarrowArguments(path))
        return true;
    if (std::u16string shortPath = m_os.ShortPath(path); FitsAsAscii(shortPath)) {
        path = shortPath;
        return true;
    }
    const std::u16string ext = Extension(path, m_os);
    const std::u16string name = TempName(IsAscii(ext) ? ext : std::u16string());
    if (name.empty() || !(m_os.MakeHardLink(name, path) || m_os.CopyFileTo(path, name, false)))
        return false;
    m_made.push_back(name);
    path = name;
    return true;
}

// The program takes the output's type from its extension, which the new name keeps.
bool CToolPaths::PrepareOutput()
{
    if (m_os.FitsNarrowArguments(m_output))
        return true;
    const std::u16string ext = Extension(m_output, m_os);
    if (!IsAscii(ext))
        return false;
    const size_t nameStart = platform::FileNameStart(m_output, m_os.PathSeparators());
    if (nameStart > 0) {
        const std::u16string folder = m_os.ShortPath(m_output.substr(0, nameStart - 1));
        const std::u16string beside = platform::UniqueName(folder + m_output[nameStart - 1] + kPrefix,
                                                           u"-out" + ext, m_os.CurrentProcessId());
        if (FitsAsAscii(folder) && !m_os.Exists(beside)) {
            m_toolOutput = beside;
            return true;
        }
    }
    const std::u16string name = TempName(u"-out" + ext);
    if (name.empty())
        return false;
    m_toolOutput = name;
    return true;
}

bool CToolPaths::Commit()
{
    if (m_toolOutput == m_output)
        return true;
    if (!m_os.MoveReplace(m_toolOutput, m_output) && !m_os.CopyFileTo(m_toolOutput, m_output, true))
        return false;
    m_os.RemoveFile(m_toolOutput);
    m_toolOutput = m_output;
    return true;
}

const std::u16string& CToolPaths::Folder()
{
    if (!m_bFolderLooked) {
        m_bFolderLooked = true;
        std::u16string folder = m_os.TempFolder();
        if (!FitsAsAscii(folder))
            folder = m_os.ShortPath(folder);
        if (FitsAsAscii(folder)) {
            m_folder = folder + m_os.PathSeparator();
            // What a host that has ended left there.
            platform::RemoveStaleTemporaries(m_os, m_folder + kPrefix, u"");
        }
    }
    return m_folder;
}

std::u16string CToolPaths::TempName(const std::u16string& suffix)
{
    if (Folder().empty())
        return {};
    for (int nTries = 0; nTries < 100; ++nTries) {
        std::u16string name = platform::UniqueName(m_folder + kPrefix, suffix, m_os.CurrentProcessId());
        if (!m_os.Exists(name))
            return name;
    }
    return {};
}
} // namespace lvp
