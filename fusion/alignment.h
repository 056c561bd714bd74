// The alignment program (align_image_stack), which aligns a hand-held series before it is fused:
// where it is found.
#pragma once
#include "platform/os.h"

#include <string>

namespace lvp {
// The alignment program in the folder of the fusion program strProgram, else the first on PATH;
// empty when there is none.
std::u16string LocateAlignProgram(const std::u16string& strProgram, const platform::COs& os);
} // namespace lvp
