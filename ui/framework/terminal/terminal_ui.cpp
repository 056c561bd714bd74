// The Linux build's window system: the model's dialogs drawn with ncurses on the controlling
// terminal, driven by its keys; message boxes and the open-file prompt as framed boxes.
#include "platform/utf.h"
#include "ui/framework/model/model_ui.h"
#include "ui/framework/terminal/terminal_text.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// Last, and without the macros that would rename std::move, erase and the like.
#define NCURSES_NOMACROS
#include <curses.h>

namespace lvp {
namespace {
using namespace terminal;

// Restores the terminal when SIGINT or SIGTERM ends the process while a screen is open. Only
// async-signal-safe calls: the saved modes go back and a prepared reset sequence is written,
// then the signal's earlier action runs.
struct SSignalGuard {
    static inline int s_nFd = -1;
    static inline termios s_modes{};
    static inline char s_reset[256]{};
    static inline size_t s_nReset = 0;
    static inline struct sigaction s_oldInt {
    }, s_oldTerm{};
    static inline bool s_bInt = false, s_bTerm = false;

    static void OnSignal(int sig)
    {
        if (s_nFd >= 0) {
            ::tcsetattr(s_nFd, TCSANOW, &s_modes);
            [[maybe_unused]] ssize_t n = ::write(s_nFd, s_reset, s_nReset);
        }
        ::sigaction(sig, sig == SIGINT ? &s_oldInt : &s_oldTerm, nullptr);
        ::raise(sig); // delivered once this handler returns, with the earlier action
    }
    static void Install(int fd, const termios& modes)
    {
        s_nFd = fd;
        s_modes = modes;
        s_nReset = 0;
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        // An ignored signal stays ignored (a host started with nohup, say).
        struct sigaction cur {};
        s_bInt = ::sigaction(SIGINT, nullptr, &cur) == 0 && cur.sa_handler != SIG_IGN &&
                 ::sigaction(SIGINT, &sa, &s_oldInt) == 0;
        s_bTerm = ::sigaction(SIGTERM, nullptr, &cur) == 0 && cur.sa_handler != SIG_IGN &&
                  ::sigaction(SIGTERM, &sa, &s_oldTerm) == 0;
    }
    static void SetReset(const std::string& seq)
    {
        s_nReset = std::min(seq.size(), sizeof s_reset);
        std::memcpy(s_reset, seq.data(), s_nReset);
    }
    static void Remove()
    {
        if (s_bInt)
            ::sigaction(SIGINT, &s_oldInt, nullptr);
        if (s_bTerm)
            ::sigaction(SIGTERM, &s_oldTerm, nullptr);
        s_bInt = s_bTerm = false;
        s_nFd = -1;
    }
};

enum EPair : short { kPairDialog = 1, kPairField, kPairButton, kPairPane, kPairBox };

// The controlling terminal as an ncurses screen while the object lives.
class CTerminalScreen {
public:
    static std::unique_ptr<CTerminalScreen> Open()
    {
        PinLibraries();
        int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        termios modes{};
        std::FILE* fp = ::tcgetattr(fd, &modes) == 0 ? ::fdopen(fd, "r+") : nullptr;
        if (!fp) {
            ::close(fd);
            return nullptr;
        }
        // Before newterm: ncurses then leaves these signals to us.
        SSignalGuard::Install(fd, modes);
        const char* term = std::getenv("TERM");
        SCREEN* pScreen = ::newterm(term && *term ? term : nullptr, fp, fp);
        if (!pScreen) {
            SSignalGuard::Remove();
            std::fclose(fp);
            return nullptr;
        }
        return std::unique_ptr<CTerminalScreen>(new CTerminalScreen(fp, pScreen));
    }

    ~CTerminalScreen()
    {
        ::endwin();
        ::delscreen(m_pScreen);
        SSignalGuard::Remove();
        std::fclose(m_fp);
    }
    CTerminalScreen(const CTerminalScreen&) = delete;
    CTerminalScreen& operator=(const CTerminalScreen&) = delete;

    // The next key: bKey when it is a KEY_* code. False when the terminal has gone.
    bool ReadKey(wint_t& ch, bool& bKey)
    {
        for (int nErrors = 0; nErrors < 100; ++nErrors) {
            int r = ::wget_wch(stdscr, &ch);
            if (r != ERR) {
                bKey = r == KEY_CODE_YES;
                // An escape sequence that the terminal description does not know arrives as
                // Escape with the rest right behind it: it is dropped, not taken as Escape.
                if (!bKey && ch == 27 && DropPendingInput())
                    continue;
                return true;
            }
            pollfd p{::fileno(m_fp), POLLIN, 0};
            if (::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
                return false;
        }
        return false;
    }

    // After an Escape: reads the rest of a control sequence (ESC [ ... final, ESC O x) that is
    // waiting, and true if there was one; anything else is left for the next read.
    bool DropPendingInput()
    {
        ::nodelay(stdscr, TRUE);
        wint_t ch = 0;
        bool bSequence = false;
        int r = ::wget_wch(stdscr, &ch);
        if (r == OK && (ch == L'[' || ch == L'O')) {
            bSequence = true;
            const bool bCsi = ch == L'[';
            while ((r = ::wget_wch(stdscr, &ch)) == OK && bCsi && !(ch >= 0x40 && ch <= 0x7E)) {
            }
        } else if (r != ERR) {
            ::unget_wch(static_cast<wchar_t>(ch));
        }
        ::nodelay(stdscr, FALSE);
        return bSequence;
    }

    // Takes a new terminal size that no key has reported yet (during a run there is no key loop).
    void AdoptSize()
    {
        winsize ws{};
        if (::ioctl(::fileno(m_fp), TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0 &&
            (ws.ws_row != LINES || ws.ws_col != COLS))
            ::resize_term(ws.ws_row, ws.ws_col);
    }
    bool HasColors() const { return m_bColors; }
    // A colour pair for the pane from the dialog's colour answer.
    short PanePair(Color text, Color back)
    {
        if (!m_bColors)
            return 0;
        ::init_pair(kPairPane, Nearest(text), Nearest(back));
        return kPairPane;
    }

private:
    CTerminalScreen(std::FILE* fp, SCREEN* pScreen) : m_fp(fp), m_pScreen(pScreen)
    {
        ::set_term(pScreen);
        ::cbreak();
        ::noecho();
        ::nonl();
        ::keypad(stdscr, TRUE);
        ::set_escdelay(25);
        m_bColors = ::has_colors() && ::start_color() == OK;
        if (m_bColors) {
            ::init_pair(kPairDialog, COLOR_BLACK, COLOR_WHITE);
            ::init_pair(kPairField, COLOR_WHITE, COLOR_BLUE);
            ::init_pair(kPairButton, COLOR_BLACK, COLOR_WHITE);
            ::init_pair(kPairPane, COLOR_WHITE, COLOR_BLACK);
            ::init_pair(kPairBox, COLOR_BLACK, COLOR_CYAN);
        }
        std::string reset;
        for (const char* cap : {"rmcup", "cnorm", "sgr0", "rmkx"}) {
            const char* s = ::tigetstr(cap);
            if (s && s != reinterpret_cast<const char*>(-1))
                reset += s;
        }
        SSignalGuard::SetReset(reset);
    }
    // ncurses keeps a few tables for the life of the process that nothing can free. When the
    // module that uses it is unloaded, the library would go with it and those tables would be
    // lost memory; kept loaded, they stay reachable as in any program that uses ncurses.
    static void PinLibraries()
    {
        static const bool bPinned = [] {
            for (void* pSymbol :
                 {reinterpret_cast<void*>(&::newterm), reinterpret_cast<void*>(&::tigetstr)}) {
                Dl_info info{};
                if (::dladdr(pSymbol, &info) && info.dli_fname)
                    ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return true;
        }();
        (void)bPinned;
    }
    // The nearest of the eight basic colours to a 0x00BBGGRR colour.
    static short Nearest(Color c)
    {
        const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        return static_cast<short>((r >= 128 ? COLOR_RED : 0) | (g >= 128 ? COLOR_GREEN : 0) |
                                  (b >= 128 ? COLOR_BLUE : 0));
    }

    std::FILE* m_fp; // owns the descriptor of /dev/tty
    SCREEN* m_pScreen;
    bool m_bColors = false;
};

attr_t Pair(const CTerminalScreen& s, short pair)
{
    return s.HasColors() ? COLOR_PAIR(pair) : A_NORMAL;
}

void PutText(int y, int x, const std::wstring& text, int nMaxCells)
{
    if (y < 0 || y >= LINES)
        return;
    int nCells = 0;
    for (wchar_t c : text) {
        int w = CellWidth(c);
        if (nCells + w > nMaxCells)
            break;
        if (x + nCells >= 0 && x + nCells + w <= COLS) {
            wchar_t one[2] = {c < 0x20 ? L'?' : c, 0};
            ::mvaddnwstr(y, x + nCells, one, 1);
        }
        nCells += w;
    }
}

void Fill(int y, int x, int nRows, int nCols, attr_t attr)
{
    ::attrset(attr);
    for (int r = 0; r < nRows; ++r) {
        if (y + r < 0 || y + r >= LINES)
            continue;
        for (int c = std::max(0, x); c < std::min(COLS, x + nCols); ++c)
            ::mvaddch(y + r, c, ' ');
    }
}

// A frame with the caption in its top line: box-drawing characters where the locale can show
// them, else the terminal's line-drawing set.
void Frame(int y, int x, int nRows, int nCols, const std::u16string& caption, attr_t attr)
{
    Fill(y, x, nRows, nCols, attr);
    ::attrset(attr);
    const bool bUnicode = MB_CUR_MAX > 1;
    auto put = [bUnicode](int r, int c, wchar_t w, chtype acs) {
        if (r < 0 || r >= LINES || c < 0 || c >= COLS)
            return;
        if (bUnicode) {
            wchar_t one[2] = {w, 0};
            ::mvaddnwstr(r, c, one, 1);
        } else {
            ::mvaddch(r, c, acs);
        }
    };
    for (int c = x + 1; c < x + nCols - 1; ++c) {
        put(y, c, L'\u2500', ACS_HLINE);
        put(y + nRows - 1, c, L'\u2500', ACS_HLINE);
    }
    for (int r = y + 1; r < y + nRows - 1; ++r) {
        put(r, x, L'\u2502', ACS_VLINE);
        put(r, x + nCols - 1, L'\u2502', ACS_VLINE);
    }
    put(y, x, L'\u250C', ACS_ULCORNER);
    put(y, x + nCols - 1, L'\u2510', ACS_URCORNER);
    put(y + nRows - 1, x, L'\u2514', ACS_LLCORNER);
    put(y + nRows - 1, x + nCols - 1, L'\u2518', ACS_LRCORNER);
    ::attron(A_BOLD);
    PutText(y, x + 2, L" " + ToWide(caption) + L" ", nCols - 4);
    ::attroff(A_BOLD);
}

int TextCells(const std::wstring& t)
{
    int n = 0;
    for (wchar_t c : t)
        n += CellWidth(c);
    return n;
}

// A button's face: the default button in angle brackets, the others in square ones.
void DrawButton(const CTerminalScreen& s, int y, int x, int nCols, const std::u16string& text, bool bDefault,
                bool bFocus)
{
    std::wstring face = (bDefault ? L"< " : L"[ ") + ToWide(text) + (bDefault ? L" >" : L" ]");
    if (TextCells(face) > nCols) // narrow buttons lose the blanks inside the brackets
        face = (bDefault ? L"<" : L"[") + ToWide(text) + (bDefault ? L">" : L"]");
    int pad = std::max(0, (nCols - TextCells(face)) / 2);
    ::attrset(Pair(s, kPairButton) | (bFocus ? A_REVERSE : 0) | (bDefault ? A_BOLD : 0));
    PutText(y, x + pad, face, nCols);
}

class CTerminalUi;

class CTerminalDialog : public CModelDialog {
public:
    CTerminalDialog(CTerminalUi& ui, std::shared_ptr<SModelDialog> pState);
    std::intptr_t RunModal(CDialogEvents& events) override;
    // Draws the dialog into the screen's buffer; Show() brings it to the terminal.
    void Draw();

protected:
    bool Loop() override;

private:
    CTerminalUi& TerminalUi();
    void OnKey(wint_t ch, bool bKey);
    void EditKey(SModelControl& c, wint_t ch, bool bKey);
    void DrawControl(const SModelControl& c, int y0, int x0);
    void DrawPane(const SModelControl& c, int y, int x, int nRows, int nCols);
    void ScrollPane(int nLines);
    bool PaneVisible();

    std::map<int, int> m_mapScroll; // first shown character of each single-line field
    int m_nPaneTop = -1;            // first shown line of the pane; -1: follows the end
    int m_nPaneRows = 1, m_nPaneLines = 0;
    int m_nCursorY = -1, m_nCursorX = -1;
};

class CTerminalUi : public CModelUi {
public:
    std::unique_ptr<CDialogBackend> CreateDialogBackend(unsigned nIdTemplate,
                                                        platform::WindowId parent) override
    {
        if (!FindDialogTemplate(nIdTemplate))
            return nullptr;
        auto pState = std::make_shared<SModelDialog>();
        pState->nIdTemplate = nIdTemplate;
        pState->parent = parent;
        // Only the newest dialog is kept: a terminal has no use for the history of the model.
        m_dialogs.clear();
        m_dialogs.push_back(pState);
        return std::make_unique<CTerminalDialog>(*this, std::move(pState));
    }
    void ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon) override;
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

private:
    std::unique_ptr<CTerminalScreen> m_pScreen;
    int m_nUses = 0;
};

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
        wint_t ch = 0;
        bool bKey = false;
        if (!TerminalUi().Screen().ReadKey(ch, bKey))
            return false;
        OnKey(ch, bKey);
    }
    return true;
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

void CTerminalDialog::OnKey(wint_t ch, bool bKey)
{
    SModelDialog& d = State();
    SModelControl* pFocus = d.Find(d.nFocusId);
    const bool bEditFocus =
        pFocus && pFocus->kind == EControlKind::Edit && !(pFocus->nStyles & DialogStyle::Multiline);
    const bool bButtonFocus =
        pFocus && (pFocus->kind == EControlKind::PushButton || pFocus->kind == EControlKind::DefPushButton);
    if (bKey) {
        switch (ch) {
        case KEY_BTAB:
            Tab(true);
            break;
        case KEY_ENTER:
            PressEnter();
            break;
        case KEY_RESIZE:
            break; // drawn anew by the loop
        case KEY_PPAGE:
        case KEY_NPAGE:
        case KEY_UP:
        case KEY_DOWN:
            if (PaneVisible()) {
                const int nPage = std::max(1, m_nPaneRows - 1);
                ScrollPane(ch == KEY_PPAGE ? -nPage : ch == KEY_NPAGE ? nPage : ch == KEY_UP ? -1 : 1);
            }
            break;
        case KEY_HOME:
        case KEY_END:
            if (bEditFocus)
                EditKey(*pFocus, ch, true);
            else if (PaneVisible())
                ScrollPane(ch == KEY_HOME ? -m_nPaneLines : m_nPaneLines);
            break;
        default:
            if (bEditFocus)
                EditKey(*pFocus, ch, true);
        }
    } else if (ch == L'\t') {
        Tab(false);
    } else if (ch == L'\r' || ch == L'\n') {
        PressEnter();
    } else if (ch == 27) {
        PressEscape();
    } else if (ch == L' ' && bButtonFocus) {
        Click(pFocus->nId);
    } else if (bEditFocus) {
        EditKey(*pFocus, ch, false);
    }
    // The dialog manager selects a field's whole text when Tab brings the focus to it.
    if (SModelControl* pNew = d.Find(d.nFocusId);
        pNew && pNew != pFocus && pNew->kind == EControlKind::Edit) {
        pNew->nSelStart = 0;
        pNew->nSelEnd = static_cast<int>(pNew->strText.size());
    }
}

void CTerminalDialog::EditKey(SModelControl& c, wint_t ch, bool bKey)
{
    if (!c.bEnabled)
        return;
    SFieldText f{c.strText, c.nSelStart, c.nSelEnd, c.nLimitText};
    const bool bReadOnly = (c.nStyles & DialogStyle::ReadOnly) != 0;
    if (bKey) {
        EEditKey key;
        switch (ch) {
        case KEY_LEFT:
            key = EEditKey::Left;
            break;
        case KEY_RIGHT:
            key = EEditKey::Right;
            break;
        case KEY_HOME:
            key = EEditKey::Home;
            break;
        case KEY_END:
            key = EEditKey::End;
            break;
        case KEY_BACKSPACE:
            key = EEditKey::Backspace;
            break;
        case KEY_DC:
            key = EEditKey::Delete;
            break;
        default:
            return;
        }
        if (bReadOnly && (key == EEditKey::Backspace || key == EEditKey::Delete))
            return;
        ApplyEditKey(f, key);
    } else if (ch == 127 || ch == 8) {
        if (bReadOnly)
            return;
        ApplyEditKey(f, EEditKey::Backspace);
    } else if (ch >= 0x20 && !bReadOnly) {
        InsertChar(f, static_cast<char32_t>(ch));
    } else {
        return;
    }
    c.strText = std::move(f.strText);
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
    const SRect& r = c.rect;
    if (!c.bVisible || r.right - r.left <= 0 || r.bottom - r.top <= 0)
        return;
    const int y = y0 + r.top / kModelCharHeight, x = x0 + r.left / kModelCharWidth;
    const int nCols = std::max(1, (r.right - r.left) / kModelCharWidth);
    const int nRows = std::max(1, (r.bottom - r.top) / kModelCharHeight);
    const bool bFocus = State().nFocusId == c.nId;
    switch (c.kind) {
    case EControlKind::Static:
        ::attrset(Pair(s, kPairDialog) | (c.bEnabled ? 0 : A_DIM));
        PutText(y, x, ToWide(c.strText), nCols);
        break;
    case EControlKind::PushButton:
    case EControlKind::DefPushButton:
        DrawButton(s, y, x, nCols, c.strText, c.kind == EControlKind::DefPushButton, bFocus);
        if (bFocus) {
            m_nCursorY = y;
            m_nCursorX = x + nCols / 2;
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
    const std::vector<std::wstring> lines = WrapLines(c.strText, nText);
    m_nPaneRows = nRows;
    m_nPaneLines = static_cast<int>(lines.size());
    const int nMaxTop = std::max(0, m_nPaneLines - nRows);
    const int nTop = m_nPaneTop < 0 ? nMaxTop : std::min(m_nPaneTop, nMaxTop);
    ::attrset(attr);
    for (int i = 0; i < nRows && nTop + i < m_nPaneLines; ++i)
        PutText(y + i, x, lines[static_cast<size_t>(nTop + i)], nText);
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

// A box over the dialog: caption in the frame, lines of text, an OK button.
void CTerminalUi::ShowMessage(std::u16string_view text, std::u16string_view caption, EMessageIcon icon)
{
    CModelUi::ShowMessage(text, caption, icon);
    CUse use(*this);
    if (!use) {
        std::string line = platform::Utf16ToUtf8(caption) + ": " + platform::Utf16ToUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
        return;
    }
    const std::wstring sign = icon == EMessageIcon::Information ? L"(i) "
                              : icon == EMessageIcon::Warning   ? L"/!\\ "
                                                                : L"(X) ";
    std::vector<std::wstring> lines = WrapLines(text, 100000);
    for (;;) {
        int nWidth = 20;
        for (const std::wstring& l : lines)
            nWidth = std::max(nWidth, TextCells(l) + 4);
        nWidth = std::min(nWidth + 4, std::max(10, COLS));
        const int nHeight = std::min(static_cast<int>(lines.size()) + 4, std::max(5, LINES));
        const int y = std::max(0, (LINES - nHeight) / 2), x = std::max(0, (COLS - nWidth) / 2);
        DrawBackground();
        const attr_t attr = Pair(Screen(), kPairBox);
        Frame(y, x, nHeight, nWidth, std::u16string(caption), attr);
        ::attrset(attr | A_BOLD);
        PutText(y + 1, x + 2, sign, 4);
        ::attrset(attr);
        for (size_t i = 0; i < lines.size() && static_cast<int>(i) + 3 < nHeight; ++i)
            PutText(y + 1 + static_cast<int>(i), x + 6, lines[i], nWidth - 8);
        DrawButton(Screen(), y + nHeight - 2, x, nWidth, u"OK", true, true);
        ::move(y + nHeight - 2, x + nWidth / 2);
        ::curs_set(0);
        ::wnoutrefresh(stdscr);
        ::doupdate();
        wint_t ch = 0;
        bool bKey = false;
        if (!Screen().ReadKey(ch, bKey))
            return;
        if ((bKey && ch == KEY_ENTER) || (!bKey && (ch == L'\r' || ch == L'\n' || ch == L' ' || ch == 27)))
            return;
    }
}

// A path prompt: starts in the current folder, lists what matches the filter's first pattern,
// completes with Tab; Enter on a folder opens it, on anything else returns its full path.
bool CTerminalUi::ShowOpenFileDialog(const SOpenFileRequest& request, std::u16string& path)
{
    CModelUi::ShowOpenFileDialog(request, path); // recorded as in the model; its answer is ours
    CUse use(*this);
    if (!use)
        return false;
    const std::vector<SFilterEntry> filters = ParseFilter(request.strFilter);
    const std::string pattern = filters.empty() ? "*" : filters.front().strPattern;
    const std::wstring filterName = filters.empty() ? L"*" : ToWide(filters.front().strName);
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    SFieldText field{platform::Utf8ToUtf16(ec ? std::string("./") : cwd == "/" ? cwd : cwd + "/"), 0, 0};
    field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
    int nFirst = 0;
    for (;;) {
        const std::string typed = platform::Utf16ToUtf8(field.strText);
        const SPromptListing listing = ListCandidates(typed, pattern);
        const int nWidth = std::min(std::max(COLS - 4, 20), 76);
        const int nHeight = std::min(std::max(LINES - 2, 8), 20);
        const int y = std::max(0, (LINES - nHeight) / 2), x = std::max(0, (COLS - nWidth) / 2);
        DrawBackground();
        const attr_t attr = Pair(Screen(), kPairBox);
        Frame(y, x, nHeight, nWidth, u"Öffnen", attr);
        ::attrset(attr);
        PutText(y + 1, x + 2, L"Dateityp: " + filterName, nWidth - 4);
        // The path field.
        const std::wstring wide = ToWide(field.strText);
        const int nCaret = CharsBefore(field.strText, field.nCaret);
        const int nField = nWidth - 4;
        nFirst = ScrollToCaret(wide, nCaret, nFirst, nField);
        Fill(y + 2, x + 2, 1, nField, Pair(Screen(), kPairField) | (Screen().HasColors() ? 0 : A_UNDERLINE));
        PutText(y + 2, x + 2, wide.substr(static_cast<size_t>(nFirst)), nField);
        ::attrset(attr);
        const int nList = nHeight - 5;
        for (int i = 0; i < nList && i < static_cast<int>(listing.entries.size()); ++i) {
            std::wstring entry = ToWide(platform::Utf8ToUtf16(listing.entries[static_cast<size_t>(i)]));
            if (i == nList - 1 && static_cast<int>(listing.entries.size()) > nList)
                entry = L"...";
            PutText(y + 3 + i, x + 4, entry, nWidth - 6);
        }
        PutText(y + nHeight - 2, x + 2, L"Tab: ergänzen  Enter: öffnen  Esc: abbrechen", nWidth - 4);
        ::move(y + 2,
               x + 2 +
                   TextCells(wide.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCaret - nFirst))));
        ::curs_set(1);
        ::wnoutrefresh(stdscr);
        ::doupdate();

        wint_t ch = 0;
        bool bKey = false;
        if (!Screen().ReadKey(ch, bKey) || (!bKey && ch == 27))
            return false;
        if (!bKey && ch == L'\t') {
            field.strText = platform::Utf8ToUtf16(Complete(typed, pattern));
            field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
        } else if ((bKey && ch == KEY_ENTER) || (!bKey && (ch == L'\r' || ch == L'\n'))) {
            if (typed.empty())
                continue;
            if (std::filesystem::is_directory(typed, ec)) {
                std::string dir = ResolvePromptPath(typed, "");
                field.strText = platform::Utf8ToUtf16(dir.back() == '/' ? dir : dir + "/");
                field.nCaret = field.nAnchor = static_cast<int>(field.strText.size());
                continue;
            }
            path = platform::Utf8ToUtf16(ResolvePromptPath(typed, platform::Utf16ToUtf8(request.strDefExt)));
            return true;
        } else if (bKey) {
            switch (ch) {
            case KEY_LEFT:
                ApplyEditKey(field, EEditKey::Left);
                break;
            case KEY_RIGHT:
                ApplyEditKey(field, EEditKey::Right);
                break;
            case KEY_HOME:
                ApplyEditKey(field, EEditKey::Home);
                break;
            case KEY_END:
                ApplyEditKey(field, EEditKey::End);
                break;
            case KEY_BACKSPACE:
                ApplyEditKey(field, EEditKey::Backspace);
                break;
            case KEY_DC:
                ApplyEditKey(field, EEditKey::Delete);
                break;
            default:
                break;
            }
        } else if (ch == 127 || ch == 8) {
            ApplyEditKey(field, EEditKey::Backspace);
        } else if (ch >= 0x20) {
            InsertChar(field, static_cast<char32_t>(ch));
        }
    }
}
} // namespace

CUiBackend& DefaultUiBackend()
{
    static CTerminalUi ui;
    return ui;
}
} // namespace lvp
