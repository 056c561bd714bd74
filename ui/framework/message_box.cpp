// The module's message box and open-file dialog, shown by the backend given.
#include "ui/framework/message_box.h"

#include "platform/module_file.h"

namespace lvp {
// The module's file name without extension: a renamed copy shows its own name. The name it
// ships with stands in when the OS cannot tell.
std::u16string MessageCaption()
{
    std::u16string caption = platform::OwnModuleTitle();
    return caption.empty() ? std::u16string(u"lvp_hdr") : caption;
}

void ShowMessageBox(CUiBackend& ui, std::u16string_view text, EMessageIcon icon)
{
    ui.ShowMessage(text, MessageCaption(), icon, EMessageButtons::Ok);
}

bool AskYesNo(CUiBackend& ui, std::u16string_view text, bool bYesDefault)
{
    return ui.ShowMessage(text, MessageCaption(), EMessageIcon::Warning,
                          bYesDefault ? EMessageButtons::YesNoDefaultYes : EMessageButtons::YesNo);
}

bool ShowOpenFileDialog(CUiBackend& ui, const SOpenFileRequest& request, std::u16string& path)
{
    return ui.ShowOpenFileDialog(request, path);
}
} // namespace lvp
