// One program run with its output passed on as it arrives: started, read to the end of its
// pipe, waited for; a stop ends it with everything it started.
#pragma once
#include "platform/os.h"

#include <string>

namespace lvp {
class CRunObserver;

enum class EProgramEnd { NotStarted, Stopped, Ended };
struct SProgramRun {
    EProgramEnd end = EProgramEnd::NotStarted;
    int nExitCode = -1;
    std::u16string strError; // NotStarted: the system's reason
    bool bOpenLine = false;  // the last text passed on has no line break
};

// The bytes of a line are converted together, so that characters of several bytes survive, and
// complete lines are passed on together: as soon as the program pauses, else every 100 ms (an
// edit control may take time in proportion to its whole text for every addition). The text after
// the last line break follows when the output ends (also when it is empty).
SProgramRun RunProgram(const platform::COs& os, CRunObserver& observer,
                       const platform::SCommandLine& command);
} // namespace lvp
