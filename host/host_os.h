// What lvphost needs from the OS: console output and absolute paths.
#pragma once
#include <string>
#include <string_view>

#include "plugin/function_plugin.h"

namespace lvp::host {
enum class EStream { Out, Err };
// Writes to standard output or standard error: UTF-8 (a Windows console gets UTF-16 directly).
void Write(EStream stream, std::u16string_view text);
// The path made absolute against the current folder (the file need not exist).
std::u16string MakeAbsolute(const std::u16string& path);
} // namespace lvp::host
