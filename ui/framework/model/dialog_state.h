// Dialogs as state: built from the module's templates, with the dialog manager's keys and clicks.
// Product logic that the terminal rendition draws and drives, and the tests' model
// (tests/ui/model/model_ui.h) scripts.
#pragma once
#include "ui/framework/model/model_wnd.h"

#include <deque>
#include <functional>
#include <memory>

namespace lvp {
// Pixels of one dialog unit across and down: 4 x-units are a character's average width and
// 8 y-units its height, with the dialog font taken as 6 x 13 pixels.
constexpr int kModelCharWidth = 6;
constexpr int kModelCharHeight = 13;
SRect DialogUnitsToPixels(const SDialogRect& rect);

// One dialog's state, shared by the dialog object and whoever draws or inspects it.
struct SModelDialog {
    unsigned nIdTemplate = 0;
    platform::WindowId parent = nullptr;
    SModelControl window{0, EControlKind::Dialog}; // the dialog window; its text is the caption
    std::deque<SModelControl> controls;            // in tab order; references stay valid
    int nFocusId = 0;                              // 0: no control has the focus
    bool bOpen = false;                            // RunModal has created the windows
    bool bEnded = false;
    bool bRunning = false; // a program runs: input is discarded, Escape and close ask to stop
    bool bStopAsked = false;
    std::intptr_t nResult = 0;
    std::function<void()> onRepaint; // called whenever a control is painted

    SModelControl* Find(int nId);
    const SModelControl* Find(int nId) const;
};

class CStateUi;

// A dialog held as state. The user's input arrives through the operations below, which behave
// as the system's dialog manager does with the same keys and clicks.
class CModelDialog : public CDialogBackend {
public:
    CModelDialog(CStateUi& ui, std::shared_ptr<SModelDialog> pState);

    std::intptr_t RunModal(CDialogEvents& events) override;
    void EndDialog(std::intptr_t nResult) override;
    std::unique_ptr<CWndBackend> Window() override;
    SControlBackend GetDlgItem(int nId) override;
    void SetRunning(bool bRunning) override;
    bool PollStopRequest() override;

    // Replaces the text of a visible, enabled edit field, as selecting all and typing does.
    void Type(int nId, std::u16string_view text);
    // A click on a visible, enabled control of some size: a button sends its command, a check
    // box toggles and sends its command, an edit takes the focus.
    void Click(int nId);
    // The user's choice of item nIndex of a visible, enabled drop-down list of some size: it takes
    // the focus, and a new selection tells the dialog. An index outside the list does nothing.
    void SelectItem(int nId, int nIndex);
    // Enter: the focused button, else the default button (OK).
    void PressEnter();
    void PressEscape();
    // The caption's close button.
    void PressClose();
    // Tab / Shift-Tab: the next visible, enabled tab stop in template order.
    void Tab(bool bBackward = false);
    // The answer of the dialog to a control-colour query of control nId; false if unanswered.
    bool QueryColor(int nId, SCtlColor& color);

    SModelDialog& State() { return *m_pState; }
    bool IsEnded() const { return m_pState->bEnded; }

protected:
    // Runs the user's side until the dialog has ended: the test's steps here, the keys of the
    // terminal in the terminal rendition. Returns false when input ran out before the end.
    virtual bool Loop() = 0;
    // During a run: takes the input that has arrived (the test's run steps, the terminal's keys).
    virtual void PollInput() {}
    bool Send(const SDialogEvent& event);
    CStateUi& m_ui;

private:
    std::shared_ptr<SModelDialog> m_pState;
    CDialogEvents* m_pEvents = nullptr;
};

// A window system whose dialogs are CModelDialog state; what shows them (or scripts them) derives.
class CStateUi : public CUiBackend {
public:
    // A dialog from the template, held as state; null for an unknown template.
    std::unique_ptr<CDialogBackend> CreateDialogBackend(unsigned nIdTemplate,
                                                        platform::WindowId parent) override;
    std::unique_ptr<CWndBackend> WrapWindow(platform::WindowId window) override;
    CCursorBackend& Cursor() override { return m_cursor; }
    std::unique_ptr<CFontBackend> MakeFont(const SFontSpec& spec) override;
    std::unique_ptr<CBrushBackend> MakeSolidBrush(Color color) override;
    // False: dialogs cannot be shown, their modal run returns -1.
    virtual bool CanShowDialogs() const { return true; }

    // The host's window behind any non-null window id.
    SModelControl m_hostWindow{0, EControlKind::Dialog};
    // The screen, for dialogs without an owner.
    SRect m_screen{0, 0, 1280, 1024};
    CModelCursor m_cursor;

protected:
    // The dialog object over new state.
    virtual std::unique_ptr<CDialogBackend> MakeDialog(std::shared_ptr<SModelDialog> pState) = 0;
};
} // namespace lvp
