// What a series is: an exposure series (the default) or a focus stack, which changes the weights
// of the fusion, the alignment's options and the grouping into brackets.
#pragma once

namespace lvp {
// The values are those of the setting "FusionMode" and the indices of the dialog's list.
enum class EFusionMode { Exposure = 0, Focus = 1 };
} // namespace lvp
