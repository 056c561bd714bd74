// Large inputs with their outcome, time and peak memory: a settings file of many megabytes, a
// selection of thousands of files, a tool that writes 100 000 lines (links lvp_ui).
// Usage: time_large_inputs settings MEGABYTES [entries|value] FOLDER
//        time_large_inputs files COUNT FAKE_TOOL
//        time_large_inputs lines COUNT FAKE_TOOL
#include "bench/bench_run.h"
#include "fusion/command_line.h"
#include "platform/process.h"
#include "platform/utf.h"
#include "resources/strings.h"
#include "settings/settings_store.h"
#include "tests/support/store_peer.h"
#include "ui/framework/model/model_wnd.h"
#include "ui/tool_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/win32/windows_prelude.h"
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double PeakMegabytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
#endif
}

// A settings file of about megabytes MB: many entries of about 100 bytes, or one long value.
int Settings(long megabytes, bool oneValue, const fs::path& folder)
{
    const fs::path file = folder / "large_lvp_hdr.xml";
    const long long target = megabytes * 1048576LL;
    long long entries = 0;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Document>\r\n <Settings>\r\n";
        long long written = 0;
        if (oneValue) {
            out << "  <c Attr=\"Big\" Type=\"string\">";
            const std::string chunk(1 << 20, 'v');
            for (; written < target; written += static_cast<long long>(chunk.size()))
                out << chunk;
            out << "</c>\r\n";
            entries = 1;
        } else {
            char line[128];
            for (; written < target; ++entries) {
                const int n = std::snprintf(
                    line, sizeof line,
                    "  <c Attr=\"Key%011lld\" Type=\"string\">C:\\Tools\\enfuse\\%020lld.exe</c>\r\n",
                    entries, entries);
                out.write(line, n);
                written += n;
            }
        }
        out << " </Settings>\r\n</Document>\r\n";
    }
    const double fileMb = static_cast<double>(fs::file_size(file)) / 1048576.0;
    std::printf("settings file: %.0f MB, %lld entries, peak before loading %.0f MB\n", fileMb, entries,
                PeakMegabytes());
    Clock::time_point start = Clock::now();
    size_t nStrings = 0;
    double loadSeconds = 0;
    {
        lvp::CSettingsStore store;
        store.Load(file.u16string());
        loadSeconds = Seconds(start);
        nStrings = lvp::SSettingsStorePeer::StringMap(store).size();
        std::printf("load: %.2f s, %zu string entries kept, peak %.0f MB\n", loadSeconds, nStrings,
                    PeakMegabytes());
        start = Clock::now();
    } // saves the whole file back
    const double saveSeconds = Seconds(start);
    const double savedMb = static_cast<double>(fs::file_size(file)) / 1048576.0;
    std::printf("save at the end: %.2f s, %.0f MB written, peak %.0f MB\n", saveSeconds, savedMb,
                PeakMegabytes());
    fs::remove(file);
    return nStrings == static_cast<size_t>(entries) ? 0 : 1;
}

// Typical camera file names in one folder.
std::vector<std::u16string> Selection(long count)
{
    std::vector<std::u16string> paths;
    for (long i = 0; i < count; ++i) {
        char name[96];
        std::snprintf(name, sizeof name, "/home/anna/Bilder/2024-06 Belichtungsreihe/IMG_%05ld.JPG", i);
        paths.push_back(platform::Utf8ToUtf16(name));
    }
    return paths;
}

std::vector<std::u16string> WithFirst(const std::vector<std::u16string>& paths, const std::u16string& first)
{
    std::vector<std::u16string> selection{first};
    selection.insert(selection.end(), paths.begin(), paths.end());
    return selection;
}

// The selection given to the fake tool, which lists the arguments it received.
int Files(long count, const std::u16string& tool)
{
    const std::vector<std::u16string> paths = Selection(count);
    const std::u16string args = u"args";
    platform::SCommandLine command = lvp::BuildToolCommand(tool, BenchOutput(), 95, WithFirst(paths, args));
    std::printf("%ld files: command line %zu characters, refused as too long: %s\n", count,
                command.strCommandLine.size(),
                platform::RealOs().IsCommandLineTooLong(command) ? "yes" : "no");
    // The most files of that kind that this OS still starts.
    long low = 0, high = 1;
    while (!platform::RealOs().IsCommandLineTooLong(
        lvp::BuildToolCommand(tool, BenchOutput(), 95, WithFirst(Selection(high), args))))
        low = high, high *= 2;
    while (high - low > 1) {
        const long mid = (low + high) / 2;
        (platform::RealOs().IsCommandLineTooLong(
             lvp::BuildToolCommand(tool, BenchOutput(), 95, WithFirst(Selection(mid), args)))
             ? high
             : low) = mid;
    }
    std::printf("limit of this OS: %ld such files still run, %ld are refused\n", low, high);

    lvp::SModelControl control(1011);
    lvp::CEdit pane;
    pane.Attach(lvp::MakeModelBackend(control));
    const Clock::time_point start = Clock::now();
    lvp::RunAndShowOutput(pane, command, BenchRun());
    const double seconds = Seconds(start);
    const std::u16string refused = lvp::LoadModuleString(110);
    if (control.strText == refused) {
        std::printf("run: refused with message 110 (%.3f s): %s\n", seconds,
                    platform::Utf16ToUtf8(refused).c_str());
        return 0;
    }
    size_t lines = 0;
    for (char16_t c : control.strText)
        lines += c == u'\n' ? 1 : 0;
    std::printf("run: %.3f s, the tool listed %zu arguments\n", seconds, lines - 1);
    return lines == static_cast<size_t>(count) + 5 ? 0 : 1; // -o, output, quality, "args", the files
}

int Lines(long count, const std::u16string& tool)
{
    const std::u16string step = u"lines:" + platform::Utf8ToUtf16(std::to_string(count));
    lvp::SModelControl control(1011);
    lvp::CEdit pane;
    pane.Attach(lvp::MakeModelBackend(control));
    const Clock::time_point start = Clock::now();
    lvp::RunAndShowOutput(pane, lvp::BuildToolCommand(tool, BenchOutput(), 95, {step.c_str()}), BenchRun());
    const double seconds = Seconds(start);
    const std::u16string done = u"\r\n" + lvp::LoadModuleString(109);
    const bool whole = control.strText.size() == static_cast<size_t>(count) * 100 + done.size() &&
                       control.strText.ends_with(done);
    std::printf("%ld lines of 100 bytes: %.3f s, pane %zu characters, kept whole: %s, peak %.0f MB\n", count,
                seconds, control.strText.size(), whole ? "yes" : "no", PeakMegabytes());
    return whole ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "settings") == 0)
        return Settings(std::atol(argv[2]), std::strcmp(argv[3], "value") == 0, argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "files") == 0)
        return Files(std::atol(argv[2]), platform::Utf8ToUtf16(argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "lines") == 0)
        return Lines(std::atol(argv[2]), platform::Utf8ToUtf16(argv[3]));
    std::fprintf(stderr, "usage: time_large_inputs settings MEGABYTES entries|value FOLDER\n"
                         "       time_large_inputs files COUNT FAKE_TOOL\n"
                         "       time_large_inputs lines COUNT FAKE_TOOL\n");
    return 2;
}
