// Loads a string from the string table of the module that contains this code (never the host's).
#include "resources/strings.h"

#include "resources/win32/module_instance.h"

namespace lvp {
std::u16string LoadModuleString(unsigned id)
{
    // A string id has 16 bits; LoadStringW would take a larger one modulo 65536.
    if (id > 0xFFFF)
        return {};
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself,
    // so a text of any length is read whole.
    const wchar_t* text = nullptr;
    int length = LoadStringW(OwnModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length));
}
} // namespace lvp
