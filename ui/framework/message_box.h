// The module's message box and the system's open-file dialog.
#pragma once
#include "ui/framework/backend.h"

#include <string>

namespace lvp {
// The caption of the module's messages: its file name without folder and extension.
std::u16string MessageCaption();

// A box with one OK button, the given icon and the module's name as caption, owned by the
// thread's active window.
void ShowMessageBox(CUiBackend& ui, std::u16string_view text, EMessageIcon icon);

// The same box with Yes and No, No the default (bYesDefault: Yes); true for Yes.
bool AskYesNo(CUiBackend& ui, std::u16string_view text, bool bYesDefault = false);

// The open-file dialog; true with the chosen full path when the user confirms.
bool ShowOpenFileDialog(CUiBackend& ui, const SOpenFileRequest& request, std::u16string& path);
} // namespace lvp
