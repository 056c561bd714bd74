// Times how long a line takes from the tool's line feed to the pane (links lvp_ui).
// Usage: time_linelatency FAKE_TOOL [LINES] [GAP_MS]; prints the median and the 90th percentile.
#include "bench/bench_run.h"
#include "fusion/command_line.h"
#include "platform/utf.h"
#include "ui/framework/model/dialog_state.h"
#include "ui/tool_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: time_linelatency FAKE_TOOL [LINES] [GAP_MS]\n");
        return 2;
    }
    const int nLines = argc > 2 ? std::atoi(argv[2]) : 200;
    const int nGap = argc > 3 ? std::atoi(argv[3]) : 7;
    // Lines come one by one with a gap, so that each finds the run waiting for the pipe.
    const std::u16string step =
        platform::Utf8ToUtf16("stamps:" + std::to_string(nLines) + ":" + std::to_string(nGap));
    lvp::SModelDialog dialog;
    lvp::SModelControl& control = dialog.controls.emplace_back(1011);
    control.pDialog = &dialog;
    std::vector<double> latencies; // milliseconds
    size_t nSeen = 0;
    dialog.onRepaint = [&] {
        // The pane is painted after each addition: every new "stamp T" line is one sample.
        const std::u16string& text = control.strText;
        const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count();
        for (size_t at = text.find(u"stamp ", nSeen); at != std::u16string::npos;
             at = text.find(u"stamp ", nSeen)) {
            size_t end = text.find(u'\n', at);
            if (end == std::u16string::npos)
                break;
            long long stamp = std::atoll(platform::Utf16ToUtf8(text.substr(at + 6, end - at - 6)).c_str());
            latencies.push_back((now - stamp) / 1e6);
            nSeen = end + 1;
        }
    };
    lvp::CEdit pane;
    pane.Attach(lvp::MakeModelBackend(control));
    lvp::RunAndShowOutput(
        pane, lvp::BuildToolCommand(platform::Utf8ToUtf16(argv[1]), BenchOutput(), 95, {step.c_str()}), BenchRun());
    pane.Detach();
    if (latencies.empty()) {
        std::fprintf(stderr, "no line reached the pane\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("line feed -> pane: %zu lines, %d ms apart: median %.3f ms, 90%% %.3f ms, max %.3f ms\n",
                latencies.size(), nGap, latencies[latencies.size() / 2], latencies[latencies.size() * 9 / 10],
                latencies.back());
    return latencies.size() == static_cast<size_t>(nLines) ? 0 : 1;
}
