// lvphost's console output: text to standard output or standard error.
#pragma once
#include <string>
#include <string_view>

#include "plugin/function_plugin.h"

namespace lvp::host {
enum class EStream { Out, Err };
// Writes to standard output or standard error: UTF-8 (a Windows console gets UTF-16 directly).
void Write(EStream stream, std::u16string_view text);
} // namespace lvp::host
