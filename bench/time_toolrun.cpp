// Times the tool run into an in-memory pane against a plain read of the same output (links lvp_ui).
// Usage: time_toolrun FAKE_TOOL [LINES]; the fake tool writes LINES lines of 100 bytes.
#include "bench/bench_run.h"
#include "fusion/command_line.h"
#include "platform/process.h"
#include "platform/utf.h"
#include "ui/framework/model/model_wnd.h"
#include "ui/tool_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: time_toolrun FAKE_TOOL [LINES]\n");
        return 2;
    }
    const int nLines = argc > 2 ? std::atoi(argv[2]) : 10000;
    const std::u16string step = u"lines:" + platform::Utf8ToUtf16(std::to_string(nLines));
    const platform::SCommandLine command =
        lvp::BuildToolCommand(platform::Utf8ToUtf16(argv[1]), BenchOutput(), 95, {step.c_str()});
    const platform::SCommandLine empty =
        lvp::BuildToolCommand(platform::Utf8ToUtf16(argv[1]), BenchOutput(), 95, {u"lines:0"});
    const double megabytes = nLines * 100.0 / 1e6;
    const int nRounds = 9;
    double bestPane = 1e9, bestRead = 1e9, bestStart = 1e9;
    size_t nPaneChars = 0, nReadBytes = 0;
    for (int round = 0; round < nRounds; ++round) {
        lvp::SModelControl control(1011);
        lvp::CEdit pane;
        pane.Attach(lvp::MakeModelBackend(control));
        Clock::time_point start = Clock::now();
        lvp::RunAndShowOutput(pane, command, BenchRun());
        bestPane = std::min(bestPane, Seconds(start));
        nPaneChars = control.strText.size();

        start = Clock::now();
        platform::CPipeReadEnd pipe;
        std::u16string strError;
        platform::CProcess process = platform::RealOs().StartProcessWithPipe(command, pipe, strError);
        std::string all;
        char buffer[16384];
        size_t n = 0;
        while (process &&
               platform::RealOs().ReadPipe(pipe, buffer, sizeof buffer, n, 1000) != platform::EPipeRead::End)
            all.append(buffer, n);
        bestRead = std::min(bestRead, Seconds(start));
        nReadBytes = all.size();

        // The cost of starting the tool and seeing its end, without output.
        start = Clock::now();
        platform::CPipeReadEnd emptyPipe;
        platform::CProcess emptyProcess = platform::RealOs().StartProcessWithPipe(empty, emptyPipe, strError);
        while (emptyProcess && platform::RealOs().ReadPipe(emptyPipe, buffer, sizeof buffer, n, 1000) !=
                                   platform::EPipeRead::End) {
        }
        bestStart = std::min(bestStart, Seconds(start));
    }
    std::printf("tool run into the pane: %d lines, %.2f MB, %zu characters: %.3f s, %.1f MB/s\n", nLines, megabytes,
                nPaneChars, bestPane, megabytes / bestPane);
    std::printf("plain read loop:        %zu bytes: %.3f s, %.1f MB/s\n", nReadBytes, bestRead, megabytes / bestRead);
    std::printf("start and end of the tool alone: %.3f s\n", bestStart);
    std::printf("ratio pane / plain read: %.2f; without the start: %.2f (best of %d)\n", bestPane / bestRead,
                (bestPane - bestStart) / std::max(bestRead - bestStart, 1e-6), nRounds);
    return nPaneChars > 0 && nReadBytes == static_cast<size_t>(nLines) * 100 ? 0 : 1;
}
