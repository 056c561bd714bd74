// CModelUi: the in-memory window system of the tests: dialogs held as state and driven by a
// test's steps, message boxes that are recorded, file dialogs with scripted answers, and fonts
// that can be made to fail.
#pragma once
#include "ui/framework/model/dialog_state.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lvp {
struct SModelMessage {
    std::u16string strText;
    std::u16string strCaption;
    EMessageIcon icon;
    int nFocusIdAtShow;
    EMessageButtons buttons = EMessageButtons::Ok; // the focus in the newest dialog when the box appeared
};

// The taskbar button of the model's host window, as the dialog left it.
struct SModelTaskbar {
    bool bShown = false; // a CTaskbarProgress lives
    int nShows = 0;      // how often one was made
    platform::WindowId window = nullptr;
    int nPos = -1;
    EProgressState state = EProgressState::Normal;
    int nSetPos = 0; // calls of SetPos
};

class CModelUi : public CStateUi {
public:
    using Step = std::function<void(CModelDialog&)>;

    bool ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                     EMessageButtons buttons) override;
    bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path) override;
    std::unique_ptr<CFontBackend> MakeFont(const SFontSpec& spec) override;
    std::unique_ptr<CBrushBackend> MakeSolidBrush(Color color) override;
    bool CanShowDialogs() const override { return m_bCanShowDialogs; }
    std::unique_ptr<CTaskbarProgress> ShowTaskbarProgress(platform::WindowId window) override;

    // The newest dialog's state (null before the first).
    SModelDialog* LastDialog() { return m_dialogs.empty() ? nullptr : m_dialogs.back().get(); }

    // What the user does once a dialog is open, one step after the other.
    std::deque<Step> m_steps;
    // What the user does while a program runs: one step at each look at the input.
    std::deque<Step> m_runSteps;
    // The answers to Yes/No boxes in order (none left: the default button).
    std::deque<bool> m_yesNoAnswers;
    // False: dialogs cannot be shown (no display), their modal run returns -1.
    bool m_bCanShowDialogs = true;
    // Every message box, and a hook that runs while one is shown.
    std::vector<SModelMessage> m_messages;
    std::function<void(const SModelMessage&)> m_onMessage;
    // The answers of the file dialog in order (none: cancelled); and what it was asked.
    std::deque<std::optional<std::u16string>> m_fileAnswers;
    std::vector<SOpenFileRequest> m_fileRequests;
    // Fonts cannot be made (as when the system runs out of them).
    bool m_bFailFonts = false;
    int m_nLiveFonts = 0;   // made and not yet released
    int m_nLiveBrushes = 0; // made and not yet released
    SModelTaskbar m_taskbar;
    // Every dialog made, kept after it has gone, for inspection.
    std::vector<std::shared_ptr<SModelDialog>> m_dialogs;

protected:
    std::unique_ptr<CDialogBackend> MakeDialog(std::shared_ptr<SModelDialog> pState) override;
};

} // namespace lvp
