// The module's message box and open-file dialog, shown by the backend in use.
#include "ui/framework/message_box.h"

namespace lvp {
namespace {
constexpr char16_t kCaption[] = u"lvp_hdr"; // the module's file name without extension
} // namespace

void ShowMessageBox(std::u16string_view text, EMessageIcon icon)
{
    UiBackend().ShowMessage(text, kCaption, icon);
}

bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path)
{
    return UiBackend().ShowOpenFileDialog(request, path);
}
} // namespace lvp
