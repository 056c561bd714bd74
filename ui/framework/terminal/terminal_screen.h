// The controlling terminal as an ncurses screen, and the drawing helpers of the terminal
// rendition. Implemented by ui/framework/terminal/terminal_screen.cpp.
#pragma once
#include "platform/file.h"
#include "ui/framework/backend.h"
#include "ui/framework/terminal/terminal_text.h"

#include <cstdio>
#include <memory>
#include <string>

// Last, and without the macros that would rename std::move, erase and the like.
#define NCURSES_NOMACROS
#include <curses.h>

namespace lvp::terminal {
// ncurses has a description of the terminal type term (the terminal open on fd).
bool IsKnownTerminalType(const char* term, int fd);

enum EPair : short { kPairDialog = 1, kPairField, kPairButton, kPairPane, kPairBox };

// The controlling terminal (/dev/tty) as an ncurses screen while the object lives; SIGHUP,
// SIGINT, SIGQUIT and SIGTERM stop the running tool and restore the terminal before they end
// the process.
class CTerminalScreen {
public:
    // Null when there is no terminal.
    static std::unique_ptr<CTerminalScreen> Open();
    ~CTerminalScreen();
    CTerminalScreen(const CTerminalScreen&) = delete;
    CTerminalScreen& operator=(const CTerminalScreen&) = delete;

    // The next key. False when the terminal has gone.
    bool ReadKey(SKey& key);
    // A key that has arrived already, without waiting; false when none has.
    bool PollKey(SKey& key);
    // Takes a new terminal size that no key has reported yet (during a run there is no key loop).
    void AdoptSize();
    bool HasColors() const { return m_bColors; }
    // A colour pair for the pane from the dialog's colour answer.
    short PanePair(Color text, Color back);

private:
    CTerminalScreen(platform::CFile file, SCREEN* pScreen);
    // After an Escape: reads the rest of a control sequence (ESC [ ... final, ESC O x) that is
    // waiting, and true if there was one; anything else is left for the next read.
    bool DropPendingInput();
    static void PinLibraries();
    static short Nearest(Color c);

    platform::CFile m_file; // /dev/tty; closed after the screen has gone
    SCREEN* m_pScreen;
    bool m_bColors = false;
};

// The attribute of a colour pair, or none without colours.
attr_t Pair(const CTerminalScreen& s, short pair);
// Text at (y, x), at most nMaxCells cells, clipped to the screen.
void PutText(int y, int x, const std::wstring& text, int nMaxCells);
void Fill(int y, int x, int nRows, int nCols, attr_t attr);
// A frame with the caption in its top line: box-drawing characters where the locale can show
// them, else the terminal's line-drawing set.
void Frame(int y, int x, int nRows, int nCols, const std::u16string& caption, attr_t attr);
int TextCells(const std::wstring& t);
// A button's face: the default button in angle brackets, the others in square ones.
void DrawButton(const CTerminalScreen& s, int y, int x, int nCols, const std::u16string& text, bool bDefault,
                bool bFocus);
} // namespace lvp::terminal
