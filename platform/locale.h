// The runtime locale, and conversion of the narrow text of the user's code page to UTF-16.
// Implemented by platform/posix/locale.cpp and platform/win32/locale.cpp.
#pragma once
#include <string>
#include <string_view>

namespace platform {
// Sets the runtime library's locale, all categories, to the system's ANSI code page
// (Windows: ".ACP"; Linux: the user's locale from the environment).
void SetRuntimeLocale();
// Converts bytes of the thread's ANSI code page (Linux: the current locale's encoding)
// to UTF-16. An incomplete or invalid sequence is converted as it stands, never dropped silently.
std::u16string NarrowToUtf16(std::string_view bytes);
} // namespace platform
