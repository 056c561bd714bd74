// CCommandBuilder: a program and its arguments in both forms a process start takes, the Windows
// command line and the POSIX argument vector, written by one quoting rule.
#pragma once
#include "platform/process.h"

#include <string>
#include <string_view>

namespace lvp {
// Text to stand between double quotes on a Windows command line so that the C runtime and
// CommandLineToArgvW read it back unchanged: a run of backslashes before a quote, also before
// the closing one, is doubled, and a quote is escaped.
std::u16string QuotedArgumentText(std::u16string_view text);

class CCommandBuilder {
public:
    // The program is the command line's first token between double quotes, which the system
    // reads up to the next quote with no escapes: it is written as it is.
    explicit CCommandBuilder(std::u16string_view program);
    // An argument that the program reads back unchanged whatever it holds: ` "text"`, as
    // QuotedArgumentText writes it.
    CCommandBuilder& Quoted(std::u16string_view text);
    // A word without blanks or quotes, such as an option: ` word`, as it is.
    CCommandBuilder& Word(std::u16string_view word);
    // The command, to run in folder (empty: the caller's current folder).
    platform::SCommandLine Build(std::u16string folder = {}) const;

private:
    platform::SCommandLine m_command;
};
} // namespace lvp
