// Starting a program: exactly the file that args[0] names starts, wherever the program runs;
// a bare name is refused, however PATH and the current folder would complete it.
#include "platform/real_os.h"
#include "platform/utf.h"
#include "tests/support/file_util.h"
#ifndef _WIN32
#include "tests/platform/posix/scoped_env.h"
#endif

#include <gtest/gtest.h>

namespace {
using platform::RealOs;

// The file that the program started from args[0] in folder says it runs from (the fake tool's
// "self" step); empty when nothing started, with strError the reason.
std::string StartedFile(const std::u16string& program, const std::u16string& folder, std::u16string& strError)
{
    const platform::SCommandLine command{u"\"" + program + u"\" self", {program, u"self"}, folder};
    platform::CPipeReadEnd pipe;
    platform::CProcess process = RealOs().StartProcessWithPipe(command, pipe, strError);
    if (!process)
        return {};
    std::string out;
    char buffer[512];
    size_t nRead = 0;
    while (RealOs().ReadPipe(pipe, buffer, sizeof buffer, nRead, 1000) != platform::EPipeRead::End)
        out.append(buffer, nRead);
    int nExitCode = -1;
    EXPECT_TRUE(RealOs().WaitForExit(process, 10000, nExitCode));
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

TEST(StartProcessWithPipe, StartsExactlyTheFileNamed)
{
    TempDir dir;
    const fs::path fake = fs::u8path(LVP_FAKE_TOOL);
    const std::u16string exe = fake.extension().u16string(); // ".exe" on Windows
    const fs::path sub = dir.path() / "sub", tool = sub / (u"tool" + exe);
    fs::create_directories(sub);
    fs::create_directories(dir.path() / "elsewhere");
    fs::copy_file(fake, tool);
    fs::copy_file(fake, dir.path() / (u"tool" + exe)); // a bare name's file in the current folder
#ifdef _WIN32
    // Beside another copy named with ".exe", which a search that appends it would start.
    const fs::path noExtension = sub / "noext";
    fs::copy_file(fake, noExtension);
    fs::copy_file(fake, sub / "noext.exe");
#endif
    ScopedCurrentFolder cwd(dir.path());
#ifndef _WIN32
    // The folder on PATH, and the current folder as an empty entry (execvp would try both).
    ScopedEnv path("PATH", sub.string() + "::/usr/bin:/bin");
#endif
    const std::u16string sep(1, RealOs().PathSeparator());
    struct Case {
        const char* name;
        std::u16string program, folder;
        fs::path started; // empty: refused
    } cases[] = {
        {"a full path", tool.u16string(), u"", tool},
        {"a relative path, run in another folder", u"sub" + sep + u"tool" + exe, dir.u16("elsewhere"), tool},
        {"a bare name, in the current folder and on PATH", u"tool" + exe, u"", {}},
#ifdef _WIN32
        {"a file without an extension: none is added", noExtension.u16string(), u"", noExtension},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string strError;
        const std::string started = StartedFile(c.program, c.folder, strError);
        if (c.started.empty()) {
            EXPECT_EQ(started, "");
            EXPECT_FALSE(strError.empty()) << "the system's reason";
            continue;
        }
        EXPECT_FALSE(started.empty()) << platform::Utf16ToUtf8(strError);
        EXPECT_TRUE(!started.empty() && fs::equivalent(fs::u8path(started), c.started)) << started;
    }
}
} // namespace
