// What the timing programs hand the tool run: the real OS, the build's window system (for the
// wait cursor), and an output file in the temporary folder that the fake tool writes.
#pragma once
#include "platform/os.h"
#include "ui/framework/backend.h"
#include "ui/tool_run.h"

#include <filesystem>
#include <string>

inline const std::u16string& BenchOutput()
{
    static const std::u16string path =
        (std::filesystem::temp_directory_path() / "lvp_bench_out.jpg").u16string();
    return path;
}

inline lvp::SToolRun BenchRun()
{
    return {platform::RealOs(), lvp::DefaultUiBackend(), BenchOutput(), nullptr};
}
