// CToolPaths: short names, hard links, copies and a redirected output for paths the fusion
// program could not open as they are.
#include "fusion/tool_paths.h"

#include "platform/utf.h"

#include <string_view>

namespace lvp {
namespace {
bool IsAscii(std::u16string_view s)
{
    for (char16_t c : s) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

size_t NameStart(const std::u16string& path)
{
    const size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? 0 : slash + 1;
}

// ".jpg" of "...\Bild.jpg"; empty without one.
std::u16string Extension(const std::u16string& path)
{
    const size_t dot = path.rfind(u'.');
    return dot == std::u16string::npos || dot < NameStart(path) ? std::u16string() : path.substr(dot);
}
} // namespace

CToolPaths::~CToolPaths()
{
    for (const std::u16string& path : m_made)
        m_os.RemoveFile(path);
    if (m_toolOutput != m_output)
        m_os.RemoveFile(m_toolOutput);
    for (const std::u16string& folder : m_folders)
        RemoveFolderTree(folder);
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

// Only one level: the programs put no folders into it.
void CToolPaths::RemoveFolderTree(const std::u16string& folder) const
{
    for (const std::u16string& path : m_os.FilesStartingWith(folder + m_os.PathSeparator()))
        m_os.RemoveFile(path);
    m_os.RemoveFolder(folder);
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
    const std::u16string ext = Extension(path);
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
    const std::u16string ext = Extension(m_output);
    if (!IsAscii(ext))
        return false;
    const size_t nameStart = NameStart(m_output);
    if (nameStart > 0) {
        const std::u16string folder = m_os.ShortPath(m_output.substr(0, nameStart - 1));
        const std::u16string beside = folder + m_output[nameStart - 1] + kPrefix +
                                      platform::DecimalText(m_os.CurrentProcessId()) + u"-out" + ext;
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
            RemoveStale(m_folder);
        }
    }
    return m_folder;
}

std::u16string CToolPaths::TempName(const std::u16string& suffix)
{
    if (Folder().empty())
        return {};
    const std::u16string base = m_folder + kPrefix + platform::DecimalText(m_os.CurrentProcessId()) + u"-";
    for (int nTries = 0; nTries < 1000; ++nTries) {
        std::u16string name = base;
        name += platform::DecimalText(++m_nNames);
        name += suffix;
        if (!m_os.Exists(name))
            return name;
    }
    return {};
}

void CToolPaths::RemoveStale(const std::u16string& folder) const
{
    const std::u16string prefix = folder + kPrefix;
    for (const std::u16string& path : m_os.FilesStartingWith(prefix)) {
        if (IsStale(prefix, path))
            m_os.RemoveFile(path);
    }
    for (const std::u16string& path : m_os.FoldersStartingWith(prefix)) {
        if (IsStale(prefix, path))
            RemoveFolderTree(path);
    }
}

bool CToolPaths::IsStale(const std::u16string& prefix, const std::u16string& path) const
{
    uint32_t nProcess = 0;
    size_t i = prefix.size();
    for (; i < path.size() && path[i] >= u'0' && path[i] <= u'9' && nProcess < 100000000; ++i)
        nProcess = nProcess * 10 + (path[i] - u'0');
    return i > prefix.size() && i < path.size() && path[i] == u'-' && nProcess != m_os.CurrentProcessId() &&
           !m_os.IsProcessRunning(nProcess);
}
} // namespace lvp
