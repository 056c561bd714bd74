// CTerminalDialog: the key loop of a dialog on the terminal, field editing, and its drawing.
#include "ui/framework/terminal/terminal_text.h"
#include "ui/framework/terminal/terminal_ui.h"

#include <algorithm>
#include <utility>

namespace lvp::terminal {
namespace {
// The cells of a control on the terminal, relative to the dialog's inside; a drop-down list takes
// one row while its list is closed. nCols 0: collapsed or hidden, nowhere.
struct SCells {
    int y, x, nRows, nCols;
};
SCells CellsOf(const SModelControl& c)
{
    const SRect& r = c.rect;
    if (!c.bVisible || r.right - r.left <= 0 || r.bottom - r.top <= 0)
        return {0, 0, 0, 0};
    return {r.top / kModelCharHeight, r.left / kModelCharWidth,
            c.kind == EControlKind::DropList ? 1 : std::max(1, (r.bottom - r.top) / kModelCharHeight),
            std::max(1, (r.right - r.left) / kModelCharWidth)};
}

// A label is set in a proportional font on Windows, where more letters fit its width than cells
// of the average width do: on the terminal its text runs on over the free cells to its right, up to
// the dialog's edge or one blank before the next control of its row, then begins earlier over free
// cells to its left (one blank stays after a control there), before it is cut.
SCells LabelCells(const SModelDialog& d, const SModelControl& label, int nTextCells)
{
    SCells cells = CellsOf(label);
    if (nTextCells <= cells.nCols)
        return cells;
    int nRight = (d.window.rect.right - d.window.rect.left) / kModelCharWidth, nLeft = 0;
    for (const SModelControl& other : d.controls) {
        const SCells o = CellsOf(other);
        if (&other == &label || o.nCols == 0 || o.y + o.nRows <= cells.y || o.y >= cells.y + cells.nRows)
            continue;
        if (o.x > cells.x)
            nRight = std::min(nRight, o.x - 1);
        else if (o.x + o.nCols <= cells.x)
            nLeft = std::max(nLeft, o.x + o.nCols + 1);
    }
    cells.x = std::max(nLeft, std::min(cells.x, nRight - nTextCells));
    cells.nCols = std::max(cells.nCols, std::min(nTextCells, nRight - cells.x));
    return cells;
}
} // namespace

CTerminalDialog::CTerminalDialog(CTerminalUi& ui, std::shared_ptr<SModelDialog> pState)
    : CModelDialog(ui, std::move(pState))
{
}

CTerminalUi& CTerminalDialog::TerminalUi()
{
    return static_cast<CTerminalUi&>(m_ui);
}

std::intptr_t CTerminalDialog::RunModal(CDialogEvents& events)
{
    CTerminalUi::CUse use(TerminalUi());
    if (!use)
        return -1;
    CTerminalDialog* pOuter = std::exchange(TerminalUi().m_pActive, this);
    // The run blocks the key loop: every repaint of a control shows at once.
    State().onRepaint = [this] {
        TerminalUi().Screen().AdoptSize();
        Draw();
        ::doupdate();
    };
    struct SRestore {
        CTerminalDialog& d;
        CTerminalDialog* pOuter;
        ~SRestore()
        {
            d.State().onRepaint = nullptr;
            d.TerminalUi().m_pActive = pOuter;
        }
    } restore{*this, pOuter};
    return CModelDialog::RunModal(events);
}

bool CTerminalDialog::Loop()
{
    // The field that receives the first focus has its whole text selected, as the system does.
    if (SModelControl* pFocus = State().Find(State().nFocusId);
        pFocus && pFocus->kind == EControlKind::Edit) {
        pFocus->nSelStart = 0;
        pFocus->nSelEnd = static_cast<int>(pFocus->strText.size());
    }
    while (!IsEnded()) {
        TerminalUi().DrawBackground();
        ::doupdate();
        SKey key;
        if (!TerminalUi().Screen().ReadKey(key))
            return false;
        OnKey(key);
    }
    return true;
}

// During a run, keys that have arrived are taken at once: Escape asks to stop, the pane's keys
// scroll it, everything else is dropped by the dialog.
void CTerminalDialog::PollInput()
{
    SKey key;
    bool bAny = false;
    while (TerminalUi().Screen().PollKey(key)) {
        OnKey(key);
        bAny = true;
    }
    if (bAny) {
        TerminalUi().DrawBackground();
        ::doupdate();
    }
}

bool CTerminalDialog::PaneVisible()
{
    for (const SModelControl& c : State().controls) {
        if (c.kind == EControlKind::Edit && (c.nStyles & DialogStyle::Multiline) && c.bVisible)
            return true;
    }
    return false;
}

void CTerminalDialog::ScrollPane(int nLines)
{
    int nMaxTop = std::max(0, m_nPaneLines - m_nPaneRows);
    int nTop = m_nPaneTop < 0 ? nMaxTop : m_nPaneTop;
    nTop = std::clamp(nTop + nLines, 0, nMaxTop);
    m_nPaneTop = nTop == nMaxTop ? -1 : nTop;
}

void CTerminalDialog::OnKey(const SKey& key)
{
    SModelDialog& d = State();
    SModelControl* pFocus = d.Find(d.nFocusId);
    const bool bEditFocus =
        pFocus && pFocus->kind == EControlKind::Edit && !(pFocus->nStyles & DialogStyle::Multiline);
    const bool bButtonFocus =
        pFocus && (pFocus->kind == EControlKind::PushButton || pFocus->kind == EControlKind::DefPushButton ||
                   pFocus->kind == EControlKind::CheckBox);
    // A drop-down list: the cursor keys choose the item before or after (no further than the ends),
    // Space the next one, after the last the first again.
    const bool bListFocus = pFocus && pFocus->kind == EControlKind::DropList;
    const auto chooseStep = [&](int nStep, bool bWrap) {
        const int nCount = static_cast<int>(pFocus->items.size());
        if (nCount == 0)
            return;
        const int nAt = pFocus->nCurSel + nStep;
        SelectItem(pFocus->nId, bWrap ? (nAt % nCount + nCount) % nCount : std::clamp(nAt, 0, nCount - 1));
    };
    switch (key.key) {
    case EKey::Tab:
    case EKey::BackTab:
        Tab(key.key == EKey::BackTab);
        break;
    case EKey::Enter:
        PressEnter();
        break;
    case EKey::Escape:
        PressEscape();
        break;
    case EKey::Resize:
        break; // drawn anew by the loop
    case EKey::PageUp:
    case EKey::PageDown:
    case EKey::Up:
    case EKey::Down:
        if (bListFocus && (key.key == EKey::Up || key.key == EKey::Down)) {
            chooseStep(key.key == EKey::Up ? -1 : 1, false);
        } else if (PaneVisible()) {
            const int nPage = std::max(1, m_nPaneRows - 1);
            ScrollPane(key.key == EKey::PageUp     ? -nPage
                       : key.key == EKey::PageDown ? nPage
                       : key.key == EKey::Up       ? -1
                                                   : 1);
        }
        break;
    case EKey::Home:
    case EKey::End:
        if (bEditFocus)
            EditKey(*pFocus, key);
        else if (PaneVisible())
            ScrollPane(key.key == EKey::Home ? -m_nPaneLines : m_nPaneLines);
        break;
    default:
        if (key.key == EKey::Char && key.ch == U' ' && bButtonFocus)
            Click(pFocus->nId);
        else if (bListFocus && key.key == EKey::Char && key.ch == U' ')
            chooseStep(1, true);
        else if (bListFocus && (key.key == EKey::Left || key.key == EKey::Right))
            chooseStep(key.key == EKey::Left ? -1 : 1, false);
        else if (bEditFocus)
            EditKey(*pFocus, key);
    }
    // The dialog manager selects a field's whole text when Tab brings the focus to it.
    if (SModelControl* pNew = d.Find(d.nFocusId);
        pNew && pNew != pFocus && pNew->kind == EControlKind::Edit) {
        pNew->nSelStart = 0;
        pNew->nSelEnd = static_cast<int>(pNew->strText.size());
    }
}

void CTerminalDialog::EditKey(SModelControl& c, const SKey& key)
{
    SFieldText f{c.strText, c.nSelStart, c.nSelEnd, c.nLimitText};
    if (!c.bEnabled || !ApplyFieldKey(f, key, (c.nStyles & DialogStyle::ReadOnly) != 0))
        return;
    c.strText = std::move(f.strText);
    ++c.nTextEdits;
    c.nSelStart = f.nAnchor;
    c.nSelEnd = f.nCaret;
}

void CTerminalDialog::Draw()
{
    CTerminalScreen& s = TerminalUi().Screen();
    SModelDialog& d = State();
    // The template's size in cells, the frame around it, centred in the terminal.
    const int nCols = (d.window.rect.right - d.window.rect.left) / kModelCharWidth;
    const int nRows = (d.window.rect.bottom - d.window.rect.top) / kModelCharHeight;
    const int y = std::max(0, (LINES - nRows - 2) / 2), x = std::max(0, (COLS - nCols - 2) / 2);
    Frame(y, x, nRows + 2, nCols + 2, d.window.strText, Pair(s, kPairDialog));
    m_nCursorY = m_nCursorX = -1;
    for (const SModelControl& c : d.controls)
        DrawControl(c, y + 1, x + 1);
    if (m_nCursorY >= 0) {
        ::move(m_nCursorY, m_nCursorX);
        ::curs_set(1);
    } else {
        ::curs_set(0);
    }
    ::wnoutrefresh(stdscr);
}

void CTerminalDialog::DrawControl(const SModelControl& c, int y0, int x0)
{
    CTerminalScreen& s = TerminalUi().Screen();
    const SCells cells = CellsOf(c);
    if (cells.nCols == 0)
        return;
    const int y = y0 + cells.y, x = x0 + cells.x, nCols = cells.nCols, nRows = cells.nRows;
    const bool bFocus = State().nFocusId == c.nId;
    switch (c.kind) {
    case EControlKind::Static: {
        const std::wstring text = ToWide(c.strText);
        const SCells label = LabelCells(State(), c, TextCells(text));
        ::attrset(Pair(s, kPairDialog) | (c.bEnabled ? 0 : A_DIM));
        PutText(y0 + label.y, x0 + label.x, text, label.nCols);
        break;
    }
    case EControlKind::DropList: {
        // The closed list: the chosen item in a field, with the arrow that would open it at the end.
        const attr_t base =
            Pair(s, kPairField) | (s.HasColors() ? 0 : A_UNDERLINE) | (c.bEnabled ? 0 : A_DIM);
        Fill(y, x, 1, nCols, base);
        const bool bChosen = c.nCurSel >= 0 && c.nCurSel < static_cast<int>(c.items.size());
        ::attrset(base | (bFocus ? A_REVERSE : 0));
        PutText(y, x, bChosen ? ToWide(c.items[static_cast<size_t>(c.nCurSel)]) : std::wstring(),
                std::max(0, nCols - 2));
        ::attrset(base);
        PutText(y, x + nCols - 1, MB_CUR_MAX > 1 ? L"\u25BC" : L"v", 1);
        if (bFocus) {
            m_nCursorY = y;
            m_nCursorX = x;
        }
        break;
    }
    case EControlKind::PushButton:
    case EControlKind::DefPushButton:
        DrawButton(s, y, x, nCols, c.strText, c.kind == EControlKind::DefPushButton, bFocus);
        if (bFocus) {
            m_nCursorY = y;
            m_nCursorX = x + nCols / 2;
        }
        break;
    case EControlKind::CheckBox:
        // "[x] text"; a disabled box is dimmed (Click refuses to toggle it).
        ::attrset(Pair(s, kPairDialog) | (c.bEnabled ? 0 : A_DIM) | (bFocus ? A_BOLD : 0));
        PutText(y, x, (c.bChecked ? L"[x] " : L"[ ] ") + ToWide(c.strText), nCols);
        if (bFocus) {
            m_nCursorY = y;
            m_nCursorX = x + 1;
        }
        break;
    case EControlKind::Edit:
        if (c.nStyles & DialogStyle::Multiline) {
            DrawPane(c, y, x, nRows, nCols);
            break;
        }
        {
            // One line, scrolled sideways so that the caret stays in view.
            const std::wstring text = ToWide(c.strText);
            const int nCaret = CharsBefore(c.strText, c.nSelEnd);
            int& nFirst = m_mapScroll[c.nId];
            nFirst = ScrollToCaret(text, nCaret, nFirst, nCols);
            const int nSelA = CharsBefore(c.strText, std::min(c.nSelStart, c.nSelEnd));
            const int nSelB = CharsBefore(c.strText, std::max(c.nSelStart, c.nSelEnd));
            const attr_t base =
                Pair(s, kPairField) | (s.HasColors() ? 0 : A_UNDERLINE) | (c.bEnabled ? 0 : A_DIM);
            Fill(y, x, 1, nCols, base);
            int nCell = 0;
            for (int i = nFirst; i < static_cast<int>(text.size()); ++i) {
                int w = CellWidth(text[static_cast<size_t>(i)]);
                if (nCell + w > nCols)
                    break;
                ::attrset(base | (bFocus && i >= nSelA && i < nSelB ? A_REVERSE : 0));
                PutText(y, x + nCell, std::wstring(1, text[static_cast<size_t>(i)]), w);
                nCell += w;
            }
            if (bFocus) {
                m_nCursorY = y;
                m_nCursorX = x + TextCells(text.substr(static_cast<size_t>(nFirst),
                                                       static_cast<size_t>(nCaret - nFirst)));
            }
        }
        break;
    case EControlKind::Progress: {
        // The bar's row holds the buttons on the terminal: the status line goes under it,
        // across the dialog.
        const int nDialogCols = (State().window.rect.right - State().window.rect.left) / kModelCharWidth;
        Fill(y + nRows, x0, 1, nDialogCols, Pair(s, kPairDialog));
        ::attrset(Pair(s, kPairDialog));
        PutText(y + nRows, x0, ProgressLine(c.nPos, kProgressRange, c.strText, nCols - 2), nDialogCols);
        break;
    }
    case EControlKind::Dialog:
        break;
    }
}

void CTerminalDialog::DrawPane(const SModelControl& c, int y, int x, int nRows, int nCols)
{
    CTerminalScreen& s = TerminalUi().Screen();
    // The colours are the dialog's answer to the control-colour query, as on Windows.
    SCtlColor color{Rgb(0, 0, 0), Rgb(255, 255, 255), nullptr};
    short pair = QueryColor(c.nId, color) ? s.PanePair(color.text, color.back)
                                          : s.PanePair(Rgb(0, 0, 0), Rgb(255, 255, 255));
    const attr_t attr = s.HasColors() ? COLOR_PAIR(pair) : A_NORMAL;
    Fill(y, x, nRows, nCols, attr);
    const bool bBar = (c.nStyles & DialogStyle::VScroll) != 0 && nCols > 1;
    const int nText = bBar ? nCols - 1 : nCols;
    m_paneLines.Update(c.strText, nText, c.nTextEdits != m_nPaneEdits);
    m_nPaneEdits = c.nTextEdits;
    m_nPaneRows = nRows;
    m_nPaneLines = m_paneLines.Count();
    const int nMaxTop = std::max(0, m_nPaneLines - nRows);
    const int nTop = m_nPaneTop < 0 ? nMaxTop : std::min(m_nPaneTop, nMaxTop);
    ::attrset(attr);
    for (int i = 0; i < nRows && nTop + i < m_nPaneLines; ++i)
        PutText(y + i, x, m_paneLines.Line(c.strText, nTop + i), nText);
    if (bBar) {
        const int nThumb = nMaxTop == 0 ? 0 : nTop * (nRows - 1) / nMaxTop;
        for (int i = 0; i < nRows; ++i)
            PutText(y + i, x + nCols - 1,
                    i == nThumb ? (MB_CUR_MAX > 1 ? L"\u2588" : L"#") : (MB_CUR_MAX > 1 ? L"\u2591" : L"|"),
                    1);
    }
    if (State().nFocusId == c.nId) {
        m_nCursorY = y + std::min(nRows - 1, std::max(0, m_nPaneLines - 1 - nTop));
        m_nCursorX = x;
    }
}
} // namespace lvp::terminal
