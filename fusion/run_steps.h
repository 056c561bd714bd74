// The steps of a run: each starts one program that must leave its output file, and is judged by
// its exit code and that file. A run is the sequence of its steps, one after the other.
#pragma once
#include "metadata/metadata.h"
#include "platform/os.h"

#include <optional>
#include <string>

namespace lvp {
class CToolPaths;

enum class ERunOutcome {
    Fused,   // exit code 0 and the output file written during the run
    Failed,  // the program failed, wrote no output, or could not be started
    Stopped, // the user stopped it
};

// Why a step that ran to its end did not succeed.
enum class EStepFailure {
    None,     // it succeeded
    ExitCode, // the program ended with an exit code other than 0
    NoOutput, // it wrote no output file (none there, a folder, or the one from before unchanged)
    NotSaved, // the output could not be put under its real name
};

// The step that runs the fusion program into strOutputFile. pPaths, when the program's paths
// were made for it (not owned): a fused output is committed to its real name before the step
// counts as done. strFirstPhoto, when not empty: the metadata of that photo (the original first
// selected one) is carried into a fused output before it is committed.
class CProgramStep {
public:
    CProgramStep(const platform::COs& os, std::u16string strOutputFile, CToolPaths* pPaths,
                 std::u16string strFirstPhoto = {})
        : m_os(os), m_strOutputFile(std::move(strOutputFile)), m_pPaths(pPaths),
          m_strFirstPhoto(std::move(strFirstPhoto))
    {
    }
    // Before the program starts: notes what is at the output path.
    void Begin();
    // After the program ended with nExitCode. A failure to carry the metadata is none of the
    // step's: the output stays as the program wrote it (MetadataOutcome says why).
    EStepFailure Finish(int nExitCode);
    // What became of the first photo's metadata in the last Finish that found an output;
    // NothingToCarry before, and without a first photo.
    metadata::ECarryOutcome MetadataOutcome() const { return m_metadata; }
    // After a step that did not succeed: a partial output goes, unless it was there before.
    void Abandon();
    // The name the user wants the output under.
    const std::u16string& RealOutput() const;

private:
    const platform::COs& m_os;
    std::u16string m_strOutputFile;
    CToolPaths* m_pPaths;
    std::u16string m_strFirstPhoto;
    metadata::ECarryOutcome m_metadata = metadata::ECarryOutcome::NothingToCarry;
    std::optional<platform::SFileInfo> m_before;
};

// An exit code as it reads best: decimal up to 0xFFFF, else (Windows status codes such as
// 0xC0000005) "0x" and eight hex digits.
std::u16string ExitCodeText(int nCode);
} // namespace lvp
