// Model controls behave like the system's controls where the code relies on it.
#include "ui/framework/model/model_wnd.h"

#include "ui/framework/model/dialog_state.h"

#include <algorithm>

namespace lvp {
namespace {
class CModelWnd : public CWndBackend, public CEditBackend {
public:
    explicit CModelWnd(SModelControl& control) : m_c(control) {}

    platform::WindowId GetWindowId() const override { return reinterpret_cast<platform::WindowId>(&m_c); }
    int GetDlgCtrlID() const override { return m_c.nId; }
    void SetText(std::u16string_view text) override
    {
        // Like WM_SETTEXT: the limit does not apply, the caret goes to the start.
        m_c.strText.assign(text);
        ++m_c.nTextEdits;
        m_c.nSelStart = m_c.nSelEnd = 0;
    }
    std::u16string GetText() const override { return m_c.strText; }
    int GetTextLength() const override { return Length(); }
    void ShowWindow(bool bShow) override { m_c.bVisible = bShow; }
    bool IsWindowVisible() const override { return m_c.bVisible; }
    void EnableWindow(bool bEnable) override
    {
        m_c.bEnabled = bEnable;
        // A disabled window loses the focus, as in the system.
        if (!bEnable && m_c.pDialog && m_c.pDialog->nFocusId == m_c.nId)
            m_c.pDialog->nFocusId = 0;
    }
    bool IsWindowEnabled() const override { return m_c.bEnabled; }
    void MoveWindow(const SRect& rect, bool) override { m_c.rect = rect; }
    SRect GetWindowRect() const override { return m_c.rect; }
    void UpdateWindow() override
    {
        ++m_c.nUpdateCount;
        if (m_c.pDialog && m_c.pDialog->onRepaint)
            m_c.pDialog->onRepaint();
    }
    void SetFocus() override
    {
        if (m_c.pDialog)
            m_c.pDialog->nFocusId = m_c.nId;
    }
    void SetFont(const CFontBackend* pFont, bool) override
    {
        if (pFont)
            m_c.font = pFont->Spec();
        else
            m_c.font.reset();
    }

    void SetSel(int nStart, int nEnd) override
    {
        if (nStart < 0) { // deselect, caret stays
            m_c.nSelStart = m_c.nSelEnd;
            return;
        }
        if (nEnd < 0)
            nEnd = Length();
        m_c.nSelStart = std::min(nStart, Length());
        m_c.nSelEnd = std::min(nEnd, Length());
    }
    void GetSel(int& nStart, int& nEnd) const override
    {
        nStart = std::min(m_c.nSelStart, m_c.nSelEnd);
        nEnd = std::max(m_c.nSelStart, m_c.nSelEnd);
    }
    void ScrollCaret() override { ++m_c.nScrollCaretCount; }
    void ReplaceSel(std::u16string_view text, bool) override
    {
        int nStart = 0, nEnd = 0;
        GetSel(nStart, nEnd);
        if (nEnd != Length() || nStart != nEnd)
            ++m_c.nTextEdits;
        m_c.strText.erase(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart));
        // Text beyond the limit is dropped, as the system's edit control does.
        size_t room = m_c.nLimitText > m_c.strText.size() ? m_c.nLimitText - m_c.strText.size() : 0;
        text = text.substr(0, std::min(room, text.size()));
        m_c.strText.insert(static_cast<size_t>(nStart), text);
        m_c.nSelStart = m_c.nSelEnd = nStart + static_cast<int>(text.size());
    }
    // 0: no limit; a multi-line edit control (the output pane) then reports -1.
    void SetLimitText(unsigned nMax) override { m_c.nLimitText = nMax ? nMax : 0xFFFFFFFFu; }
    unsigned GetLimitText() const override { return m_c.nLimitText; }

private:
    int Length() const { return static_cast<int>(m_c.strText.size()); }
    SModelControl& m_c;
};

class CModelButton : public CButtonBackend {
public:
    explicit CModelButton(SModelControl& control) : m_c(control) {}
    bool GetCheck() const override { return m_c.bChecked; }
    void SetCheck(bool bChecked) override { m_c.bChecked = bChecked; }

private:
    SModelControl& m_c;
};

// Like the system's drop-down list: items in the order added, a selection outside them is none.
class CModelCombo : public CComboBackend {
public:
    explicit CModelCombo(SModelControl& control) : m_c(control) {}
    int AddString(std::u16string_view text) override
    {
        m_c.items.emplace_back(text);
        return static_cast<int>(m_c.items.size()) - 1;
    }
    void ResetContent() override
    {
        m_c.items.clear();
        m_c.nCurSel = -1;
    }
    int GetCount() const override { return static_cast<int>(m_c.items.size()); }
    void SetCurSel(int nIndex) override { m_c.nCurSel = nIndex >= 0 && nIndex < GetCount() ? nIndex : -1; }
    int GetCurSel() const override { return m_c.nCurSel; }
    std::u16string GetLBText(int nIndex) const override
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_c.items[static_cast<size_t>(nIndex)] : std::u16string();
    }

private:
    SModelControl& m_c;
};

class CModelProgress : public CProgressBackend {
public:
    explicit CModelProgress(SModelControl& control) : m_c(control) {}
    void SetPos(int nPos) override
    {
        nPos = std::clamp(nPos, 0, kProgressRange);
        m_c.nPosChanges += nPos != m_c.nPos;
        m_c.nPos = nPos;
    }
    int GetPos() const override { return m_c.nPos; }
    void SetState(EProgressState state) override { m_c.progressState = state; }
    EProgressState GetState() const override { return m_c.progressState; }

private:
    SModelControl& m_c;
};

// The edit operations of a control whose window operations another object holds.
class CModelEdit : public CEditBackend {
public:
    explicit CModelEdit(SModelControl& control) : m_wnd(control) {}
    void SetSel(int s, int e) override { m_wnd.SetSel(s, e); }
    void GetSel(int& s, int& e) const override { m_wnd.GetSel(s, e); }
    void ScrollCaret() override { m_wnd.ScrollCaret(); }
    void ReplaceSel(std::u16string_view t, bool b) override { m_wnd.ReplaceSel(t, b); }
    void SetLimitText(unsigned n) override { m_wnd.SetLimitText(n); }
    unsigned GetLimitText() const override { return m_wnd.GetLimitText(); }

private:
    CModelWnd m_wnd;
};
} // namespace

SControlBackend MakeModelBackend(SModelControl& control)
{
    SControlBackend out{std::make_unique<CModelWnd>(control), nullptr, nullptr, nullptr, nullptr};
    if (control.kind == EControlKind::Edit)
        out.pEdit = std::make_unique<CModelEdit>(control);
    if (control.kind == EControlKind::CheckBox)
        out.pButton = std::make_unique<CModelButton>(control);
    if (control.kind == EControlKind::DropList)
        out.pCombo = std::make_unique<CModelCombo>(control);
    if (control.kind == EControlKind::Progress)
        out.pProgress = std::make_unique<CModelProgress>(control);
    return out;
}
} // namespace lvp
