// lvphost's entry point on Windows: the UTF-16 command line as it is.
#include "host/lvphost.h"

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return lvp::host::RunHost(args);
}
