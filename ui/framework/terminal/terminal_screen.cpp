// The terminal screen: /dev/tty under ncurses, its keys and signals, and the drawing helpers.
#include "ui/framework/terminal/terminal_screen.h"

#include "platform/posix/running_group.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/message_box.h"
#include "ui/framework/terminal/terminal_text.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include <dlfcn.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lvp::terminal {
namespace {
// When SIGHUP, SIGINT, SIGQUIT or SIGTERM ends the process while a screen is open, the running
// tool's group is killed and the terminal restored. Only async-signal-safe calls: the saved
// modes go back and a prepared reset sequence is written, then the signal's earlier action runs.
struct SSignalGuard {
    static constexpr int kSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
    static constexpr size_t kCount = std::size(kSignals);
    static inline int s_nFd = -1;
    static inline termios s_modes{};
    static inline char s_reset[256]{};
    static inline size_t s_nReset = 0;
    static inline struct sigaction s_old[kCount]{};
    static inline bool s_bInstalled[kCount]{};

    static void OnSignal(int sig)
    {
        platform::posix::KillRunningGroupFromSignal();
        if (s_nFd >= 0) {
            ::tcsetattr(s_nFd, TCSANOW, &s_modes);
            [[maybe_unused]] ssize_t n = ::write(s_nFd, s_reset, s_nReset);
        }
        for (size_t i = 0; i < kCount; ++i) {
            if (kSignals[i] == sig)
                ::sigaction(sig, &s_old[i], nullptr);
        }
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
        for (size_t i = 0; i < kCount; ++i) {
            // An ignored signal stays ignored (a host started with nohup, say).
            struct sigaction cur {};
            s_bInstalled[i] = ::sigaction(kSignals[i], nullptr, &cur) == 0 && cur.sa_handler != SIG_IGN &&
                              ::sigaction(kSignals[i], &sa, &s_old[i]) == 0;
        }
    }
    static void SetReset(const std::string& seq)
    {
        s_nReset = std::min(seq.size(), sizeof s_reset);
        std::memcpy(s_reset, seq.data(), s_nReset);
    }
    static void Remove()
    {
        for (size_t i = 0; i < kCount; ++i) {
            if (s_bInstalled[i])
                ::sigaction(kSignals[i], &s_old[i], nullptr);
            s_bInstalled[i] = false;
        }
        s_nFd = -1;
    }
};

// The one table of keys: what ncurses reports (a KEY_* code, or a character) as the key it is.
struct SKeyCode {
    bool bKeyCode; // a KEY_* code, not a character
    wint_t code;
    EKey key;
};
const SKeyCode kKeyTable[] = {
    {true, KEY_ENTER, EKey::Enter},   {false, L'\r', EKey::Enter},     {false, L'\n', EKey::Enter},
    {false, 27, EKey::Escape},        {false, L'\t', EKey::Tab},       {true, KEY_BTAB, EKey::BackTab},
    {true, KEY_LEFT, EKey::Left},     {true, KEY_RIGHT, EKey::Right},  {true, KEY_UP, EKey::Up},
    {true, KEY_DOWN, EKey::Down},     {true, KEY_PPAGE, EKey::PageUp}, {true, KEY_NPAGE, EKey::PageDown},
    {true, KEY_HOME, EKey::Home},     {true, KEY_END, EKey::End},      {true, KEY_BACKSPACE, EKey::Backspace},
    {false, 127, EKey::Backspace},    {false, 8, EKey::Backspace},     {true, KEY_DC, EKey::Delete},
    {true, KEY_RESIZE, EKey::Resize},
};

SKey ToKey(wint_t ch, bool bKeyCode)
{
    for (const SKeyCode& k : kKeyTable) {
        if (k.bKeyCode == bKeyCode && k.code == ch)
            return {k.key, 0};
    }
    if (!bKeyCode && ch >= 0x20)
        return {EKey::Char, static_cast<char32_t>(ch)};
    return {};
}

// Says on standard error why the dialog cannot be drawn: TERM unset (null) or unknown.
void ReportUnusableTerminal(const char* term)
{
    std::u16string text = term ? FormatModuleString(IDS_TERMINAL_UNKNOWN, platform::Utf8ToUtf16(term))
                               : LoadModuleString(IDS_TERMINAL_UNSET);
    const std::string line = platform::Utf16ToUtf8(MessageCaption() + u": " + text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
} // namespace

std::unique_ptr<CTerminalScreen> CTerminalScreen::Open()
{
    PinLibraries();
    // The controlling terminal itself ("e": not inherited by the tool the dialog runs).
    platform::CFile tty(std::fopen("/dev/tty", "r+e"));
    termios modes{};
    if (!tty || ::tcgetattr(::fileno(tty.Get()), &modes) != 0)
        return nullptr;
    // The terminal's description is looked up first: newterm does not say why it fails, and
    // keeps what it allocated for a terminal it does not know.
    const char* term = std::getenv("TERM");
    if (term != nullptr && *term == '\0')
        term = nullptr; // set but empty: as unset
    if (term == nullptr || !IsKnownTerminalType(term, ::fileno(tty.Get()))) {
        ReportUnusableTerminal(term);
        return nullptr;
    }
    // Before newterm: ncurses then leaves these signals to us.
    SSignalGuard::Install(::fileno(tty.Get()), modes);
    SCREEN* pScreen = ::newterm(term, tty.Get(), tty.Get());
    if (!pScreen) {
        SSignalGuard::Remove();
        return nullptr;
    }
    return std::unique_ptr<CTerminalScreen>(new CTerminalScreen(std::move(tty), pScreen));
}

CTerminalScreen::~CTerminalScreen()
{
    ::endwin();
    ::delscreen(m_pScreen);
    SSignalGuard::Remove();
}

bool CTerminalScreen::ReadKey(SKey& key)
{
    for (int nErrors = 0; nErrors < 100; ++nErrors) {
        wint_t ch = 0;
        int r = ::wget_wch(stdscr, &ch);
        if (r != ERR) {
            const bool bKey = r == KEY_CODE_YES;
            // An escape sequence that the terminal description does not know arrives as
            // Escape with the rest right behind it: it is dropped, not taken as Escape.
            if (!bKey && ch == 27 && DropPendingInput())
                continue;
            key = ToKey(ch, bKey);
            return true;
        }
        pollfd p{::fileno(m_file.Get()), POLLIN, 0};
        if (::poll(&p, 1, 0) < 0 || (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
            return false;
    }
    return false;
}

bool CTerminalScreen::PollKey(SKey& key)
{
    ::nodelay(stdscr, TRUE);
    wint_t ch = 0;
    const int r = ::wget_wch(stdscr, &ch);
    ::nodelay(stdscr, FALSE);
    if (r == ERR)
        return false;
    const bool bKey = r == KEY_CODE_YES;
    key = !bKey && ch == 27 && DropPendingInput() ? SKey{} : ToKey(ch, bKey); // unknown sequences: no key
    return true;
}

bool CTerminalScreen::DropPendingInput()
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

void CTerminalScreen::AdoptSize()
{
    winsize ws{};
    if (::ioctl(::fileno(m_file.Get()), TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0 &&
        (ws.ws_row != LINES || ws.ws_col != COLS))
        ::resize_term(ws.ws_row, ws.ws_col);
}

short CTerminalScreen::PanePair(Color text, Color back)
{
    if (!m_bColors)
        return 0;
    ::init_pair(kPairPane, Nearest(text), Nearest(back));
    return kPairPane;
}

CTerminalScreen::CTerminalScreen(platform::CFile file, SCREEN* pScreen)
    : m_file(std::move(file)), m_pScreen(pScreen)
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
void CTerminalScreen::PinLibraries()
{
    static const bool bPinned = [] {
        for (void* pSymbol : {reinterpret_cast<void*>(&::newterm), reinterpret_cast<void*>(&::tigetstr)}) {
            Dl_info info{};
            if (::dladdr(pSymbol, &info) && info.dli_fname)
                ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
        }
        return true;
    }();
    (void)bPinned;
}

// The nearest of the eight basic colours to a 0x00BBGGRR colour.
short CTerminalScreen::Nearest(Color c)
{
    const unsigned r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    return static_cast<short>((r >= 128 ? COLOR_RED : 0) | (g >= 128 ? COLOR_GREEN : 0) |
                              (b >= 128 ? COLOR_BLUE : 0));
}

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
} // namespace lvp::terminal
