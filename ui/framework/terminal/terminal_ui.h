// The terminal rendition's window system: dialogs held as state, drawn on the terminal screen and
// driven by its keys; message boxes and the open-file prompt. Implemented by
// ui/framework/terminal/terminal_dialog.cpp and terminal_ui.cpp.
#pragma once
#include "ui/framework/model/dialog_state.h"
#include "ui/framework/terminal/terminal_screen.h"
#include "ui/framework/terminal/terminal_text.h"

#include <map>

namespace lvp::terminal {
class CTerminalUi;

class CTerminalDialog : public CModelDialog {
public:
    CTerminalDialog(CTerminalUi& ui, std::shared_ptr<SModelDialog> pState);
    std::intptr_t RunModal(CDialogEvents& events) override;
    // Draws the dialog into the screen's buffer; Show() brings it to the terminal.
    void Draw();

protected:
    bool Loop() override;
    void PollInput() override;

private:
    CTerminalUi& TerminalUi();
    void OnKey(const SKey& key);
    void EditKey(SModelControl& c, const SKey& key);
    void DrawControl(const SModelControl& c, int y0, int x0);
    void DrawPane(const SModelControl& c, int y, int x, int nRows, int nCols);
    void ScrollPane(int nLines);
    bool PaneVisible();

    std::map<int, int> m_mapScroll; // first shown character of each single-line field
    CPaneLines m_paneLines;         // the pane's text as display lines
    unsigned m_nPaneEdits = 0;      // the pane's nTextEdits when m_paneLines was brought up to date
    int m_nPaneTop = -1;            // first shown line of the pane; -1: follows the end
    int m_nPaneRows = 1, m_nPaneLines = 0;
    int m_nCursorY = -1, m_nCursorX = -1;
};

class CTerminalUi : public CStateUi {
public:
    bool ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                     EMessageButtons buttons) override;
    bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path) override;

    // The screen for the time of one dialog or box; nested uses share it.
    class CUse {
    public:
        explicit CUse(CTerminalUi& ui) : m_ui(ui)
        {
            if (!m_ui.m_pScreen)
                m_ui.m_pScreen = CTerminalScreen::Open();
            if (m_ui.m_pScreen)
                ++m_ui.m_nUses;
        }
        ~CUse()
        {
            if (m_ui.m_pScreen && --m_ui.m_nUses == 0)
                m_ui.m_pScreen.reset();
        }
        CUse(const CUse&) = delete;
        CUse& operator=(const CUse&) = delete;
        explicit operator bool() const { return m_ui.m_pScreen != nullptr; }

    private:
        CTerminalUi& m_ui;
    };

    CTerminalScreen& Screen() { return *m_pScreen; }
    // Draws what lies under a box: the open dialog, or nothing.
    void DrawBackground()
    {
        ::attrset(A_NORMAL);
        ::werase(stdscr);
        if (m_pActive)
            m_pActive->Draw();
    }
    CTerminalDialog* m_pActive = nullptr; // the dialog in its modal run; not owned

protected:
    std::unique_ptr<CDialogBackend> MakeDialog(std::shared_ptr<SModelDialog> pState) override
    {
        return std::make_unique<CTerminalDialog>(*this, std::move(pState));
    }

private:
    std::unique_ptr<CTerminalScreen> m_pScreen;
    int m_nUses = 0;
};

} // namespace lvp::terminal
