// Dialogs as state: built from the templates, the dialog manager's keys and clicks.
#include "ui/framework/model/dialog_state.h"

#include "resources/dialog.h"

#include <algorithm>
#include <utility>

namespace lvp {
namespace {
bool IsButton(const SModelControl& c)
{
    return c.kind == EControlKind::PushButton || c.kind == EControlKind::DefPushButton;
}
bool CanUse(const SModelControl& c)
{
    return c.bVisible && c.bEnabled;
}

class CModelFont : public CFontBackend {
public:
    explicit CModelFont(const SFontSpec& spec) : m_spec(spec) {}
    const SFontSpec& Spec() const override { return m_spec; }

private:
    SFontSpec m_spec;
};

class CModelBrush : public CBrushBackend {
public:
    explicit CModelBrush(Color color) : m_color(color) {}
    Color GetColor() const override { return m_color; }

private:
    Color m_color;
};

// The host's window: its operations apply to CStateUi::m_hostWindow, its id is the host's.
class CHostWnd : public CWndBackend {
public:
    CHostWnd(platform::WindowId id, SModelControl& window) : m_id(id), m_pInner(MakeModelBackend(window).pWnd)
    {
    }
    platform::WindowId GetWindowId() const override { return m_id; }
    int GetDlgCtrlID() const override { return 0; }
    void SetText(std::u16string_view t) override { m_pInner->SetText(t); }
    std::u16string GetText() const override { return m_pInner->GetText(); }
    int GetTextLength() const override { return m_pInner->GetTextLength(); }
    void ShowWindow(bool b) override { m_pInner->ShowWindow(b); }
    bool IsWindowVisible() const override { return m_pInner->IsWindowVisible(); }
    void EnableWindow(bool b) override { m_pInner->EnableWindow(b); }
    bool IsWindowEnabled() const override { return m_pInner->IsWindowEnabled(); }
    void MoveWindow(const SRect& r, bool b) override { m_pInner->MoveWindow(r, b); }
    SRect GetWindowRect() const override { return m_pInner->GetWindowRect(); }
    void UpdateWindow() override { m_pInner->UpdateWindow(); }
    void SetFocus() override {}
    void SetFont(const CFontBackend* f, bool b) override { m_pInner->SetFont(f, b); }

private:
    platform::WindowId m_id;
    std::unique_ptr<CWndBackend> m_pInner;
};
} // namespace

SRect DialogUnitsToPixels(const SDialogRect& r)
{
    auto x = [](int du) { return du * kModelCharWidth / 4; };
    auto y = [](int du) { return du * kModelCharHeight / 8; };
    return {x(r.x), y(r.y), x(r.x + r.cx), y(r.y + r.cy)};
}

SModelControl* SModelDialog::Find(int nId)
{
    auto it = std::find_if(controls.begin(), controls.end(),
                           [nId](const SModelControl& c) { return c.nId == nId; });
    return it == controls.end() ? nullptr : &*it;
}

const SModelControl* SModelDialog::Find(int nId) const
{
    return const_cast<SModelDialog*>(this)->Find(nId);
}

CModelDialog::CModelDialog(CStateUi& ui, std::shared_ptr<SModelDialog> pState)
    : m_ui(ui), m_pState(std::move(pState))
{
}

std::intptr_t CModelDialog::RunModal(CDialogEvents& events)
{
    SModelDialog& d = *m_pState;
    if (!m_ui.CanShowDialogs())
        return -1;
    const SDialogTemplate* pTemplate = FindDialogTemplate(d.nIdTemplate);
    d.window.strText = pTemplate->caption;
    d.window.nStyles = pTemplate->styles;
    d.window.rect = DialogUnitsToPixels(pTemplate->rect);
    d.window.pDialog = &d;
    for (size_t i = 0; i < pTemplate->count; ++i) {
        const SDialogControl& t = pTemplate->controls[i];
        SModelControl& c = d.controls.emplace_back(static_cast<int>(t.id), t.kind);
        c.nStyles = t.styles;
        c.strText = t.text;
        c.rect = DialogUnitsToPixels(t.rect);
        c.bVisible = (t.styles & DialogStyle::Hidden) == 0;
        c.pDialog = &d;
    }
    d.bOpen = true;
    m_pEvents = &events;
    if (Send({EDialogEvent::InitDialog}) && d.nFocusId == 0 && !d.bEnded)
        Tab();
    // Centred over the owner (the screen without one), as the framework places a new dialog.
    const SRect owner = d.parent ? m_ui.m_hostWindow.rect : m_ui.m_screen;
    const int cx = d.window.rect.right - d.window.rect.left, cy = d.window.rect.bottom - d.window.rect.top;
    const int x = owner.left + (owner.right - owner.left - cx) / 2,
              y = owner.top + (owner.bottom - owner.top - cy) / 2;
    d.window.rect = {x, y, x + cx, y + cy};
    if (!d.bEnded && !Loop() && !d.bEnded)
        EndDialog(-1); // the user's input ran out before the dialog ended
    m_pEvents = nullptr;
    d.bOpen = false;
    return d.nResult;
}

void CModelDialog::EndDialog(std::intptr_t nResult)
{
    m_pState->bEnded = true;
    m_pState->nResult = nResult;
}

std::unique_ptr<CWndBackend> CModelDialog::Window()
{
    return m_pState->bOpen ? MakeModelBackend(m_pState->window).pWnd : nullptr;
}

SControlBackend CModelDialog::GetDlgItem(int nId)
{
    SModelControl* c = m_pState->bOpen ? m_pState->Find(nId) : nullptr;
    return c ? MakeModelBackend(*c) : SControlBackend{};
}

void CModelDialog::SetRunning(bool bRunning)
{
    m_pState->bRunning = bRunning;
    m_pState->bStopAsked = false;
}

bool CModelDialog::PollStopRequest()
{
    PollInput();
    return std::exchange(m_pState->bStopAsked, false);
}

// Nothing the user does reaches the dialog during a run.
bool CModelDialog::Send(const SDialogEvent& event)
{
    return m_pEvents && !m_pState->bEnded && !m_pState->bRunning && m_pEvents->Dispatch(event);
}

void CModelDialog::Type(int nId, std::u16string_view text)
{
    SModelControl* c = m_pState->Find(nId);
    if (!c || m_pState->bRunning || c->kind != EControlKind::Edit || !CanUse(*c) ||
        (c->nStyles & DialogStyle::ReadOnly))
        return;
    m_pState->nFocusId = nId;
    c->strText = std::u16string(text.substr(0, c->nLimitText));
    ++c->nTextEdits;
    c->nSelStart = c->nSelEnd = static_cast<int>(c->strText.size());
}

void CModelDialog::Click(int nId)
{
    SModelControl* c = m_pState->Find(nId);
    // A control collapsed to nothing cannot be hit.
    if (!c || !CanUse(*c) || c->kind == EControlKind::Static || c->kind == EControlKind::Progress ||
        c->rect.right <= c->rect.left)
        return;
    m_pState->nFocusId = nId;
    if (c->kind == EControlKind::CheckBox && !m_pState->bRunning)
        c->bChecked = !c->bChecked; // an automatic check box toggles itself, then tells the dialog
    if (IsButton(*c) || c->kind == EControlKind::CheckBox)
        Send({EDialogEvent::Command, nId, kBnClicked});
}

void CModelDialog::SelectItem(int nId, int nIndex)
{
    SModelControl* c = m_pState->Find(nId);
    if (!c || c->kind != EControlKind::DropList || !CanUse(*c) || m_pState->bRunning ||
        c->rect.right <= c->rect.left || nIndex < 0 || nIndex >= static_cast<int>(c->items.size()))
        return;
    m_pState->nFocusId = nId;
    if (std::exchange(c->nCurSel, nIndex) != nIndex)
        Send({EDialogEvent::Command, nId, kCbnSelChange});
}

void CModelDialog::PressEnter()
{
    const SModelControl* pFocus = m_pState->Find(m_pState->nFocusId);
    if (pFocus && IsButton(*pFocus) && CanUse(*pFocus))
        Send({EDialogEvent::Command, pFocus->nId, kBnClicked});
    else
        Send({EDialogEvent::Enter});
}

void CModelDialog::PressEscape()
{
    if (m_pState->bRunning)
        m_pState->bStopAsked = true;
    Send({EDialogEvent::Escape});
}

void CModelDialog::PressClose()
{
    if (m_pState->bRunning)
        m_pState->bStopAsked = true;
    Send({EDialogEvent::Close});
}

void CModelDialog::Tab(bool bBackward)
{
    auto& cs = m_pState->controls;
    const int n = static_cast<int>(cs.size());
    if (n == 0 || m_pState->bRunning)
        return;
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (cs[static_cast<size_t>(i)].nId == m_pState->nFocusId)
            at = i;
    }
    for (int step = 1; step <= n; ++step) {
        int i = at < 0 ? (bBackward ? n - step : step - 1) : ((at + (bBackward ? -step : step)) % n + n) % n;
        const SModelControl& c = cs[static_cast<size_t>(i)];
        if ((c.nStyles & DialogStyle::TabStop) && CanUse(c)) {
            m_pState->nFocusId = c.nId;
            return;
        }
    }
}

bool CModelDialog::QueryColor(int nId, SCtlColor& color)
{
    return Send({EDialogEvent::CtlColor, nId, 0, &color});
}

std::unique_ptr<CDialogBackend> CStateUi::CreateDialogBackend(unsigned nIdTemplate, platform::WindowId parent)
{
    if (!FindDialogTemplate(nIdTemplate))
        return nullptr;
    auto pState = std::make_shared<SModelDialog>();
    pState->nIdTemplate = nIdTemplate;
    pState->parent = parent;
    return MakeDialog(std::move(pState));
}

std::unique_ptr<CWndBackend> CStateUi::WrapWindow(platform::WindowId window)
{
    return window ? std::make_unique<CHostWnd>(window, m_hostWindow) : nullptr;
}

std::unique_ptr<CFontBackend> CStateUi::MakeFont(const SFontSpec& spec)
{
    return std::make_unique<CModelFont>(spec);
}

std::unique_ptr<CBrushBackend> CStateUi::MakeSolidBrush(Color color)
{
    return std::make_unique<CModelBrush>(color);
}
} // namespace lvp
