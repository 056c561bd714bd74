// The run of the fusion program with its output shown live in the output pane.
#pragma once
#include "platform/process.h"
#include "ui/framework/edit.h"

namespace lvp {
// Clears the pane, starts the program and adds each line of its output at the end of the pane
// as soon as the line is complete, then a line break and message 109; returns when the
// output has ended. A program that cannot be started leaves the pane empty; a command line
// that is too long shows message 110 instead. The process is not waited for.
void RunAndShowOutput(CEdit& editOutput, const platform::SCommandLine& command);
} // namespace lvp
