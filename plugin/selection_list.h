// The selection list: full paths of the selected images in the host's order, owned by the host.
#pragma once
#include <vector>

namespace lvp {
using SelectionList = std::vector<const char16_t*>;
}
