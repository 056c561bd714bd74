// lvphost's entry point on Linux: UTF-8 arguments to UTF-16.
#include "host/lvphost.h"
#include "platform/utf.h"

int main(int argc, char** argv)
{
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(platform::Utf8ToUtf16(argv[i]));
    return lvp::host::RunHost(args);
}
