// The module's message box and the system's open-file dialog.
#pragma once
#include "ui/framework/backend.h"

#include <string>

namespace lvp {
// The caption of the module's messages: its file name without folder and extension.
std::u16string MessageCaption();

// A box with one OK button, the given icon and the module's name as caption, owned by the
// thread's active window.
void ShowMessageBox(std::u16string_view text, EMessageIcon icon);

// The open-file dialog; true with the chosen full path when the user confirms.
bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path);
} // namespace lvp
