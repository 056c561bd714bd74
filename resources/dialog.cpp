// The dialog templates compiled in from resources/dialog.txt, the source of the .rc dialogs too.
#include "resources/dialog.h"

#include <algorithm>
#include <iterator>

namespace lvp {
namespace {
#include "resources/dialog_table.inc"
} // namespace

const SDialogTemplate* FindDialogTemplate(unsigned id)
{
    auto it = std::find_if(std::begin(kDialogs), std::end(kDialogs),
                           [id](const SDialogTemplate& d) { return d.id == id; });
    return it == std::end(kDialogs) ? nullptr : &*it;
}
} // namespace lvp
