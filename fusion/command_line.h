// The fusion program's command line, from the dialog's values and the photos.
#pragma once
#include "fusion/command_builder.h"
#include "fusion/fusion_mode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lvp {
// The command-line template expanded: `"program" -o "output" --compression=N`, the quality
// printed as a signed decimal number (as a %d of its 32 bits), the paths copied as they are.
std::u16string FormatCommandHead(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality);
// The command in both forms: the template's words expanded (the program first, the output as
// QuotedArgumentText writes it), then ` "path"` for each input in order; as arguments the
// template's words without their quotes, then the inputs. A focus stack has the weights of
// sharpness alone, each pixel taken from one photo, between the template's words and the inputs.
platform::SCommandLine BuildToolCommand(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                        std::uint32_t nQuality, const std::vector<std::u16string>& inputs,
                                        EFusionMode mode = EFusionMode::Exposure);
// Its two forms on their own.
std::u16string BuildCommandLine(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                std::uint32_t nQuality, const std::vector<std::u16string>& inputs,
                                EFusionMode mode = EFusionMode::Exposure);
std::vector<std::u16string> BuildArgumentVector(std::u16string_view strProgram,
                                                std::u16string_view strOutputFile, std::uint32_t nQuality,
                                                const std::vector<std::u16string>& inputs,
                                                EFusionMode mode = EFusionMode::Exposure);
} // namespace lvp
