// The free memory that Linux states in /proc/meminfo, read from its text (pure, so tested everywhere).
#pragma once
#include <cstdint>
#include <string_view>

namespace platform {
// The bytes of the line "MemAvailable: N kB"; 0 when there is no such line or it does not parse.
uint64_t MemAvailableFromMeminfo(std::string_view text);
} // namespace platform
