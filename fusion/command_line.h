// The fusion program's command line, from the dialog's values and the selection list.
#pragma once
#include "fusion/selection_list.h"
#include "platform/process.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lvp {
// The command-line template expanded: `"program" -o "output" --compression=N`, the quality
// printed as a signed decimal number (as a %d of its 32 bits), the paths copied as they are.
std::u16string FormatCommandHead(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality);
// Text to stand between double quotes on a Windows command line so that the C runtime and
// CommandLineToArgvW read it back unchanged: a run of backslashes before a quote, also before
// the closing one, is doubled, and a quote is escaped.
std::u16string QuotedArgumentText(std::u16string_view text);
// Appends a blank and text between double quotes, as QuotedArgumentText writes it.
void AppendQuotedArgument(std::u16string& line, std::u16string_view text);
// The expanded template, then ` "path"` for each entry of the selection, in order (a null entry
// gives an empty pair of quotes); the output and the inputs as QuotedArgumentText writes them.
std::u16string BuildCommandLine(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                std::uint32_t nQuality, const SelectionList& selection);
// The same values as arguments, the template's words: program, -o, output, --compression=N; then
// the inputs.
std::vector<std::u16string> BuildArgumentVector(std::u16string_view strProgram,
                                                std::u16string_view strOutputFile, std::uint32_t nQuality,
                                                const SelectionList& selection);
// Both forms, for StartProcessWithPipe.
platform::SCommandLine BuildToolCommand(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                        std::uint32_t nQuality, const SelectionList& selection);
} // namespace lvp
