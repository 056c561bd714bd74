// The Linux build's window system until the terminal rendition draws the model: dialogs
// cannot be shown, and message boxes go to standard error.
#include "platform/utf.h"
#include "ui/framework/model/model_ui.h"

#include <cstdio>

namespace lvp {
namespace {
class CNoTerminalUi : public CModelUi {
public:
    CNoTerminalUi() { m_bCanShowDialogs = false; }
    void ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon) override
    {
        std::string line = platform::Utf16ToUtf8(caption) + ": " + platform::Utf16ToUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    }
};
} // namespace

CUiBackend& DefaultUiBackend()
{
    static CNoTerminalUi ui;
    return ui;
}
} // namespace lvp
