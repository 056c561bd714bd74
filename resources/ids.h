// Named ids of the module's strings, dialogs and controls, generated from strings.txt and dialog.txt.
#pragma once

namespace lvp {
// Plain enumerators, so an id is usable wherever an unsigned or an int is expected.
enum EResourceId : unsigned {
#include "resources/string_ids.inc"
#include "resources/dialog_ids.inc"
};
} // namespace lvp
