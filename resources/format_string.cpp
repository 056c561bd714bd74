// A text of the string table with its place holder filled in, by a text or a list of lines.
#include "resources/strings.h"

#include "platform/utf.h"
#include "resources/ids.h"

#include <cstdint>

namespace lvp {
std::u16string FormatModuleString(unsigned id, std::u16string_view arg)
{
    return FormatModuleStrings(id, {arg});
}

std::u16string FormatModuleStrings(unsigned id, std::initializer_list<std::u16string_view> args)
{
    const std::u16string text = LoadModuleString(id);
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        const size_t n = next >= u'1' && next <= u'9' ? static_cast<size_t>(next - u'1') : args.size();
        if (text[i] == u'%' && n < args.size()) {
            out.append(*(args.begin() + n));
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::u16string FormatModuleList(unsigned id, const std::vector<std::u16string>& lines)
{
    // A longer list gives its last place to the count of the rest.
    const size_t nShown = lines.size() <= kListShown ? lines.size() : kListShown - 1;
    std::u16string list;
    for (size_t i = 0; i < nShown; ++i) {
        if (i > 0)
            list.push_back(u'\n');
        list.append(lines[i]);
    }
    if (nShown < lines.size()) {
        const std::u16string count = platform::DecimalText(static_cast<std::int64_t>(lines.size() - nShown));
        if (!list.empty())
            list.push_back(u'\n');
        list.append(FormatModuleString(IDS_LIST_MORE, count));
    }
    return FormatModuleString(id, list);
}
} // namespace lvp
