// Run by dialog_screenshots.sh under Wine: the fusion dialog waits in each of its three states
// (Editing, Running, Finished) until the script has taken its picture.
#include "platform/utf.h"
#include "resources/ids.h"
#include "tests/support/laid_out_folder.h"
#include "tests/ui/win32/dialog_driver.h"
#include "ui/framework/win32/win32_wnd.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
using namespace dialog_test;

std::string g_strDir; // the script's folder for the handshake files, as Windows names it

std::filesystem::path ShotFile(const std::string& name)
{
    return std::filesystem::u8path(g_strDir + "\\" + name);
}

// Paints the whole dialog, tells the script where it is, and waits until the picture is taken.
void Pose(HWND hDlg, const std::string& state)
{
    RedrawWindow(hDlg, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(hDlg, &r);
    std::ofstream(ShotFile(state + ".ready"))
        << (r.right - r.left) << 'x' << (r.bottom - r.top) << '+' << r.left << '+' << r.top << '\n';
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    // Waiting for messages is what makes Wine copy the painted window to the X server, so wait
    // that way, and paint only.
    while (!std::filesystem::exists(ShotFile(state + ".go")) && std::chrono::steady_clock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_PAINT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

TEST(DialogOnScreen, EditingRunningFinished)
{
    const char* dir = std::getenv("LVP_SHOT_DIR");
    ASSERT_NE(dir, nullptr);
    g_strDir = dir;
    const std::u16string udir = platform::Utf8ToUtf16(g_strDir);
    // The alignment first, as align_image_stack reports it, with a pause about half way through
    // the run (the second photo remapped) for the picture; then what enfuse writes.
    std::vector<std::u16string> steps = {
        u"align:out:align_image_stack: loading images, 3 of 3\\r\\n",
        u"align:out:Creating control points between IMG_4711.JPG and IMG_4712.JPG\\r\\n",
        u"align:out:Creating control points between IMG_4712.JPG and IMG_4713.JPG\\r\\n",
        u"align:out:Optimizing Variables\\r\\n",
        u"align:out:loading IMG_4711.JPG\\r\\n",
        u"align:out:remapping IMG_4711.JPG\\r\\n",
        u"align:out:saving aligned0000.tif\\r\\n",
        u"align:out:loading IMG_4712.JPG\\r\\n",
        u"align:out:remapping IMG_4712.JPG\\r\\n",
        u"align:out:saving aligned0001.tif\\r\\n",
        u"align:touch:" + udir + u"\\running.ready",
        u"align:wait:" + udir + u"\\running.go",
        u"align:out:loading IMG_4713.JPG\\r\\n",
        u"align:out:remapping IMG_4713.JPG\\r\\n",
        u"align:out:saving aligned0002.tif\\r\\n",
        u"align:out:Written aligned images to files with prefix aligned\\r\\n",
        u"out:enfuse: info: loading next image: C:\\\\Bilder\\\\Serie\\\\IMG_4711.JPG 1/1\\r\\n",
        u"out:enfuse: info: loading next image: C:\\\\Bilder\\\\Serie\\\\IMG_4712.JPG 1/1\\r\\n",
        u"out:enfuse: info: loading next image: C:\\\\Bilder\\\\Serie\\\\IMG_4713.JPG 1/1\\r\\n",
        u"err:enfuse: warning: image has no EXIF data\\r\\n",
        u"out:Generating Gaussian pyramid, level 1 of 9\\r\\n",
        u"out:Collapsing Laplacian pyramid\\r\\n",
        u"out:enfuse: info: writing C:\\\\Bilder\\\\Serie\\\\IMG_4711-IMG_4713.JPG\\r\\n",
    };
    // Where a Windows user's enfuse and align_image_stack would be, and the series' folder: laid
    // out in the prefix for the picture, and gone with the test.
    const CLaidOutFolder hugin(u"C:\\Program Files\\Hugin"), pictures(u"C:\\Bilder");
    ASSERT_TRUE(hugin.IsLaidOut()) << "the prefix holds a C:\\Program Files\\Hugin of its own";
    ASSERT_TRUE(pictures.IsLaidOut()) << "the prefix holds a C:\\Bilder of its own";
    CDriver driver;
    lvp::CTempWnd owner(lvp::DefaultUiBackend(), lvp::ToWindowId(driver.Owner()));
    // The selection is the series' three photos; the fake tool reads its script from a file.
    std::vector<std::u16string> selection;
    for (const char16_t* name : {u"IMG_4711.JPG", u"IMG_4712.JPG", u"IMG_4713.JPG"})
        selection.push_back(u"C:\\Bilder\\Serie\\" + std::u16string(name));
    const std::string script = g_strDir + "\\script.txt";
    {
        std::ofstream out(std::filesystem::u8path(script), std::ios::binary);
        for (const auto& s : steps)
            out << platform::Utf16ToUtf8(s) << '\n';
    }
    ASSERT_TRUE(SetEnvironmentVariableA("LVP_FAKE_TOOL_SCRIPT", script.c_str()));
    lvp::CSampleDlg dlg(platform::RealOs(), lvp::DefaultUiBackend(), &selection, &owner);
    // The fake tool as both programs.
    const std::u16string program = u"C:\\Program Files\\Hugin\\bin\\enfuse.exe";
    const std::u16string align = u"C:\\Program Files\\Hugin\\bin\\align_image_stack.exe";
    ASSERT_TRUE(std::filesystem::create_directory(hugin.path() / "bin"));
    for (const std::u16string* pCopy : {&program, &align})
        ASSERT_TRUE(CopyFileW(reinterpret_cast<LPCWSTR>(platform::Utf8ToUtf16(LVP_FAKE_TOOL).c_str()),
                              reinterpret_cast<LPCWSTR>(pCopy->c_str()), FALSE));
    dlg.m_strEnfusePath = program;
    dlg.m_bAlignImages = true;
    ASSERT_TRUE(std::filesystem::create_directory(pictures.path() / "Serie"));
    for (const std::u16string& photo : selection)
        std::ofstream(std::filesystem::path(photo), std::ios::binary) << "photo\n";
    dlg.m_strOutputFile = u"C:\\Bilder\\Serie\\IMG_4711-IMG_4713.JPG";
    dlg.m_nJpegQuality = 95;
    driver.m_steps = {[](HWND hDlg) {
                          Pose(hDlg, "editing");
                          Click(hDlg, lvp::IDC_OK);
                      },
                      [](HWND hDlg) {
                          Pose(hDlg, "finished");
                          Click(hDlg, lvp::IDC_OK);
                      }};
    EXPECT_EQ(dlg.DoModal(), lvp::kIdOk);
    EXPECT_EQ(dlg.m_editOutput.GetWindowId(), nullptr);
    SetEnvironmentVariableA("LVP_FAKE_TOOL_SCRIPT", nullptr);
}
} // namespace
