// Runs the fusion dialog (or one message box) with the build's own backend, the terminal
// rendition, and prints the end result and the dialog's values; the terminal tests drive it.
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/message_box.h"
#include "ui/sample_dlg.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// terminal_dialog_run --message
// terminal_dialog_run PROGRAM OUTPUT QUALITY FILE...
int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    if (const char* pidFile = std::getenv("LVP_PID_FILE"))
        std::ofstream(pidFile) << ::getpid() << "\n";
    if (argc == 2 && std::string(argv[1]) == "--message") {
        lvp::ShowMessageBox(lvp::DefaultUiBackend(), lvp::LoadModuleString(lvp::IDS_PROGRAM_NOT_FOUND),
                            lvp::EMessageIcon::Warning);
        std::puts("message shown");
        return 0;
    }
    if (argc < 4) {
        std::fputs("usage: terminal_dialog_run --message | PROGRAM OUTPUT QUALITY FILE...\n", stderr);
        return 2;
    }
    std::vector<std::u16string> files;
    for (int i = 4; i < argc; ++i)
        files.push_back(platform::Utf8ToUtf16(argv[i]));
    std::vector<std::u16string> selection;
    for (const auto& f : files)
        selection.push_back(f.c_str());
    lvp::CSampleDlg dlg(platform::RealOs(), lvp::DefaultUiBackend(), &selection, nullptr);
    dlg.m_strEnfusePath = platform::Utf8ToUtf16(argv[1]);
    dlg.m_strOutputFile = platform::Utf8ToUtf16(argv[2]);
    dlg.m_nJpegQuality = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
    dlg.m_bAlignImages = true; // as the command has it without a setting
    if (const char* mode = std::getenv("LVP_FUSION_MODE"))
        dlg.m_nFusionMode = std::atoi(mode);

    const std::intptr_t nResult = dlg.DoModal();
    std::printf("result %ld\noutcome %d\nprogram %s\noutput %s\nquality %u\nmode %d\n",
                static_cast<long>(nResult), static_cast<int>(dlg.m_outcome),
                platform::Utf16ToUtf8(dlg.m_strEnfusePath).c_str(),
                platform::Utf16ToUtf8(dlg.m_strOutputFile).c_str(), dlg.m_nJpegQuality, dlg.m_nFusionMode);
    return 0;
}
