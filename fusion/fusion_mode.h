// What a series is: an exposure series (the default) or a focus stack, which changes the weights
// of the fusion, the alignment's options and the grouping into brackets.
#pragma once

namespace lvp {
// The values are those of the setting "FusionMode" and the indices of the dialog's list.
enum class EFusionMode { Exposure = 0, Focus = 1 };
// The mode of a setting's value or a list's index: 1 is a focus stack, any other an exposure series.
constexpr EFusionMode FusionModeOf(int nValue)
{
    return nValue == static_cast<int>(EFusionMode::Focus) ? EFusionMode::Focus : EFusionMode::Exposure;
}
} // namespace lvp
