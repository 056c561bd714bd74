// The output names of a batch: one file for each bracket that is fused, beside the one the user named.
#pragma once
#include "fusion/bracket_grouping.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lvp {
// Whether bracket is fused in a batch over nPhotos photos: two or more photos, all of them in the
// selection.
bool IsBatchFused(const SBracket& bracket, size_t nPhotos);

// One name for each of brackets (empty for one that is not fused, IsBatchFused). The first fused
// bracket's is field, exactly; each further one's lies in field's folder, is named
// ProposeOutputStem of its own first and last photo and has field's extension. A name that an
// earlier bracket has already got (compared exactly) receives "_2", "_3", ... before the
// extension, the first number that gives a name not yet taken.
std::vector<std::u16string> BatchOutputNames(const std::vector<std::u16string>& selection,
                                             const std::vector<SBracket>& brackets, std::u16string_view field,
                                             std::u16string_view separators);
} // namespace lvp
