// The fusion dialog on real Win32 windows: posted input, answered boxes, the run with the fake tool.
#include "fusion/command_line.h"
#include "platform/utf.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/file_util.h"
#include "tests/support/search_os.h"
#include "tests/ui/win32/dialog_driver.h"
#include "ui/framework/win32/win32_wnd.h"
#include "ui/sample_dlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {
using namespace dialog_test;
using namespace lvp;

const std::u16string kFake = platform::Utf8ToUtf16(LVP_FAKE_TOOL);
// No program on PATH or in the prefix's program folders: a case without align_image_stack stays so.
const CSearchOs s_os;
constexpr int kInputControls[] = {IDC_PROGRAM_LABEL, IDC_BROWSE,        IDC_PROGRAM, IDC_OUTPUT_FILE_LABEL,
                                  IDC_OUTPUT_FILE,   IDC_QUALITY_LABEL, IDC_QUALITY};

RECT ScreenRect(HWND hWnd)
{
    RECT r{};
    GetWindowRect(hWnd, &r);
    return r;
}

bool IsCollapsed(HWND hWnd)
{
    RECT r = ScreenRect(hWnd);
    return r.right == r.left && r.bottom == r.top;
}

class Win32Dialog : public ::testing::Test {
protected:
    // The dialog with the values the command would give it, over the owner window; the output
    // file is in a folder of the test's own and does not exist yet.
    std::unique_ptr<CSampleDlg> MakeDialog(std::u16string strProgram, std::uint32_t nQuality = 80)
    {
        auto pDlg = std::make_unique<CSampleDlg>(s_os, DefaultUiBackend(), &m_selection, &m_owner);
        pDlg->m_strEnfusePath = std::move(strProgram);
        pDlg->m_strOutputFile = Output();
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(Output()), ec);
        pDlg->m_nJpegQuality = nQuality;
        return pDlg;
    }
    std::u16string Path(const char* name) const { return (m_dir / name).u16string(); }
    std::u16string Output() const { return Path("IMG_1-IMG_3.jpg"); }

    CDriver m_driver;
    CTempWnd m_owner{DefaultUiBackend(), ToWindowId(m_driver.Owner())};
    std::vector<std::u16string> m_selection;
    const TempDir m_temp;
    const std::filesystem::path m_dir = m_temp.path();
};

TEST_F(Win32Dialog, OpensWithValuesFocusAndCentredOverOwner)
{
    auto pDlg = MakeDialog(kFake);
    m_driver.m_steps = {[&](HWND hDlg) {
        EXPECT_EQ(WindowText(hDlg), u"Belichtungsreihen zusammenführen");
        EXPECT_EQ(ItemText(hDlg, IDC_PROGRAM), kFake);
        EXPECT_EQ(ItemText(hDlg, IDC_OUTPUT_FILE), Output());
        EXPECT_EQ(ItemText(hDlg, IDC_QUALITY), u"80");
        EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_PROGRAM));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(hDlg, IDC_OUTPUT_PANE)));
        EXPECT_TRUE(IsWindowVisible(hDlg));
        RECT dlg = ScreenRect(hDlg), owner = ScreenRect(m_driver.Owner());
        EXPECT_NEAR((dlg.left + dlg.right) / 2, (owner.left + owner.right) / 2, 1);
        EXPECT_NEAR((dlg.top + dlg.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
        PressKey(hDlg, VK_ESCAPE);
    }};
    EXPECT_EQ(pDlg->DoModal(), kIdCancel);
    EXPECT_TRUE(m_driver.m_boxes.empty());
}

// The pane answers both colour queries white on black with its own brush; other fields keep
// the system's colours.
TEST_F(Win32Dialog, PaneColoursFromTheControlColourAnswer)
{
    auto pDlg = MakeDialog(kFake);
    m_driver.m_steps = {[&](HWND hDlg) {
        struct Case {
            int nId;
            UINT msg;
            bool bOurs;
        } cases[] = {{IDC_OUTPUT_PANE, WM_CTLCOLORSTATIC, true},
                     {IDC_OUTPUT_PANE, WM_CTLCOLOREDIT, true},
                     {IDC_PROGRAM, WM_CTLCOLOREDIT, false}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.nId);
            HWND hControl = GetDlgItem(hDlg, c.nId);
            HDC hdc = GetDC(hControl);
            SetTextColor(hdc, RGB(1, 2, 3));
            SetBkColor(hdc, RGB(4, 5, 6));
            auto hBrush = reinterpret_cast<HBRUSH>(
                SendMessageW(hDlg, c.msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hControl)));
            LOGBRUSH lb{};
            bool bSolidBlack = hBrush && GetObjectW(hBrush, sizeof lb, &lb) == sizeof lb &&
                               lb.lbStyle == BS_SOLID && lb.lbColor == RGB(0, 0, 0);
            EXPECT_EQ(bSolidBlack, c.bOurs);
            EXPECT_EQ(GetTextColor(hdc) == RGB(255, 255, 255), c.bOurs);
            EXPECT_EQ(GetBkColor(hdc) == RGB(0, 0, 0), c.bOurs);
            ReleaseDC(hControl, hdc);
        }
        PressKey(hDlg, VK_ESCAPE);
    }};
    EXPECT_EQ(pDlg->DoModal(), kIdCancel);
}

// An OK press that does not run: what the user is shown, where the focus goes, what the fields hold.
TEST_F(Win32Dialog, OkPressesThatDoNotRun)
{
    const std::u16string missing = u"Z:\\nicht\\vorhanden\\enfuse.exe";
    struct Case {
        const char* name;
        std::u16string strProgram;
        std::u16string strQualityTyped; // empty: not typed
        int nButton;
        std::vector<std::string> events;
        std::vector<unsigned> boxTexts;
        int nFocusId; // 0: not checked
        std::u16string strProgramAfter;
    } cases[] = {
        {"missing program: 108, then the file dialog",
         missing,
         u"",
         IDC_OK,
         {"box", "file"},
         {IDS_PROGRAM_NOT_FOUND},
         0,
         kFake},
        {"quality without a number: warning, focus, selection",
         kFake,
         u"abc",
         IDC_OK,
         {"box"},
         {IDS_QUALITY_NOT_A_NUMBER},
         IDC_QUALITY,
         kFake},
        {"browse keeps what was typed into the other fields",
         missing,
         u"abc",
         IDC_BROWSE,
         {"file"},
         {},
         0,
         kFake},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDriver& driver = m_driver;
        driver.Reset();
        CSampleDlg dlg(s_os, DefaultUiBackend(), &m_selection, &m_owner);
        dlg.m_strEnfusePath = c.strProgram;
        dlg.m_strOutputFile = Output();
        driver.m_fileAnswers = {kFake};
        driver.m_steps = {[&](HWND hDlg) {
                              if (!c.strQualityTyped.empty())
                                  Type(hDlg, IDC_QUALITY, c.strQualityTyped);
                              Click(hDlg, c.nButton);
                          },
                          [&](HWND hDlg) {
                              EXPECT_EQ(driver.m_events, c.events);
                              ASSERT_EQ(driver.m_boxes.size(), c.boxTexts.size());
                              for (size_t i = 0; i < c.boxTexts.size(); ++i) {
                                  EXPECT_EQ(driver.m_boxes[i].strCaption, u"ui_dialog_tests"); // this program
                                  EXPECT_EQ(driver.m_boxes[i].strText, LoadModuleString(c.boxTexts[i]));
                                  EXPECT_TRUE(driver.m_boxes[i].bWarningIcon);
                              }
                              if (c.nFocusId) {
                                  EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, c.nFocusId));
                                  DWORD s = 1, e = 0;
                                  SendDlgItemMessageW(hDlg, c.nFocusId, EM_GETSEL,
                                                      reinterpret_cast<WPARAM>(&s),
                                                      reinterpret_cast<LPARAM>(&e));
                                  EXPECT_EQ(s, 0u);
                                  EXPECT_EQ(e, static_cast<DWORD>(ItemText(hDlg, c.nFocusId).size()));
                              }
                              EXPECT_EQ(ItemText(hDlg, IDC_PROGRAM), c.strProgramAfter);
                              if (!c.strQualityTyped.empty()) {
                                  EXPECT_EQ(ItemText(hDlg, IDC_QUALITY), c.strQualityTyped);
                              }
                              // Nothing ran: still Editing.
                              EXPECT_FALSE(IsWindowVisible(GetDlgItem(hDlg, IDC_OUTPUT_PANE)));
                              EXPECT_FALSE(IsCollapsed(GetDlgItem(hDlg, IDC_CANCEL)));
                              PressKey(hDlg, VK_ESCAPE);
                          }};
        EXPECT_EQ(dlg.DoModal(), kIdCancel);
        EXPECT_FALSE(dlg.m_bRunDone);
    }
}

// A portrait frame among landscape ones: OK names both sizes in a warning, nothing runs, the
// dialog stays in Editing.
TEST_F(Win32Dialog, PhotosOfDifferentSizesAreRefusedOnOk)
{
    std::vector<std::u16string> photos;
    for (const auto& [name, w, h] :
         {std::tuple{"IMG_1.JPG", 640, 480}, {"IMG_2.JPG", 640, 480}, {"IMG_3.JPG", 480, 640}}) {
        const metadata::test::Bytes bytes = metadata::test::MakeJpeg({}, uint16_t(w), uint16_t(h));
        std::ofstream(m_dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        photos.push_back(Path(name));
    }
    m_selection.clear();
    for (const std::u16string& photo : photos)
        m_selection.push_back(photo.c_str());
    auto pDlg = MakeDialog(kFake);
    m_driver.Reset();
    m_driver.m_steps = {
        [](HWND hDlg) { Click(hDlg, IDC_OK); },
        [&](HWND hDlg) {
            ASSERT_EQ(m_driver.m_boxes.size(), 1u);
            EXPECT_EQ(m_driver.m_boxes[0].strText,
                      FormatModuleList(IDS_PHOTOS_SIZES_DIFFER,
                                       {u"IMG_1.JPG: 640 \u00d7 480", u"IMG_3.JPG: 480 \u00d7 640"}));
            EXPECT_TRUE(m_driver.m_boxes[0].bWarningIcon);
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(hDlg, IDC_OUTPUT_PANE)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDlg, IDC_PROGRAM)));
            PressKey(hDlg, VK_ESCAPE);
        }};
    EXPECT_EQ(pDlg->DoModal(), kIdCancel);
    EXPECT_FALSE(pDlg->m_bRunDone);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(Output())));
}

// The first OK runs the fake tool and leaves the dialog Finished; then OK, Escape or the
// close button end it.
TEST_F(Win32Dialog, RunThenFinished)
{
    struct Case {
        const char* name;
        std::function<void(HWND)> end;
        std::intptr_t nResult;
    } cases[] = {
        {"OK", [](HWND hDlg) { Click(hDlg, IDC_OK); }, kIdOk},
        {"Enter", [](HWND hDlg) { PressKey(hDlg, VK_RETURN); }, kIdOk},
        {"Escape", [](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); }, kIdCancel},
        {"close button", [](HWND hDlg) { PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }, kIdCancel},
        // The user clicked into the pane to scroll it, then pressed a key.
        {"Enter in the pane",
         [](HWND hDlg) {
             SetFocus(GetDlgItem(hDlg, IDC_OUTPUT_PANE));
             PressKey(hDlg, VK_RETURN);
         },
         kIdOk},
        {"Escape in the pane",
         [](HWND hDlg) {
             SetFocus(GetDlgItem(hDlg, IDC_OUTPUT_PANE));
             PressKey(hDlg, VK_ESCAPE);
         },
         kIdCancel},
    };
    const std::u16string steps[] = {u"out:Zeile 1\\r\\n", u"err:Warnung: keine EXIF-Daten\\r\\n"};
    m_selection.assign({steps[0].c_str(), steps[1].c_str()});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pDlg = MakeDialog(kFake, 95);
        m_driver.Reset();
        m_driver.m_steps = {[](HWND hDlg) { Click(hDlg, IDC_OK); },
                            [&](HWND hDlg) {
                                HWND hPane = GetDlgItem(hDlg, IDC_OUTPUT_PANE);
                                EXPECT_TRUE(IsWindowVisible(hPane));
                                EXPECT_EQ(WindowText(hPane), u"Zeile 1\r\nWarnung: keine EXIF-Daten\r\n\r\n" +
                                                                 LoadModuleString(IDS_CLOSE_WITH_OK));
                                for (int nId : kInputControls) {
                                    SCOPED_TRACE(nId);
                                    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDlg, nId)));
                                    EXPECT_TRUE(IsCollapsed(GetDlgItem(hDlg, nId)));
                                }
                                HWND hCancel = GetDlgItem(hDlg, IDC_CANCEL);
                                EXPECT_TRUE(IsWindowEnabled(hCancel));
                                EXPECT_TRUE(IsCollapsed(hCancel));
                                HWND hOk = GetDlgItem(hDlg, IDC_OK);
                                EXPECT_TRUE(IsWindowVisible(hOk) && IsWindowEnabled(hOk) &&
                                            !IsCollapsed(hOk));
                                c.end(hDlg);
                            }};
        EXPECT_EQ(pDlg->DoModal(), c.nResult);
        EXPECT_TRUE(pDlg->m_bRunDone);
        EXPECT_EQ(pDlg->m_nJpegQuality, 95u);
        EXPECT_TRUE(m_driver.m_boxes.empty());
    }
}

// A handler's exception ends the modal loop and comes out of DoModal; it never unwinds
// through user32, and the dialog window is gone.
TEST_F(Win32Dialog, HandlerExceptionRethrownAfterModalLoop)
{
    class CThrowingDlg : public CDialog {
    public:
        CThrowingDlg(CWnd* pParent, bool bInInit)
            : CDialog(DefaultUiBackend(), IDD_FUSION, pParent), m_bInInit(bInInit)
        {
            OnClicked(IDC_BROWSE, [] { throw std::runtime_error("Durchsuchen"); });
        }

    protected:
        bool OnInitDialog() override
        {
            if (m_bInInit)
                throw std::runtime_error("OnInitDialog");
            return CDialog::OnInitDialog();
        }

    private:
        bool m_bInInit;
    };
    for (bool bInInit : {true, false}) {
        SCOPED_TRACE(bInInit ? "in OnInitDialog" : "in a command");
        HWND hSeen = nullptr;
        m_driver.m_steps = {[&](HWND hDlg) {
            hSeen = hDlg;
            Click(hDlg, IDC_BROWSE);
        }};
        CThrowingDlg dlg(&m_owner, bInInit);
        try {
            dlg.DoModal();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), bInInit ? "OnInitDialog" : "Durchsuchen");
        }
        EXPECT_EQ(hSeen == nullptr, bInInit);
        if (hSeen) {
            EXPECT_FALSE(IsWindow(hSeen));
        }
        EXPECT_EQ(FindWindowW(L"#32770", L"Belichtungsreihen zusammenführen"), nullptr);
        m_driver.m_steps.clear();
    }
}

// A tool silent for longer than the system's 5 seconds: the dialog is not marked as not
// responding, and the pane repaints while the run waits; any other message waits for the run's end.
TEST_F(Win32Dialog, SilentToolKeepsWindowResponsive)
{
    const std::u16string steps[] = {u"out:vorher\\r\\n", u"sleep:7000", u"out:nachher\\r\\n"};
    m_selection.assign({steps[0].c_str(), steps[1].c_str(), steps[2].c_str()});
    auto pDlg = MakeDialog(kFake, 95);
    std::atomic<bool> bStop{false};
    std::atomic<int> nHung{0}, nPainted{0}, nUnpainted{0};
    std::thread watcher;
    auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration runTime{};
    std::u16string paneAtAppMessage;
    HWND hDlgSeen = nullptr;
    m_driver.m_onAppMessage = [&] { paneAtAppMessage = ItemText(hDlgSeen, IDC_OUTPUT_PANE); };
    m_driver.m_steps = {[&](HWND hDlg) {
                            HWND hPane = GetDlgItem(hDlg, IDC_OUTPUT_PANE);
                            hDlgSeen = hDlg;
                            watcher = std::thread([&, hDlg, hPane] {
                                // Every second: invalidate the pane and see whether it was painted
                                // half a second later; sample the hung state meanwhile.
                                while (!bStop) {
                                    InvalidateRect(hPane, nullptr, TRUE);
                                    for (int i = 0; i < 5 && !bStop; ++i) {
                                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                        nHung += IsHungAppWindow(hDlg) ? 1 : 0;
                                    }
                                    if (bStop)
                                        break;
                                    (GetUpdateRect(hPane, nullptr, FALSE) ? nUnpainted : nPainted) += 1;
                                    if (nPainted + nUnpainted == 1) // the run has begun
                                        PostMessageW(m_driver.Owner(), WM_APP, 0, 0);
                                    for (int i = 0; i < 5 && !bStop; ++i) {
                                        std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                        nHung += IsHungAppWindow(hDlg) ? 1 : 0;
                                    }
                                }
                            });
                            start = std::chrono::steady_clock::now();
                            Click(hDlg, IDC_OK);
                        },
                        [&](HWND hDlg) {
                            runTime = std::chrono::steady_clock::now() - start;
                            bStop = true;
                            watcher.join();
                            EXPECT_NE(ItemText(hDlg, IDC_OUTPUT_PANE).find(u"nachher"), std::u16string::npos);
                            PressKey(hDlg, VK_ESCAPE);
                        }};
    EXPECT_EQ(pDlg->DoModal(), kIdCancel);
    if (watcher.joinable()) {
        bStop = true;
        watcher.join();
    }
    EXPECT_GE(runTime, std::chrono::seconds(7));
    EXPECT_NE(paneAtAppMessage.find(LoadModuleString(IDS_CLOSE_WITH_OK)), std::u16string::npos)
        << "handled mid-run: " << platform::Utf16ToUtf8(paneAtAppMessage);
    EXPECT_EQ(nHung, 0);
    EXPECT_GE(nPainted, 5);
    EXPECT_LE(nUnpainted, 1); // the last one may fall on the end of the run
}
// OK refuses, before anything runs, an output that is a selected photo (also by another name),
// that has no folder, or that exists and is not to be replaced (No is the default button).
TEST_F(Win32Dialog, OutputRefusals)
{
    const std::u16string photo = Path("x.jpg"), link = Path("verkn\u00fcpft.jpg"), existing = Path("e.jpg");
    std::filesystem::create_directories(m_dir / "folder");
    struct Case {
        const char* name;
        std::u16string output;
        std::deque<int> answers;
        unsigned nIdText;
        bool bRuns;
    } cases[] = {
        {"a selected photo", photo, {}, IDS_OUTPUT_IS_INPUT, false},
        {"in capitals", Path("X.JPG"), {}, IDS_OUTPUT_IS_INPUT, false},
        {"a hard link to it", link, {}, IDS_OUTPUT_IS_INPUT, false},
        {"a folder", Path("folder"), {}, IDS_OUTPUT_FOLDER_MISSING, false},
        {"a missing folder", Path("fehlt") + u"\\out.jpg", {}, IDS_OUTPUT_FOLDER_MISSING, false},
        {"exists, Enter: No is the default", existing, {}, IDS_OUTPUT_EXISTS, false},
        {"exists, No", existing, {IDNO}, IDS_OUTPUT_EXISTS, false},
        {"exists, Yes", existing, {IDYES}, IDS_OUTPUT_EXISTS, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::u16string& f : {photo, existing})
            std::ofstream(std::filesystem::path(f)) << "photo";
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(link), ec);
        std::filesystem::create_hard_link(std::filesystem::path(photo), std::filesystem::path(link));
        const std::u16string line = u"out:fertig\\r\\n";
        m_selection = {line.c_str(), photo.c_str()};
        auto pDlg = MakeDialog(kFake);
        pDlg->m_strOutputFile = c.output;
        m_driver.Reset();
        m_driver.m_boxAnswers = c.answers;
        bool bRan = false;
        m_driver.m_steps = {[](HWND hDlg) { Click(hDlg, IDC_OK); },
                            [&](HWND hDlg) {
                                bRan = IsWindowVisible(GetDlgItem(hDlg, IDC_OUTPUT_PANE)) != FALSE;
                                if (!bRan) {
                                    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_OUTPUT_FILE));
                                    DWORD s = 1, e = 0;
                                    SendDlgItemMessageW(hDlg, IDC_OUTPUT_FILE, EM_GETSEL,
                                                        reinterpret_cast<WPARAM>(&s),
                                                        reinterpret_cast<LPARAM>(&e));
                                    EXPECT_EQ(s, 0u);
                                    EXPECT_EQ(e, static_cast<DWORD>(c.output.size()));
                                }
                                PressKey(hDlg, VK_ESCAPE);
                            }};
        EXPECT_EQ(pDlg->DoModal(), kIdCancel);
        EXPECT_EQ(bRan, c.bRuns);
        EXPECT_EQ(pDlg->m_bRunDone, c.bRuns);
        ASSERT_EQ(m_driver.m_boxes.size(), 1u);
        const SBox& box = m_driver.m_boxes[0];
        const bool bQuestion = c.nIdText == IDS_OUTPUT_EXISTS;
        EXPECT_EQ(box.strText,
                  bQuestion ? FormatModuleString(c.nIdText, c.output) : LoadModuleString(c.nIdText));
        EXPECT_TRUE(box.bWarningIcon);
        EXPECT_EQ(box.bYesNo, bQuestion);
        std::ifstream in{std::filesystem::path(photo)};
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "photo");
    }
}

// A tool that fails: the pane says so before message 109, and the run is not a fusion.
TEST_F(Win32Dialog, FailedRunSaysWhy)
{
    const std::u16string steps[] = {u"out:Zeile\\r\\n", u"exit:3"};
    m_selection.assign({steps[0].c_str(), steps[1].c_str()});
    auto pDlg = MakeDialog(kFake, 95);
    std::u16string want = u"Zeile\r\n";
    want += FormatModuleString(IDS_TOOL_FAILED, u"3");
    want += u"\r\n\r\n";
    want += LoadModuleString(IDS_CLOSE_WITH_OK);
    m_driver.m_steps = {[](HWND hDlg) { Click(hDlg, IDC_OK); },
                        [&](HWND hDlg) {
                            EXPECT_EQ(ItemText(hDlg, IDC_OUTPUT_PANE), want);
                            Click(hDlg, IDC_OK);
                        }};
    EXPECT_EQ(pDlg->DoModal(), kIdOk);
    EXPECT_EQ(pDlg->m_outcome, ERunOutcome::Failed);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(Output())));
}

// The bar's window procedure while a test records the states it is told.
WNDPROC s_barProc = nullptr;
LRESULT s_nLastState = -1;
LRESULT CALLBACK StateRecorder(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == PBM_SETSTATE)
        s_nLastState = static_cast<LRESULT>(wParam);
    return CallWindowProcW(s_barProc, hWnd, msg, wParam, lParam);
}

// Bar 1016 on real windows: its class, style and place; hidden while editing; shown from the
// run's start with its position read back from another thread during the run (the dialog's
// thread answers between reads) and after it: at the end for a run that fused, left where it was
// in the error state for one that failed.
TEST_F(Win32Dialog, ProgressBarDuringAndAfterTheRun)
{
    const std::u16string load1 = u"err:enfuse: info: loading next image: a 1/2\\r\\n",
                         load2 = u"err:enfuse: info: loading next image: b 2/2\\r\\n", pause = u"sleep:600";
    struct Case {
        const char* name;
        std::vector<std::u16string> tool;
        bool bWhole;
        LRESULT nState;
    } cases[] = {
        {"fused", {load1, pause, load2, pause}, true, PBST_NORMAL},
        {"failed", {load1, pause, load2, pause, u"exit:2"}, false, PBST_ERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_selection.assign(c.tool.begin(), c.tool.end());
        auto pDlg = MakeDialog(kFake, 95);
        m_driver.Reset();
        std::atomic<bool> bStop{false};
        std::vector<LRESULT> seen; // written by the watcher alone until it is joined
        std::thread watcher;
        m_driver.m_steps = {
            [&](HWND hDlg) {
                HWND hBar = GetDlgItem(hDlg, IDC_PROGRESS);
                ASSERT_NE(hBar, nullptr);
                wchar_t name[32] = {};
                GetClassNameW(hBar, name, 32);
                EXPECT_EQ(std::wstring(name), L"msctls_progress32");
                const LONG_PTR style = GetWindowLongPtrW(hBar, GWL_STYLE);
                EXPECT_EQ(style & PBS_SMOOTH, PBS_SMOOTH);
                EXPECT_EQ(style & WS_TABSTOP, 0);
                RECT want{7, 142, 7 + 110, 142 + 10}, got = ScreenRect(hBar);
                MapDialogRect(hDlg, &want);
                MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&got), 2);
                EXPECT_TRUE(EqualRect(&want, &got));
                EXPECT_FALSE(IsWindowVisible(hBar));
                s_nLastState = -1;
                s_barProc = reinterpret_cast<WNDPROC>(
                    SetWindowLongPtrW(hBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StateRecorder)));
                watcher = std::thread([&, hBar] {
                    while (!bStop) {
                        DWORD_PTR nPos = 0;
                        if (SendMessageTimeoutW(hBar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 2000, &nPos))
                            seen.push_back(static_cast<LRESULT>(nPos));
                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    }
                });
                Click(hDlg, IDC_OK);
            },
            [&](HWND hDlg) {
                bStop = true;
                watcher.join();
                HWND hBar = GetDlgItem(hDlg, IDC_PROGRESS);
                EXPECT_TRUE(IsWindowVisible(hBar));
                const LRESULT nPos = SendMessageW(hBar, PBM_GETPOS, 0, 0);
                EXPECT_EQ(nPos == kProgressRange, c.bWhole) << nPos;
                // Wine's bar (as Windows' before common controls 6) keeps no state: what it was told.
                EXPECT_EQ(s_nLastState, c.nState);
                EXPECT_EQ(SendMessageW(hBar, PBM_GETRANGE, FALSE, 0), kProgressRange);
                ASSERT_FALSE(seen.empty());
                EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
                EXPECT_TRUE(std::any_of(seen.begin(), seen.end(),
                                        [](LRESULT n) { return n > 0 && n < kProgressRange; }));
                Click(hDlg, IDC_OK);
            }};
        EXPECT_EQ(pDlg->DoModal(), kIdOk);
        if (watcher.joinable()) {
            bStop = true;
            watcher.join();
        }
    }
}

// Escape, the close button or WM_CLOSE stop a tool that would never end; an Enter typed during
// the run is dropped, so the dialog waits in Finished for input of its own.
TEST_F(Win32Dialog, RunCanBeStoppedAndIgnoresTypeAhead)
{
    struct Case {
        const char* name;
        std::function<void(HWND)> stop;
    } cases[] = {
        {"Escape", [](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); }},
        {"close button", [](HWND hDlg) { PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](HWND hDlg) { PostMessageW(hDlg, WM_CLOSE, 0, 0); }},
    };
    const std::u16string steps[] = {u"out:laeuft\\r\\n", u"sleep:600000"};
    m_selection.assign({steps[0].c_str(), steps[1].c_str()});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pDlg = MakeDialog(kFake, 95);
        m_driver.Reset();
        std::thread user;
        std::u16string paneAtEnd;
        m_driver.m_steps = {[&](HWND hDlg) {
                                // The user waits for the first line, presses Enter, then stops.
                                user = std::thread([&c, hDlg] {
                                    for (int i = 0; i < 400 && ItemText(hDlg, IDC_OUTPUT_PANE).empty(); ++i)
                                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                    PressKey(hDlg, VK_RETURN);
                                    c.stop(hDlg);
                                });
                                Click(hDlg, IDC_OK);
                            },
                            [&](HWND hDlg) {
                                paneAtEnd = ItemText(hDlg, IDC_OUTPUT_PANE);
                                Click(hDlg, IDC_OK);
                            }};
        EXPECT_EQ(pDlg->DoModal(), kIdOk); // the Enter did not end it: the driver's OK did
        if (user.joinable())
            user.join();
        EXPECT_EQ(pDlg->m_outcome, ERunOutcome::Stopped);
        EXPECT_EQ(paneAtEnd, u"laeuft\r\n" + LoadModuleString(IDS_TOOL_STOPPED) + u"\r\n\r\n" +
                                 LoadModuleString(IDS_CLOSE_WITH_OK));
    }
}
// Names outside the ANSI code page reach programs with a narrow main() in forms they can open,
// enfuse alone and after align_image_stack (which gets the inputs as enfuse would); the output
// keeps its real name, the host gets it, and nothing else is left in the folder or the temporary
// folder (the aligned images included). A Latin-1 series reaches them with the arguments it
// always had.
TEST_F(Win32Dialog, AnyPathReachesANarrowProgram)
{
    ASSERT_EQ(GetACP(), 1252u) << "run with LANG=C.UTF-8";
    const std::u16string kNarrow = platform::Utf8ToUtf16(LVP_NARROW_TOOL);
    const std::u16string kNarrowHugin = platform::Utf8ToUtf16(LVP_NARROW_HUGIN_ENFUSE);
    const std::u16string record = Path("args.txt");
    SetEnvironmentVariableW(L"LVP_NARROW_TOOL_ARGS", reinterpret_cast<LPCWSTR>(record.c_str()));
    struct Case {
        const char* name;
        std::u16string folder, stem;
        bool bArgumentsAsGiven;
    } cases[] = {
        {"outside the page", u"Fotos \u5199\u771f", u"Bild \u5199\u771f ", false},
        {"a surrogate pair", u"\U0001F4F7 Serie", u"\U0001F600 ", false},
        {"Latin-1", u"Fotos \u00e4\u00f6\u00fc", u"Bild \u00e9 ", true},
    };
    char hexPid[9];
    std::snprintf(hexPid, sizeof hexPid, "%08x", static_cast<unsigned>(GetCurrentProcessId()));
    const std::u16string pid = platform::Utf8ToUtf16(hexPid);
    auto leftovers = [&pid] {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
            n += e.path().filename().u16string().starts_with(u"lvp_hdr-" + pid + u"-") ? 1 : 0;
        return n;
    };
    // What a program received, read back in its code page.
    auto received = [](const std::u16string& file) {
        std::ifstream argsFile{std::filesystem::path(file), std::ios::binary};
        std::string bytes(std::istreambuf_iterator<char>(argsFile), {});
        std::vector<std::u16string> args;
        for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = bytes.substr(start, end - start);
            std::u16string wide(line.size(), u'\0');
            wide.resize(static_cast<size_t>(
                MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                                    reinterpret_cast<wchar_t*>(wide.data()), static_cast<int>(wide.size()))));
            args.push_back(wide);
        }
        for (const std::u16string& arg : args)
            EXPECT_EQ(arg.find(u'?'), std::u16string::npos) << platform::Utf16ToUtf8(arg);
        return args;
    };
    for (const Case& c : cases) {
        for (const bool bAlign : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (bAlign ? ", aligned" : ""));
            const std::filesystem::path folder = m_dir / c.folder;
            std::filesystem::remove_all(folder);
            std::filesystem::create_directories(folder);
            std::vector<std::u16string> inputs;
            for (const char16_t* n : {u"1", u"2", u"3"}) {
                inputs.push_back((folder / (c.stem + n + u".JPG")).u16string());
                std::ofstream(std::filesystem::path(inputs.back())) << "image";
            }
            m_selection.assign({inputs[0].c_str(), inputs[1].c_str(), inputs[2].c_str()});
            const std::u16string output = (folder / (c.stem + u"1-" + c.stem + u"3.JPG")).u16string();
            auto pDlg = MakeDialog(bAlign ? kNarrowHugin : kNarrow, 95);
            pDlg->m_strOutputFile = output;
            pDlg->m_bAlignImages = true;
            std::u16string pane;
            m_driver.Reset();
            m_driver.m_steps = {[](HWND hDlg) { Click(hDlg, IDC_OK); },
                                [&](HWND hDlg) {
                                    pane = ItemText(hDlg, IDC_OUTPUT_PANE);
                                    Click(hDlg, IDC_OK);
                                }};
            EXPECT_EQ(pDlg->DoModal(), kIdOk);
            EXPECT_EQ(pDlg->m_outcome, ERunOutcome::Fused) << platform::Utf16ToUtf8(pane);
            EXPECT_EQ(pDlg->m_bAlignOffered, bAlign);
            EXPECT_EQ(pane.find(LoadModuleString(IDS_ALIGN_FAILED)), std::u16string::npos)
                << platform::Utf16ToUtf8(pane);
            EXPECT_TRUE(m_driver.m_boxes.empty());
            std::ifstream in{std::filesystem::path(output)};
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "3 images fused\n");
            in.close();
            size_t nInFolder = 0;
            for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
                ++nInFolder;
            EXPECT_EQ(nInFolder, 4u) << "the three photos and the fused picture";
            EXPECT_EQ(leftovers(), 0);
            const std::vector<std::u16string> fused = received(record);
            if (bAlign) {
                // The alignment got the photos after "-C", in their order; enfuse its images.
                const std::vector<std::u16string> aligning = received(record + u".align");
                ASSERT_GE(aligning.size(), 3u);
                const std::vector<std::u16string> photos(aligning.end() - 3, aligning.end());
                EXPECT_EQ(photos == inputs, c.bArgumentsAsGiven);
                ASSERT_GE(fused.size(), 3u);
                EXPECT_TRUE(fused.back().ends_with(u"0002.tif")) << platform::Utf16ToUtf8(fused.back());
            } else {
                std::vector<std::u16string> given = BuildArgumentVector(kNarrow, output, 95, m_selection);
                given.erase(given.begin()); // the program's own name
                EXPECT_EQ(fused == given, c.bArgumentsAsGiven);
            }
        }
    }
    SetEnvironmentVariableW(L"LVP_NARROW_TOOL_ARGS", nullptr);
}
} // namespace

namespace {
// Check box 1015 on real windows: enabled and checked beside the stand-in enfuse, disabled and
// unchecked without the program; a click turns it off. Checked, the run aligns first (enfuse
// then gets the stand-in's images in input order); a failed alignment asks, and Enter (Yes, the
// default) fuses unaligned. The box is disabled and collapsed for the run.
TEST_F(Win32Dialog, AlignBoxAndTheAlignedRun)
{
    const std::u16string hugin = platform::Utf8ToUtf16(LVP_FAKE_HUGIN_ENFUSE);
    struct Case {
        const char* name;
        const std::u16string* pProgram;
        std::vector<std::u16string> inputs;
        bool bClickOff, bEnabled;
        std::vector<std::u16string> inPane, notInPane;
        bool bAsked;
    } cases[] = {
        {"aligned",
         &hugin,
         {u"out:A\\r\\n", u"align:out:richte aus\\r\\n", u"args"},
         false,
         true,
         {u"richte aus\r\nA\r\n", u"aligned0000.tif", u"aligned0002.tif"},
         {LoadModuleString(IDS_ALIGN_FAILED)},
         false},
        {"alignment failed, Enter is Yes",
         &hugin,
         {u"out:A\\r\\n", u"align:exit:1"},
         false,
         true,
         {LoadModuleString(IDS_ALIGN_FAILED) + u"\r\n" + LoadModuleString(IDS_ALIGN_UNALIGNED) +
          u"\r\nA\r\n"},
         {},
         true},
        {"turned off: the fusion alone",
         &hugin,
         {u"out:A\\r\\n", u"align:out:X\\r\\n"},
         true,
         true,
         {u"A\r\n"},
         {u"X"},
         false},
        {"no program beside enfuse",
         &kFake,
         {u"out:A\\r\\n", u"align:out:X\\r\\n"},
         false,
         false,
         {u"A\r\n"},
         {u"X"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_selection.clear();
        for (const std::u16string& input : c.inputs)
            m_selection.push_back(input.c_str());
        auto pDlg = MakeDialog(*c.pProgram, 95);
        pDlg->m_bAlignImages = true;
        m_driver.Reset();
        m_driver.m_steps = {
            [&](HWND hDlg) {
                HWND hBox = GetDlgItem(hDlg, IDC_ALIGN_IMAGES);
                EXPECT_EQ(WindowText(hBox), u"Bilder vor dem Zusammenführen ausrichten");
                EXPECT_EQ(IsWindowEnabled(hBox) != FALSE, c.bEnabled);
                EXPECT_EQ(SendMessageW(hBox, BM_GETCHECK, 0, 0), c.bEnabled ? BST_CHECKED : BST_UNCHECKED);
                if (c.bClickOff)
                    Click(hDlg, IDC_ALIGN_IMAGES);
            },
            [&](HWND hDlg) {
                if (c.bClickOff) {
                    EXPECT_EQ(SendDlgItemMessageW(hDlg, IDC_ALIGN_IMAGES, BM_GETCHECK, 0, 0), BST_UNCHECKED);
                }
                Click(hDlg, IDC_OK);
            },
            [&](HWND hDlg) {
                const std::u16string pane = ItemText(hDlg, IDC_OUTPUT_PANE);
                for (const std::u16string& text : c.inPane)
                    EXPECT_NE(pane.find(text), std::u16string::npos) << platform::Utf16ToUtf8(pane);
                for (const std::u16string& text : c.notInPane)
                    EXPECT_EQ(pane.find(text), std::u16string::npos) << platform::Utf16ToUtf8(pane);
                HWND hBox = GetDlgItem(hDlg, IDC_ALIGN_IMAGES);
                EXPECT_FALSE(IsWindowEnabled(hBox));
                EXPECT_TRUE(IsCollapsed(hBox));
                Click(hDlg, IDC_OK);
            }};
        EXPECT_EQ(pDlg->DoModal(), kIdOk);
        EXPECT_EQ(pDlg->m_outcome, ERunOutcome::Fused);
        EXPECT_EQ(pDlg->m_bAlignOffered, c.bEnabled);
        EXPECT_EQ(pDlg->m_bAlignImages, !c.bClickOff);
        ASSERT_EQ(m_driver.m_boxes.size(), c.bAsked ? 1u : 0u);
        if (c.bAsked) {
            EXPECT_EQ(m_driver.m_boxes[0].strText, LoadModuleString(IDS_ALIGN_ASK_UNALIGNED));
            EXPECT_TRUE(m_driver.m_boxes[0].bYesNo);
        }
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(Output())));
    }
}
} // namespace

namespace {
// List 1017 on real windows: a COMBOBOX drop-down list right after the quality field in tab
// order, with both kinds of series as items and the given one selected; the arrow keys choose,
// and the choice is read back after OK and gives the run its options. The list and its label are
// disabled and collapsed for the run.
TEST_F(Win32Dialog, KindOfSeriesList)
{
    // The fake's lines as the pane shows them, without their carriage returns.
    const std::u16string focus = u"--compression=95\n--exposure-weight=0\n--saturation-weight=0\n--contrast-"
                                 u"weight=1\n--hard-mask\nargs\n";
    struct Case {
        const char* name;
        int nGiven;
        std::vector<UINT> keys; // pressed in the list
        int nChosen;
    } cases[] = {
        {"exposure as given", 0, {}, 0},
        {"focus as given", 1, {}, 1},
        {"Down chooses the focus stack", 0, {VK_DOWN}, 1},
        {"Up goes back, and no further", 1, {VK_UP, VK_UP}, 0},
    };
    const std::u16string args = u"args";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_selection = {args};
        auto pDlg = MakeDialog(kFake, 95);
        pDlg->m_nFusionMode = c.nGiven;
        m_driver.Reset();
        m_driver.m_steps = {
            [&](HWND hDlg) {
                HWND hList = GetDlgItem(hDlg, IDC_FUSION_MODE);
                ASSERT_NE(hList, nullptr);
                wchar_t cls[16] = {};
                GetClassNameW(hList, cls, 16);
                EXPECT_EQ(lstrcmpiW(cls, L"ComboBox"), 0);
                const LONG_PTR style = GetWindowLongPtrW(hList, GWL_STYLE);
                EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
                EXPECT_TRUE(style & WS_TABSTOP);
                EXPECT_EQ(GetNextDlgTabItem(hDlg, GetDlgItem(hDlg, IDC_QUALITY), FALSE), hList);
                EXPECT_EQ(ItemText(hDlg, IDC_FUSION_MODE_LABEL), u"Art der Reihe:");
                // The items as the system holds them, and through the framework's backend.
                ASSERT_EQ(SendMessageW(hList, CB_GETCOUNT, 0, 0), 2);
                SControlBackend list = MakeWin32Backend(hList);
                ASSERT_NE(list.pCombo, nullptr);
                EXPECT_EQ(list.pCombo->GetLBText(0), LoadModuleString(IDS_MODE_EXPOSURE));
                EXPECT_EQ(list.pCombo->GetLBText(1), u"Fokusreihe (Schärfentiefe erweitern)");
                EXPECT_EQ(list.pCombo->GetLBText(2), u"");
                EXPECT_EQ(list.pCombo->GetCurSel(), c.nGiven);
                EXPECT_EQ(SendMessageW(hList, CB_GETCURSEL, 0, 0), c.nGiven);
                SetFocus(hList);
                for (UINT vk : c.keys)
                    PressKey(hDlg, vk);
            },
            [&](HWND hDlg) {
                EXPECT_EQ(SendDlgItemMessageW(hDlg, IDC_FUSION_MODE, CB_GETCURSEL, 0, 0), c.nChosen);
                Click(hDlg, IDC_OK);
            },
            [&](HWND hDlg) {
                std::u16string pane = ItemText(hDlg, IDC_OUTPUT_PANE);
                std::erase(pane, u'\r');
                EXPECT_EQ(pane.find(focus) != std::u16string::npos, c.nChosen == 1)
                    << platform::Utf16ToUtf8(pane);
                HWND hLabel = GetDlgItem(hDlg, IDC_FUSION_MODE_LABEL),
                     hList = GetDlgItem(hDlg, IDC_FUSION_MODE);
                EXPECT_FALSE(IsWindowEnabled(hLabel));
                EXPECT_TRUE(IsCollapsed(hLabel));
                // A drop-down list keeps the height of its field: no width is left of it.
                EXPECT_FALSE(IsWindowEnabled(hList));
                const RECT r = ScreenRect(hList), label = ScreenRect(hLabel);
                EXPECT_EQ(r.right, r.left);
                EXPECT_EQ(r.left, label.left);
                EXPECT_EQ(r.top, label.top);
                Click(hDlg, IDC_OK);
            }};
        EXPECT_EQ(pDlg->DoModal(), kIdOk);
        EXPECT_EQ(pDlg->m_outcome, ERunOutcome::Fused);
        EXPECT_EQ(pDlg->m_nFusionMode, c.nChosen);
    }
}

// The backend's list operations on a list of its own: indices of new items, a selection outside
// the items is none, and the emptied list has none.
TEST(Win32Combo, ItemsAndSelection)
{
    HWND hList = CreateWindowExW(0, L"ComboBox", L"", WS_POPUP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 100,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(hList, nullptr);
    SControlBackend list = MakeWin32Backend(hList);
    ASSERT_NE(list.pCombo, nullptr);
    EXPECT_EQ(list.pCombo->GetCount(), 0);
    EXPECT_EQ(list.pCombo->GetCurSel(), -1);
    EXPECT_EQ(list.pCombo->AddString(u"eins"), 0);
    EXPECT_EQ(list.pCombo->AddString(u"zwei \u00e4"), 1);
    const struct {
        int nSet, nGot;
    } cases[] = {{1, 1}, {0, 0}, {2, -1}, {-1, -1}};
    for (const auto& c : cases) {
        list.pCombo->SetCurSel(c.nSet);
        EXPECT_EQ(list.pCombo->GetCurSel(), c.nGot) << c.nSet;
    }
    EXPECT_EQ(list.pCombo->GetLBText(1), u"zwei \u00e4");
    list.pCombo->ResetContent();
    EXPECT_EQ(list.pCombo->GetCount(), 0);
    EXPECT_EQ(list.pCombo->GetLBText(0), u"");
    DestroyWindow(hList);
}
} // namespace
