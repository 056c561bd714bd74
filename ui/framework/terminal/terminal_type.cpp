// Whether ncurses knows a terminal type: apart from the screen code, as <term.h> defines macros
// (lines, columns, ...) that would rename its names.
#include "ui/framework/terminal/terminal_screen.h"

#include <term.h>

namespace lvp::terminal {
bool IsKnownTerminalType(const char* term, int fd)
{
    int nError = 0;
    if (::setupterm(term, fd, &nError) != OK)
        return false;
    ::del_curterm(cur_term); // only the answer was wanted: newterm makes its own
    return true;
}
} // namespace lvp::terminal
