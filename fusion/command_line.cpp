// Builds the fusion program's command from its template, expanded once.
#include "fusion/command_line.h"

#include "platform/utf.h"

namespace lvp {
namespace {
// The command's words before the inputs, for every OS. %1 is the program, %2 the output file,
// %3 the quality.
constexpr std::u16string_view kCommandTemplate = u"\"%1\" -o \"%2\" --compression=%3";
// A focus stack: sharpness alone decides, and each pixel comes from the one sharpest photo (a
// blend of a sharp and a blurred pixel would be soft). Written out, not printed: no decimal comma.
constexpr std::u16string_view kFocusWords[] = {u"--exposure-weight=0", u"--saturation-weight=0",
                                               u"--contrast-weight=1", u"--hard-mask"};

struct SWord {
    std::u16string text;
    bool bQuoted;
};

// The template's words, split at the blanks outside quotes, each with %1, %2 and %3 replaced
// (what is inserted is not expanded again) and whether the template quotes it.
std::vector<SWord> ExpandedWords(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality)
{
    // The quality printed like a %d of the 32 bits: as a signed number.
    const std::u16string quality = platform::DecimalText(static_cast<std::int32_t>(nQuality));
    const std::u16string_view values[] = {strProgram, strOutputFile, quality};
    std::vector<SWord> words(1, SWord{{}, false});
    bool bInQuotes = false;
    for (size_t i = 0; i < kCommandTemplate.size(); ++i) {
        const char16_t c = kCommandTemplate[i];
        if (c == u'"') {
            bInQuotes = !bInQuotes;
            words.back().bQuoted = true;
        } else if (c == u' ' && !bInQuotes) {
            words.push_back({{}, false});
        } else if (c == u'%' && i + 1 < kCommandTemplate.size() && kCommandTemplate[i + 1] >= u'1' &&
                   kCommandTemplate[i + 1] <= u'3') {
            words.back().text.append(values[kCommandTemplate[++i] - u'1']);
        } else {
            words.back().text += c;
        }
    }
    return words;
}
} // namespace

std::u16string FormatCommandHead(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                 std::uint32_t nQuality)
{
    std::u16string head;
    for (const SWord& word : ExpandedWords(strProgram, strOutputFile, nQuality)) {
        if (!head.empty())
            head += u' ';
        head.append(word.bQuoted ? u"\"" : u"").append(word.text).append(word.bQuoted ? u"\"" : u"");
    }
    return head;
}

platform::SCommandLine BuildToolCommand(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                        std::uint32_t nQuality, const std::vector<std::u16string>& inputs,
                                        EFusionMode mode)
{
    const std::vector<SWord> words = ExpandedWords(strProgram, strOutputFile, nQuality);
    CCommandBuilder builder(words.front().text);
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i].bQuoted)
            builder.Quoted(words[i].text);
        else
            builder.Word(words[i].text);
    }
    if (mode == EFusionMode::Focus) {
        for (std::u16string_view word : kFocusWords)
            builder.Word(word);
    }
    for (const std::u16string& path : inputs)
        builder.Quoted(path);
    return builder.Build();
}

std::u16string BuildCommandLine(std::u16string_view strProgram, std::u16string_view strOutputFile,
                                std::uint32_t nQuality, const std::vector<std::u16string>& inputs,
                                EFusionMode mode)
{
    return BuildToolCommand(strProgram, strOutputFile, nQuality, inputs, mode).strCommandLine;
}

std::vector<std::u16string> BuildArgumentVector(std::u16string_view strProgram,
                                                std::u16string_view strOutputFile, std::uint32_t nQuality,
                                                const std::vector<std::u16string>& inputs, EFusionMode mode)
{
    return BuildToolCommand(strProgram, strOutputFile, nQuality, inputs, mode).args;
}
} // namespace lvp
