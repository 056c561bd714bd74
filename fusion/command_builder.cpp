// The one quoting rule for arguments on a Windows command line, and the command built with it.
#include "fusion/command_builder.h"

namespace lvp {
std::u16string QuotedArgumentText(std::u16string_view text)
{
    std::u16string out;
    size_t nBackslashes = 0; // in a row just before the current character
    for (char16_t c : text) {
        if (c == u'"')
            out.append(nBackslashes + 1, u'\\'); // the run doubled, and the quote escaped
        nBackslashes = c == u'\\' ? nBackslashes + 1 : 0;
        out += c;
    }
    out.append(nBackslashes, u'\\'); // the closing quote follows
    return out;
}

CCommandBuilder::CCommandBuilder(std::u16string_view program)
{
    m_command.strCommandLine.assign(1, u'"').append(program).push_back(u'"');
    m_command.args.emplace_back(program);
}

CCommandBuilder& CCommandBuilder::Quoted(std::u16string_view text)
{
    m_command.strCommandLine.append(u" \"").append(QuotedArgumentText(text)).push_back(u'"');
    m_command.args.emplace_back(text);
    return *this;
}

CCommandBuilder& CCommandBuilder::Word(std::u16string_view word)
{
    m_command.strCommandLine.append(u" ").append(word);
    m_command.args.emplace_back(word);
    return *this;
}

platform::SCommandLine CCommandBuilder::Build(std::u16string folder) const
{
    platform::SCommandLine command = m_command;
    command.strFolder = std::move(folder);
    return command;
}
} // namespace lvp
