// Holds Wine's desktop for the length of a test run: the desktop process is then started by this
// program, with its null standard handles, and never inherits a test's output pipe (which kept
// CTest waiting for that pipe long after the test itself had ended).
#include "platform/win32/windows_prelude.h"

int wmain()
{
    ::GetDesktopWindow(); // attaches to the desktop, starting its process if need be
    ::Sleep(INFINITE);    // ended by the Wine server's shutdown at the end of the run
    return 0;
}
