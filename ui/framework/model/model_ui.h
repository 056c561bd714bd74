// The in-memory window system: dialogs built from the module's templates, driven by a test's
// steps (or by the terminal's keys), with message boxes and file dialogs that are answered.
#pragma once
#include "ui/framework/model/model_wnd.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace lvp {
// Pixels of one dialog unit across and down: 4 x-units are a character's average width and
// 8 y-units its height, with the dialog font taken as 6 x 13 pixels.
constexpr int kModelCharWidth = 6;
constexpr int kModelCharHeight = 13;
SRect DialogUnitsToPixels(const SDialogRect& rect);

// One dialog's state; kept by CModelUi after the dialog has gone, for inspection.
struct SModelDialog {
    unsigned nIdTemplate = 0;
    platform::WindowId parent = nullptr;
    SModelControl window{0, EControlKind::Dialog}; // the dialog window; its text is the caption
    std::deque<SModelControl> controls;            // in tab order; references stay valid
    int nFocusId = 0;                              // 0: no control has the focus
    bool bOpen = false;                            // RunModal has created the windows
    bool bEnded = false;
    std::intptr_t nResult = 0;
    std::function<void()> onRepaint; // called whenever a control is painted

    SModelControl* Find(int nId);
    const SModelControl* Find(int nId) const;
};

struct SModelMessage {
    std::u16string strText;
    std::u16string strCaption;
    EMessageIcon icon;
    int nFocusIdAtShow; // the focus in the newest dialog when the box appeared
};

class CModelUi;

// A dialog of the model backend. The user's input arrives through the operations below,
// which behave as the system's dialog manager does with the same keys and clicks.
class CModelDialog : public CDialogBackend {
public:
    CModelDialog(CModelUi& ui, std::shared_ptr<SModelDialog> pState);

    std::intptr_t RunModal(CDialogEvents& events) override;
    void EndDialog(std::intptr_t nResult) override;
    std::unique_ptr<CWndBackend> Window() override;
    SControlBackend GetDlgItem(int nId) override;

    // Replaces the text of a visible, enabled edit field, as selecting all and typing does.
    void Type(int nId, std::u16string_view text);
    // A click on a visible, enabled control of some size: a button sends its command, an edit
    // takes the focus.
    void Click(int nId);
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
    virtual bool Loop();
    bool Send(const SDialogEvent& event);
    CModelUi& m_ui;

private:
    std::shared_ptr<SModelDialog> m_pState;
    CDialogEvents* m_pEvents = nullptr;
};

class CModelUi : public CUiBackend {
public:
    using Step = std::function<void(CModelDialog&)>;

    std::unique_ptr<CDialogBackend> CreateDialogBackend(unsigned nIdTemplate,
                                                        platform::WindowId parent) override;
    std::unique_ptr<CWndBackend> WrapWindow(platform::WindowId window) override;
    void ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon) override;
    bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path) override;
    CCursorBackend& Cursor() override { return m_cursor; }
    std::unique_ptr<CFontBackend> MakeFont(const SFontSpec& spec) override;
    std::unique_ptr<CBrushBackend> MakeSolidBrush(Color color) override;

    // The newest dialog's state (null before the first).
    SModelDialog* LastDialog() { return m_dialogs.empty() ? nullptr : m_dialogs.back().get(); }

    // What the user does once a dialog is open, one step after the other.
    std::deque<Step> m_steps;
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
    // The host's window behind any non-null window id.
    SModelControl m_hostWindow{0, EControlKind::Dialog};
    // The screen, for dialogs without an owner.
    SRect m_screen{0, 0, 1280, 1024};
    CModelCursor m_cursor;
    std::vector<std::shared_ptr<SModelDialog>> m_dialogs;
};

// Installs a backend for the lifetime of this object (tests).
class CUiBackendScope {
public:
    explicit CUiBackendScope(CUiBackend& backend) : m_pBefore(SetUiBackend(&backend)) {}
    ~CUiBackendScope() { SetUiBackend(m_pBefore); }
    CUiBackendScope(const CUiBackendScope&) = delete;
    CUiBackendScope& operator=(const CUiBackendScope&) = delete;

private:
    CUiBackend* m_pBefore;
};
} // namespace lvp
