// Drives a real modal dialog from inside its own thread, the way Wine's user32 tests do.
#pragma once
#include "platform/win32/windows_prelude.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace dialog_test {
// A message box as the user saw it.
struct SBox {
    std::u16string strCaption;
    std::u16string strText;
    bool bWarningIcon = false;
    bool bYesNo = false; // Yes and No instead of OK
};

// The user's side of one modal dialog: a visible owner window, a script of steps, and the
// answers to message boxes and the open-file dialog.
//
// A step runs each time the dialog's modal loop has nothing left to do (the dialog manager
// then sends WM_ENTERIDLE to the owner) and the dialog is the active window, so it sees the
// result of all input posted before.
// Boxes and file dialogs are answered from a WH_CBT hook when they are activated.
class CDriver {
public:
    using Step = std::function<void(HWND hDlg)>;

    CDriver();
    ~CDriver();
    CDriver(const CDriver&) = delete;
    CDriver& operator=(const CDriver&) = delete;

    HWND Owner() const { return m_hOwner; }
    // Forgets what was seen and answered, for the next dialog.
    void Reset();

    std::deque<Step> m_steps;
    // Typed into the file dialog's name field, one per dialog; none left: the dialog is cancelled.
    std::deque<std::u16string> m_fileAnswers;
    std::vector<SBox> m_boxes;
    // The buttons pressed in Yes/No boxes in order (IDYES, IDNO); none left: Enter, which
    // presses the box's default button.
    std::deque<int> m_boxAnswers;
    int m_nFileDialogs = 0;
    // Called when the owner window is handed a WM_APP message (posted by a test).
    std::function<void()> m_onAppMessage;
    // What happened, in order: "box", "file".
    std::vector<std::string> m_events;

private:
    static LRESULT CALLBACK OwnerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND hWnd);

    HWND m_hOwner = nullptr;
    HHOOK m_hHook = nullptr;
    std::set<HWND> m_answered;
    int m_nWaitsForActivation = 0; // idle rounds the next step has waited for the dialog to be active
};

// Input as the user gives it, posted to the dialog's controls.
void Type(HWND hDlg, int nId, std::u16string_view text);
void Click(HWND hDlg, int nId);
// A key pressed in the control that has the focus (the dialog when none has).
void PressKey(HWND hDlg, UINT vk);

std::u16string WindowText(HWND hWnd);
std::u16string ItemText(HWND hDlg, int nId);
} // namespace dialog_test
