// Loads a text of the module's own string table by id; an unknown id gives "".
#pragma once
#include <string>

namespace lvp {
std::u16string LoadModuleString(unsigned id);
}
