// Builds the fusion program's command line and argument vector.
#include "fusion/command_line.h"

#include "platform/utf.h"

namespace lvp {
namespace {
// The command's words before the inputs, for every OS: the command line starts with the template
// expanded, the argument vector with its words expanded and unquoted. %1 is the program, %2 the
// output file, %3 the quality.
constexpr std::u16string_view kCommandTemplate = u"\"%1\" -o \"%2\" --compression=%3";

struct SInserts {
    std::u16string_view program, output;
    std::u16string quality; // printed like a %d of the 32 bits: as a signed number
};

SInserts Inserts(std::u16string_view strProgram, std::u16string_view strOutputFile, std::uint32_t nQuality)
{
    return {strProgram, strOutputFile, platform::DecimalText(static_cast<std::int32_t>(nQuality))};
}

// The pattern with %1, %2 and %3 replaced; what is inserted is not expanded again.
std::u16string Expand(std::u16string_view pattern, const SInserts& inserts)
{
    const std::u16string_view values[] = {inserts.program, inserts.output, inserts.quality};
    std::u16string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'3')
            out.append(values[pattern[++i] - u'1']);
        else
            out += pattern[i];
    }
    return out;
}

// The template's words: split at the blanks outside quotes, without the quotes.
std::vector<std::u16string> TemplateWords()
{
    std::vector<std::u16string> words(1);
    bool bQuoted = false;
    for (char16_t c : kCommandTemplate) {
        if (c == u'"')
            bQuoted = !bQuoted;
        else if (c == u' ' && !bQuoted)
            words.emplace_back();
        else
            words.back() += c;
    }
    return words;
}

std::u16string_view Entry(const char16_t* path)
{
    return path ? std::u16string_view(path) : std::u16string_view();
}
} // namespace

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

void AppendQuotedArgument(std::u16string& line, std::u16string_view text)
{
    line += u" \"";
    line += QuotedArgumentText(text);
    line += u'"';
}

std::u16string FormatCommandHead(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality)
{
    return Expand(kCommandTemplate, Inserts(strProgram, strOutputFile, nQuality));
}

std::u16string BuildCommandLine(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                std::uint32_t nQuality, const SelectionList& selection)
{
    // The program is the first token, which the system reads up to the next quote, with no
    // escapes; every other path is read back by the rules QuotedArgumentText follows.
    std::u16string line = FormatCommandHead(strProgram, QuotedArgumentText(strOutputFile), nQuality);
    for (const char16_t* path : selection)
        AppendQuotedArgument(line, Entry(path));
    return line;
}

std::vector<std::u16string> BuildArgumentVector(std::u16string_view strProgram,
                                                std::u16string_view strOutputFile, std::uint32_t nQuality,
                                                const SelectionList& selection)
{
    const SInserts inserts = Inserts(strProgram, strOutputFile, nQuality);
    std::vector<std::u16string> args;
    for (const std::u16string& word : TemplateWords())
        args.push_back(Expand(word, inserts));
    for (const char16_t* path : selection)
        args.emplace_back(Entry(path));
    return args;
}

platform::SCommandLine BuildToolCommand(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                        std::uint32_t nQuality, const SelectionList& selection)
{
    return {BuildCommandLine(strProgram, strOutputFile, nQuality, selection),
            BuildArgumentVector(strProgram, strOutputFile, nQuality, selection), {}};
}
} // namespace lvp
