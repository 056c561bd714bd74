// CToolPaths: the forms of the input and output paths that the fusion program (a program with a
// narrow main()) can open, made before a run and removed after it.
#pragma once
#include "platform/os.h"

#include <string>
#include <vector>

namespace lvp {
class CToolPaths {
public:
    explicit CToolPaths(const platform::COs& os) : m_os(os) {}
    CToolPaths(const CToolPaths&) = delete;
    CToolPaths& operator=(const CToolPaths&) = delete;
    // Removes the links and copies it made, its private folders with what is in them, and the
    // program's output unless it was committed.
    ~CToolPaths();

    // A path that reaches the program unchanged stays as it is. Another input is passed as its
    // short form, else as a hard link or a copy under an ASCII name in the temporary folder;
    // another output is written under an ASCII name beside it (through its folder's short form)
    // or in the temporary folder. False, with the path, when a path has no such form.
    bool Prepare(const std::vector<std::u16string>& inputs, const std::u16string& output,
                 std::u16string& strFailed);
    const std::vector<std::u16string>& Inputs() const { return m_inputs; }
    // Where the program writes the output, and where the user wants it.
    const std::u16string& ToolOutput() const { return m_toolOutput; }
    const std::u16string& RealOutput() const { return m_output; }
    // After a successful run: the program's output under the real name (replacing); false when
    // it cannot be put there.
    bool Commit();
    // A new, empty folder of its own in the temporary folder, which the programs can reach (a
    // step's files, and whatever else a program leaves in its current folder); empty when none
    // can be made. It goes with everything in it, as do those of ended hosts.
    std::u16string MakePrivateFolder();

    // The prefix of every name made for the program (platform::UniqueName follows it).
    static constexpr char16_t kPrefix[] = u"lvp_hdr-";

private:
    bool FitsAsAscii(const std::u16string& path) const;
    // The temporary folder as the program can reach it; empty when it cannot.
    const std::u16string& Folder();
    // A new file name in the temporary folder ending in suffix; empty when there is none.
    std::u16string TempName(const std::u16string& suffix);
    bool PrepareInput(std::u16string& path);
    bool PrepareOutput();

    const platform::COs& m_os;
    std::vector<std::u16string> m_inputs;
    std::u16string m_output, m_toolOutput;
    std::vector<std::u16string> m_made;    // links and copies
    std::vector<std::u16string> m_folders; // private folders
    std::u16string m_folder;
    bool m_bFolderLooked = false;
};
} // namespace lvp
