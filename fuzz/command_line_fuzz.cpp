// Fuzz target: the fusion program's command line and argument vector from arbitrary values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fusion/command_line.h"
#include "fuzz/check.h"
#include "platform/os.h"
#include "platform/utf.h"

using lvp::fuzz::Check;

namespace {
// Reads a quoted argument the way the C runtime does, from just after its opening quote: a run of
// 2n backslashes before a quote gives n and the quote ends the argument, 2n+1 give n and a
// literal quote; other backslashes are literal. Returns the text and where the reading stopped.
std::u16string ReadQuoted(const std::u16string& s, size_t& pos)
{
    std::u16string out;
    while (pos < s.size()) {
        size_t n = 0;
        while (pos < s.size() && s[pos] == u'\\')
            ++n, ++pos;
        if (pos < s.size() && s[pos] == u'"') {
            out.append(n / 2, u'\\');
            ++pos;
            if (n % 2 == 0)
                return out; // the closing quote
            out += u'"';
        } else {
            out.append(n, u'\\');
            if (pos < s.size())
                out += s[pos++];
        }
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const uint32_t nQuality = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
    // The rest, split at zero bytes: program, output file, then the selection.
    std::vector<std::u16string> pieces;
    std::string current;
    for (size_t i = 4; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            pieces.push_back(platform::Utf8ToUtf16(current));
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    while (pieces.size() < 2)
        pieces.emplace_back();
    const std::vector<std::u16string> selection(pieces.begin() + 2, pieces.end());

    const platform::SCommandLine command = lvp::BuildToolCommand(pieces[0], pieces[1], nQuality, selection);
    std::u16string expected = u"\"" + pieces[0] + u"\" -o \"" + lvp::QuotedArgumentText(pieces[1]) +
                              u"\" --compression=" + platform::DecimalText(static_cast<int32_t>(nQuality));
    for (const std::u16string& path : selection)
        expected += u" \"" + lvp::QuotedArgumentText(path) + u"\"";
    Check(command.strCommandLine == expected, "command line");
    // Every quoted path reads back as itself, and its closing quote is the one written.
    for (const std::u16string& piece : pieces) {
        const std::u16string quoted = lvp::QuotedArgumentText(piece) + u"\"";
        size_t pos = 0;
        Check(ReadQuoted(quoted, pos) == piece && pos == quoted.size(), "quoted path reads back");
    }
    Check(command.args.size() == 4 + selection.size(), "argument count");
    Check(command.args[0] == pieces[0] && command.args[2] == pieces[1], "program and output arguments");
    for (size_t i = 0; i < selection.size(); ++i)
        Check(command.args[4 + i] == selection[i], "input argument");
    platform::RealOs().IsCommandLineTooLong(command);
    return 0;
}
