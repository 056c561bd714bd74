// Reads the tool's pipe to its end and adds its output to the pane line by line.
#include "ui/tool_run.h"

#include "platform/locale.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/wait_cursor.h"

namespace lvp {
namespace {

void AddToPane(CEdit& editOutput, std::u16string_view text)
{
    int nLength = editOutput.GetTextLength();
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
    editOutput.SetText(u"");
    if (platform::IsCommandLineTooLong(command)) {
        editOutput.SetText(LoadModuleString(IDS_COMMAND_TOO_LONG));
        return;
    }
    platform::CPipeReadEnd pipe;
    platform::CProcess process = platform::StartProcessWithPipe(command, pipe);
    if (!process)
        return;

    CWaitCursor waitCursor;
    // The bytes of a line are converted together, so that characters of several bytes survive.
    // The complete lines of one read arrived together and are added together: one repaint,
    // not one per line, which matters to edit controls that are slow to update.
    std::string pending;
    std::string buffer(16384, '\0');
    size_t nRead = 0;
    while (pipe.Read(buffer.data(), buffer.size(), nRead)) {
        const size_t nOld = pending.size(); // holds no line feed
        for (size_t i = 0; i < nRead; ++i) {
            // A zero byte has always added nothing; inside a line it would cut the line short.
            if (buffer[i] != '\0')
                pending += buffer[i];
        }
        size_t nLast = std::string_view(pending).substr(nOld).rfind('\n');
        if (nLast != std::string_view::npos) {
            size_t nComplete = nOld + nLast + 1;
            AddToPane(editOutput, platform::NarrowToUtf16(std::string_view(pending).substr(0, nComplete)));
            pending.erase(0, nComplete);
        }
    }
    AddToPane(editOutput, platform::NarrowToUtf16(pending));
    AddToPane(editOutput, u"\r\n" + LoadModuleString(IDS_CLOSE_WITH_OK));
    pipe.Close();
    process.Close();
    waitCursor.End();
}
} // namespace lvp
