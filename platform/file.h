// CFile: the owner of one open stdio stream; every file open of the platform layer returns one.
// Header-only and the same on every OS (no implementation file).
#pragma once
#include "platform/scoped.h"

#include <cstdio>

namespace platform {
struct SFileTraits {
    using Type = std::FILE*;
    static std::FILE* Invalid() { return nullptr; }
    static bool IsValid(const std::FILE* f) { return f != nullptr; }
    static void Free(std::FILE* f) { (void)std::fclose(f); } // a close that fails has still closed
};

// Move-only; closes the stream on destruction unless Release gave it away.
class CFile : public CScoped<SFileTraits> {
public:
    using CScoped::CScoped;
    // Closes the stream (the stream is gone either way); false when fclose failed or none was open.
    bool Close()
    {
        std::FILE* file = Release();
        return file != nullptr && std::fclose(file) == 0;
    }
};
} // namespace platform
