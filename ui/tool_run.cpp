// Reads the tool's pipe to its end and adds its output to the pane line by line.
#include "ui/tool_run.h"

#include "platform/locale.h"
#include "resources/strings.h"
#include "ui/framework/wait_cursor.h"

namespace lvp {
namespace {
constexpr unsigned kIdCommandDone = 109;
constexpr unsigned kIdCommandTooLong = 110;

void AddToPane(CEdit& editOutput, std::u16string_view text)
{
    int nLength = editOutput.GetWindowTextLength();
    editOutput.SetSel(nLength, nLength);
    editOutput.ScrollCaret();
    editOutput.ReplaceSel(text, false);
    // The run blocks the thread, so the pane is painted here or not at all until it ends.
    editOutput.UpdateWindow();
}
} // namespace

void RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command)
{
    editOutput.SetLimitText(0); // as much as memory allows, not the default 30 000 characters
    editOutput.SetWindowText(u"");
    if (platform::IsCommandLineTooLong(command)) {
        editOutput.SetWindowText(LoadModuleString(kIdCommandTooLong));
        return;
    }
    platform::CPipeReadEnd pipe;
    platform::CProcess process = platform::StartProcessWithPipe(command, pipe);
    if (!process)
        return;

    CWaitCursor waitCursor;
    // The bytes of one line are converted together, so that characters of several bytes survive.
    std::string line;
    char buffer[4096];
    size_t nRead = 0;
    while (pipe.Read(buffer, sizeof buffer, nRead)) {
        for (size_t i = 0; i < nRead; ++i) {
            // A zero byte has always added nothing; inside a line it would cut the line short.
            if (buffer[i] != '\0')
                line += buffer[i];
            if (buffer[i] == '\n') {
                AddToPane(editOutput, platform::NarrowToUtf16(line));
                line.clear();
            }
        }
    }
    AddToPane(editOutput, platform::NarrowToUtf16(line));
    AddToPane(editOutput, u"\r\n" + LoadModuleString(kIdCommandDone));
    pipe.Close();
    process.Close();
    waitCursor.End();
}
} // namespace lvp
