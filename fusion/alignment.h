// The alignment step (align_image_stack), which aligns a hand-held series before it is fused:
// where the program is found, its command, and the judging of the images it made.
#pragma once
#include "fusion/fusion_mode.h"
#include "platform/os.h"

#include <string>
#include <vector>

namespace lvp {
class CToolPaths;

// The alignment program in the folder of the fusion program strProgram, else the one that
// FindInstalledProgram finds; empty when there is none.
std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os);

// `align_image_stack -v -a <folder>/aligned -C <inputs in order>`, run in folder, and the images
// it is to write there: aligned0000.tif, aligned0001.tif, ... in input order (the first input is
// the reference frame). A focus stack adds `-m --use-given-order` after -v: the field of view
// changes with the focus distance, so the magnification is optimised too, and the first photo
// stays the reference whatever its sharpness.
class CAlignStep {
public:
    // The aligned images go into a private folder of paths (which removes it with them).
    CAlignStep(const platform::COs& os, CToolPaths& paths, const std::u16string& strProgram,
               const std::vector<std::u16string>& inputs, EFusionMode mode = EFusionMode::Exposure);
    // False when no private folder could be made: the step cannot run.
    bool Ready() const { return !m_command.strFolder.empty(); }
    const platform::SCommandLine& Command() const { return m_command; }
    const std::vector<std::u16string>& Aligned() const { return m_aligned; }
    // After the program ended with nExitCode: true when it succeeded and left every image.
    bool Finish(int nExitCode) const;

private:
    const platform::COs& m_os;
    platform::SCommandLine m_command;
    std::vector<std::u16string> m_aligned;
};
} // namespace lvp
