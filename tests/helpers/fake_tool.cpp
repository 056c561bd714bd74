// A stand-in for the fusion program: each argument is a step of a small script (out:, err:,
// lines:, stamps:, wait:, touch:, sleep:, exit:, grandchild:, pidfile:, args, argshex, self,
// output, nooutput, ignoreterm, jpeg); other arguments are ignored. Like enfuse, it writes the file after
// "-o" when it ends with 0 (unless told "nooutput"); "output" writes it at once. The file holds a
// line of text, or with "jpeg" (or LVP_FAKE_TOOL_JPEG set) a real 16x16 JPEG with only a JFIF
// header, as enfuse writes one.
// Called with "-a PREFIX" it stands in for the alignment program: only the steps written
// "align:STEP" run, and when they end with 0 it writes PREFIX0000.tif, ... for the arguments
// after "-C" (not with "align:nofiles"), each holding "aligned:" and its argument. Standing in
// for enfuse, it takes an argument naming such a file for the argument written into it, so a
// script survives the alignment. With LVP_FAKE_TOOL_SCRIPT naming a file, its lines are further
// steps after the arguments', so the arguments can be a plain selection of photos.
#include "tests/helpers/fake_tool.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {
// Decodes \n, \r, \t, \0, \\ and \xHH.
std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 't')
            out += '\t';
        else if (c == '0')
            out += '\0';
        else if (c == 'x' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

// A baseline grey JPEG of 16x16 pixels (ImageMagick's, stripped): SOI, JFIF, tables, one scan.
const unsigned char kSmallJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00,
    0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x0d, 0x09, 0x0a,
    0x0b, 0x0a, 0x08, 0x0d, 0x0b, 0x0a, 0x0b, 0x0e, 0x0e, 0x0d, 0x0f, 0x13, 0x20, 0x15,
    0x13, 0x12, 0x12, 0x13, 0x27, 0x1c, 0x1e, 0x17, 0x20, 0x2e, 0x29, 0x31, 0x30, 0x2e,
    0x29, 0x2d, 0x2c, 0x33, 0x3a, 0x4a, 0x3e, 0x33, 0x36, 0x46, 0x37, 0x2c, 0x2d, 0x40,
    0x57, 0x41, 0x46, 0x4c, 0x4e, 0x52, 0x53, 0x52, 0x32, 0x3e, 0x5a, 0x61, 0x5a, 0x50,
    0x60, 0x4a, 0x51, 0x52, 0x4f, 0xff, 0xc0, 0x00, 0x0b, 0x08, 0x00, 0x10, 0x00, 0x10,
    0x01, 0x01, 0x11, 0x00, 0xff, 0xc4, 0x00, 0x16, 0x00, 0x01, 0x01, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x06,
    0xff, 0xc4, 0x00, 0x16, 0x10, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x15, 0x62, 0xff, 0xda, 0x00, 0x08,
    0x01, 0x01, 0x00, 0x00, 0x3f, 0x00, 0x8c, 0xb2, 0x42, 0xc9, 0x36, 0x4b, 0x24, 0x2c,
    0x93, 0xff, 0xd9,
};

// Writes the output file named by the argument after "-o"; false when there is none.
bool WriteOutput(const std::vector<std::string>& args)
{
    const bool bJpeg =
        std::getenv("LVP_FAKE_TOOL_JPEG") || std::find(args.begin(), args.end(), "jpeg") != args.end();
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "-o") {
            std::ofstream out(std::filesystem::u8path(args[i + 1]), std::ios::binary);
            if (bJpeg)
                out.write(reinterpret_cast<const char*>(kSmallJpeg), sizeof kSmallJpeg);
            else
                out << "fused by the fake tool\n";
            return static_cast<bool>(out);
        }
    }
    return false;
}

void Write(std::FILE* f, const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
}

bool Starts(const std::string& s, const char* prefix, std::string& rest)
{
    std::string p(prefix);
    if (s.compare(0, p.size(), p) != 0)
        return false;
    rest = s.substr(p.size());
    return true;
}

// The value after option; empty when it is not there.
std::string OptionValue(const std::vector<std::string>& args, const char* option)
{
    auto it = std::find(args.begin(), args.end(), option);
    return it == args.end() || it + 1 == args.end() ? std::string() : *(it + 1);
}

constexpr char kAligned[] = "aligned:";

// The steps of the script: for the alignment those written "align:STEP"; for enfuse the
// arguments, an aligned image standing for the argument it was made from.
std::vector<std::string> Steps(const std::vector<std::string>& args, bool bAlign)
{
    std::vector<std::string> steps;
    for (const std::string& arg : args) {
        std::string v;
        if (bAlign) {
            if (Starts(arg, "align:", v))
                steps.push_back(v);
            continue;
        }
        std::ifstream in(std::filesystem::u8path(arg), std::ios::binary);
        std::string content;
        if (in && std::getline(in, content) && Starts(content, kAligned, v))
            steps.push_back(v);
        else
            steps.push_back(arg);
    }
    if (const char* script = std::getenv("LVP_FAKE_TOOL_SCRIPT")) {
        std::ifstream in(std::filesystem::u8path(script), std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::string v;
            if (Starts(line, "align:", v) == bAlign)
                steps.push_back(bAlign ? v : line);
        }
    }
    return steps;
}

// The alignment's images, one for each argument after "-C".
bool WriteAligned(const std::vector<std::string>& args, const std::string& prefix)
{
    auto it = std::find(args.begin(), args.end(), "-C");
    for (int n = 0; it != args.end() && ++it != args.end(); ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%04d", n);
        std::ofstream out(std::filesystem::u8path(prefix + number + ".tif"), std::ios::binary);
        out << kAligned << *it << "\n";
        if (!out)
            return false;
    }
    return true;
}

int Run(const std::vector<std::string>& args, const std::vector<std::string>& steps, bool bAlign);
} // namespace

int main(int argc, char** argv)
{
    fake_tool::SetBinaryOutput();
    const std::vector<std::string> args = fake_tool::Arguments(argc, argv);
    const std::string prefix = OptionValue(args, "-a");
    if (prefix.empty())
        return Run(args, Steps(args, false), false);
    const std::vector<std::string> steps = Steps(args, true);
    const int nCode = Run(args, steps, true);
    if (nCode != 0 || std::find(steps.begin(), steps.end(), "nofiles") != steps.end())
        return nCode;
    return WriteAligned(args, prefix) ? 0 : 1;
}

namespace {
// Runs the steps; the exit code. Standing in for enfuse, the output is written at the end.
int Run(const std::vector<std::string>& args, const std::vector<std::string>& steps, bool bAlign)
{
    // Standing in under the host: the argument vector goes to a file (the alignment's with
    // ".align" appended), one argument a line, and a little output to the pipe.
    if (const char* record = std::getenv("LVP_FAKE_TOOL_ARGS")) {
        std::ofstream out(std::filesystem::u8path(std::string(record) + (bAlign ? ".align" : "")), std::ios::binary);
        for (const std::string& a : args)
            out << a << '\n';
        const std::string name = bAlign ? "align_image_stack (fake): " : "enfuse (fake): ";
        Write(stdout, name + std::to_string(args.size()) + " arguments\r\n");
        if (!bAlign)
            Write(stderr, "enfuse (fake): warning: nothing fused\r\n");
    }
    for (const std::string& arg : steps) {
        std::string v;
        if (Starts(arg, "out:", v)) {
            Write(stdout, Unescape(v));
        } else if (Starts(arg, "err:", v)) {
            Write(stderr, Unescape(v));
        } else if (Starts(arg, "lines:", v)) {
            // Lines of 100 bytes each, line feed included.
            std::string all;
            for (int i = 0, n = std::atoi(v.c_str()); i < n; ++i) {
                char line[128];
                std::snprintf(line, sizeof line, "%08d %090d\n", i, 0);
                all += line;
            }
            Write(stdout, all);
        } else if (Starts(arg, "stamps:", v)) {
            // stamps:N:MS: N lines "stamp T", MS milliseconds apart, T the steady clock in
            // nanoseconds when the line is written (the reader's clock is the same one).
            int n = std::atoi(v.c_str());
            size_t colon = v.find(':');
            int ms = colon == std::string::npos ? 0 : std::atoi(v.c_str() + colon + 1);
            for (int i = 0; i < n; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                auto t = std::chrono::steady_clock::now().time_since_epoch();
                long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(t).count();
                Write(stdout, "stamp " + std::to_string(ns) + "\n");
            }
        } else if (Starts(arg, "wait:", v)) {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!std::filesystem::exists(std::filesystem::u8path(v))) {
                if (std::chrono::steady_clock::now() > until) {
                    Write(stdout, "timeout\n");
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        } else if (Starts(arg, "touch:", v)) {
            std::ofstream(std::filesystem::u8path(v)).put('x');
        } else if (Starts(arg, "sleep:", v)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(v.c_str())));
        } else if (Starts(arg, "exit:", v)) {
            return std::atoi(v.c_str());
        } else if (Starts(arg, "pidfile:", v)) {
            std::ofstream(std::filesystem::u8path(v)) << fake_tool::ProcessId() << "\n";
        } else if (arg == "self") {
            Write(stdout, fake_tool::OwnFile() + "\n"); // which of several copies runs
        } else if (arg == "output") {
            WriteOutput(args);
        } else if (arg == "ignoreterm") {
            fake_tool::IgnoreTermination();
        } else if (Starts(arg, "grandchild:", v)) {
            if (!fake_tool::StartGrandchild(std::atoi(v.c_str())))
                Write(stdout, "grandchild failed\n");
        } else if (arg == "args" || arg == "argshex") {
            for (const std::string& a : args) {
                std::string line;
                if (arg == "args") {
                    line = a;
                } else {
                    for (unsigned char c : a) {
                        char hex[3];
                        std::snprintf(hex, sizeof hex, "%02X", c);
                        line += hex;
                    }
                }
                Write(stdout, line + "\n");
            }
        }
    }
    if (std::find(steps.begin(), steps.end(), "nooutput") == steps.end())
        WriteOutput(args);
    return 0;
}
} // namespace
