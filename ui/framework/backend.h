// The seams between the portable window classes and the window systems behind them.
// Implemented by ui/framework/win32/ (real windows), ui/framework/model/ (in memory) and
// ui/framework/terminal/ (the model drawn on a terminal).
#pragma once
#include "platform/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lvp {
struct SRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const SRect&) const = default;
};

// A colour as 0x00BBGGRR, the layout of Win32's COLORREF.
using Color = std::uint32_t;
constexpr Color Rgb(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// The arguments of CreateFontW.
struct SFontSpec {
    int nHeight = 0, nWidth = 0, nEscapement = 0, nOrientation = 0, nWeight = 400;
    bool bItalic = false, bUnderline = false, bStrikeOut = false;
    std::uint8_t nCharSet = 1, nOutPrecision = 0, nClipPrecision = 0, nQuality = 0, nPitchAndFamily = 0;
    std::u16string strFace;
};

class CFontBackend {
public:
    virtual ~CFontBackend() = default;
    virtual const SFontSpec& Spec() const = 0;
};

class CBrushBackend {
public:
    virtual ~CBrushBackend() = default;
    virtual Color GetColor() const = 0;
};

// Window operations on one window or control. None throws for a window-system failure.
class CWndBackend {
public:
    virtual ~CWndBackend() = default;
    virtual platform::WindowId GetWindowId() const = 0;
    virtual int GetDlgCtrlID() const = 0;
    virtual void SetText(std::u16string_view text) = 0;
    virtual std::u16string GetText() const = 0;
    virtual int GetTextLength() const = 0;
    virtual void ShowWindow(bool bShow) = 0;
    virtual bool IsWindowVisible() const = 0;
    virtual void EnableWindow(bool bEnable) = 0;
    virtual bool IsWindowEnabled() const = 0;
    // In the parent's client coordinates (pixels).
    virtual void MoveWindow(const SRect& rect, bool bRepaint) = 0;
    // In screen coordinates (pixels).
    virtual SRect GetWindowRect() const = 0;
    virtual void UpdateWindow() = 0;
    virtual void SetFocus() = 0;
    // The font is not owned; null gives the system font back.
    virtual void SetFont(const CFontBackend* pFont, bool bRedraw) = 0;
};

// Edit-control operations.
class CEditBackend {
public:
    virtual ~CEditBackend() = default;
    virtual void SetSel(int nStart, int nEnd) = 0;
    virtual void GetSel(int& nStart, int& nEnd) const = 0;
    virtual void ScrollCaret() = 0;
    virtual void ReplaceSel(std::u16string_view text, bool bCanUndo) = 0;
    virtual void SetLimitText(unsigned nMax) = 0;
    virtual unsigned GetLimitText() const = 0;
};

// Check-box operations.
class CButtonBackend {
public:
    virtual ~CButtonBackend() = default;
    virtual bool GetCheck() const = 0;
    virtual void SetCheck(bool bChecked) = 0;
};

// Drop-down list operations; an index outside the list selects nothing (GetCurSel then gives -1).
class CComboBackend {
public:
    virtual ~CComboBackend() = default;
    virtual int AddString(std::u16string_view text) = 0; // the new item's index, or -1
    virtual void ResetContent() = 0;
    virtual int GetCount() const = 0;
    virtual void SetCurSel(int nIndex) = 0;
    virtual int GetCurSel() const = 0;
    // The item's text; empty for an index outside the list.
    virtual std::u16string GetLBText(int nIndex) const = 0;
};

// What a progress bar shows besides how far it is: a run going on, one that failed, one stopped.
enum class EProgressState { Normal, Error, Paused };
// A progress bar's position runs from 0 to this.
inline constexpr int kProgressRange = 1000;

// Progress-bar operations.
class CProgressBackend {
public:
    virtual ~CProgressBackend() = default;
    // Clamped to 0 .. kProgressRange.
    virtual void SetPos(int nPos) = 0;
    virtual int GetPos() const = 0;
    virtual void SetState(EProgressState state) = 0;
    virtual EProgressState GetState() const = 0;
};

// The progress shown on the taskbar button of a top-level window while the object lives; its
// end takes the progress off the button again.
class CTaskbarProgress {
public:
    virtual ~CTaskbarProgress() = default;
    virtual void SetPos(int nPos) = 0; // of kProgressRange
    virtual void SetState(EProgressState state) = 0;
};

// One control as a backend hands it out: its window operations, and its edit operations when
// it is an edit control, its check operations when it is a check box, its list operations when
// it is a drop-down list, its bar's when it is a progress bar.
struct SControlBackend {
    std::unique_ptr<CWndBackend> pWnd;
    std::unique_ptr<CEditBackend> pEdit;
    std::unique_ptr<CButtonBackend> pButton;
    std::unique_ptr<CComboBackend> pCombo;
    std::unique_ptr<CProgressBackend> pProgress;
};

// The answer to a control-colour query: text and background colour, and the brush that
// paints the rest of the control (not owned).
struct SCtlColor {
    Color text = 0;
    Color back = 0;
    const CBrushBackend* pBrush = nullptr;
};

// Notification code of a button press.
constexpr int kBnClicked = 0;
// Notification code of a drop-down list whose selection the user changed (CBN_SELCHANGE).
constexpr int kCbnSelChange = 1;

enum class EDialogEvent { InitDialog, Command, CtlColor, Enter, Escape, Close };
struct SDialogEvent {
    EDialogEvent kind;
    int nId = 0;                 // Command, CtlColor: the control
    int nCode = 0;               // Command: the notification
    SCtlColor* pColor = nullptr; // CtlColor: the answer, filled in when the result is true
};

// The C++ side of a dialog. Backends call Dispatch from their entry points; it never throws.
// The result: InitDialog: let the backend place the focus; CtlColor: answered; else handled.
class CDialogEvents {
public:
    virtual bool Dispatch(const SDialogEvent& event) noexcept = 0;

protected:
    ~CDialogEvents() = default;
};

// One dialog of a backend, created from a template; its windows exist while RunModal runs.
class CDialogBackend {
public:
    virtual ~CDialogBackend() = default;
    // Creates the windows, sends InitDialog, centres the dialog over its owner, and runs until
    // EndDialog; returns the end result, or -1 when the dialog cannot be shown.
    virtual std::intptr_t RunModal(CDialogEvents& events) = 0;
    virtual void EndDialog(std::intptr_t nResult) = 0;
    // The dialog window itself; null while it has no window.
    virtual std::unique_ptr<CWndBackend> Window() = 0;
    // A control of the dialog; empty when there is none (or no window yet).
    virtual SControlBackend GetDlgItem(int nId) = 0;
    // While the dialog's thread runs a program (from SetRunning(true) to SetRunning(false)) the
    // user's input to the dialog is discarded, except that Escape and the close button ask for
    // the run to stop; no event reaches the C++ side for them.
    virtual void SetRunning(bool bRunning) = 0;
    // Keeps the windows painted, discards the input that waits, and tells whether a stop has
    // been asked for since the last call.
    virtual bool PollStopRequest() = 0;
};

enum class EMessageIcon { Information, Warning, Error };
// The buttons of a message box: OK alone, or Yes and No with No or with Yes the default.
enum class EMessageButtons { Ok, YesNo, YesNoDefaultYes };

// The open-file dialog: filter as display name and pattern pairs separated by '|' (empty: no
// filter), default extension without the dot, OFN_* flags.
// Options of the open-file dialog, with the values of the Win32 OPENFILENAME flags that the
// win32 backend passes on as they are.
inline constexpr std::uint32_t kOpenFileOverwritePrompt = 0x2; // OFN_OVERWRITEPROMPT
inline constexpr std::uint32_t kOpenFileHideReadOnly = 0x4;    // OFN_HIDEREADONLY

struct SOpenFileRequest {
    std::u16string strFilter;
    std::u16string strDefExt;
    std::uint32_t nFlags = 0;
};

class CCursorBackend {
public:
    virtual ~CCursorBackend() = default;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// One window system: creates dialogs, shows message boxes and the file dialog, owns the cursor.
class CUiBackend {
public:
    virtual ~CUiBackend() = default;
    // Null when the template does not exist in the module's own resources.
    virtual std::unique_ptr<CDialogBackend> CreateDialogBackend(unsigned nIdTemplate,
                                                                platform::WindowId parent) = 0;
    // Operations on a window that the caller does not own (the host's); null for a null id.
    virtual std::unique_ptr<CWndBackend> WrapWindow(platform::WindowId window) = 0;
    // A modal box owned by the thread's active window; true for OK or Yes, false for No (and
    // for a box closed without an answer, or one that cannot be shown).
    virtual bool ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon,
                             EMessageButtons buttons) = 0;
    // True with the chosen full path when the user confirms.
    virtual bool ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path) = 0;
    virtual CCursorBackend& Cursor() = 0;
    // Null when the system cannot make it.
    virtual std::unique_ptr<CFontBackend> MakeFont(const SFontSpec& spec) = 0;
    virtual std::unique_ptr<CBrushBackend> MakeSolidBrush(Color color) = 0;
    // The progress on the taskbar button of the top-level window that owns window (window
    // itself when nothing owns it); null where the system has no such button or window is null.
    virtual std::unique_ptr<CTaskbarProgress> ShowTaskbarProgress(platform::WindowId /*window*/)
    {
        return nullptr;
    }
};

// The build's own backend: Windows the real windows, Linux the terminal rendition. Only the
// module's edge asks for it; everything below is handed the backend it works with.
CUiBackend& DefaultUiBackend();
} // namespace lvp
