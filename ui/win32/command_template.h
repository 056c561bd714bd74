// The command-line template expanded by FormatMessageW.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace lvp {
// The template `"%1!s!" -o "%2!s!" --compression=%3!d!` with the three values inserted;
// nothing when FormatMessageW fails.
std::optional<std::u16string> FormatCommandTemplate(std::u16string_view strProgram,
                                                    std::u16string_view strOutputFile, std::uint32_t nQuality);
} // namespace lvp
