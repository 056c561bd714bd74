// Windows expands the command-line template with the system's message formatting.
#include "ui/win32/command_template.h"

#include "platform/win32/scoped.h"
#include "ui/command_line.h"

namespace lvp {
std::optional<std::u16string> FormatCommandTemplate(std::u16string_view strProgram,
                                                    std::u16string_view strOutputFile, std::uint32_t nQuality)
{
    const std::u16string program(strProgram), output(strOutputFile);
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(program.c_str()), reinterpret_cast<DWORD_PTR>(output.c_str()),
                           static_cast<DWORD_PTR>(static_cast<LONG_PTR>(static_cast<std::int32_t>(nQuality)))};
    platform::win32::CAutoLocal<LPWSTR> text;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             L"\"%1!s!\" -o \"%2!s!\" --compression=%3!d!", 0, 0,
                             reinterpret_cast<LPWSTR>(text.Out()), 0, reinterpret_cast<va_list*>(inserts));
    if (n == 0 || !text)
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(text.Get()), n);
}

std::u16string ExpandCommandTemplate(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                     std::uint32_t nQuality)
{
    // Should the system fail (out of memory), our own expansion gives the same text.
    return FormatCommandTemplate(strProgram, strOutputFile, nQuality)
        .value_or(FormatCommandHead(strProgram, strOutputFile, nQuality));
}
} // namespace lvp
