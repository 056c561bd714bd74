// The fuzz targets' property check: a broken property names itself and ends the run.
#pragma once
#include <cstdio>
#include <cstdlib>

namespace lvp::fuzz {
// what: the property, as the report should name it.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}
} // namespace lvp::fuzz
