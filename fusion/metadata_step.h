// The metadata step of a run: the first photo's metadata carried into the fused output, over the
// OS, the output replaced only by a complete rewritten file.
#pragma once
#include "metadata/metadata.h"
#include "platform/os.h"

#include <string>

namespace lvp {
// Carries the metadata of strPhoto (the original first selected photo) into strOutput (the
// program's output, before it gets its real name). The photo is read first: with nothing to
// carry (no JPEG or TIFF, no metadata, no file there any more) the output is not opened. Else
// the rewritten output goes to a new temporary beside it (beside the file a link names), is
// flushed, and replaces it in one step. On every other outcome the output stays as the program
// wrote it and no temporary is left; metadata::IsReportedFailure tells which the user is told:
// SourceDamaged also for a photo that opens but cannot be read, OutputUnreadable for an output
// that cannot be read, CannotRewrite for a rewritten file that cannot be written or put in place
// (or memory that ran out). Only reads the photo. Does not throw.
metadata::ECarryOutcome CarryMetadata(const platform::COs& os, const std::u16string& strPhoto,
                                      const std::u16string& strOutput) noexcept;
} // namespace lvp
