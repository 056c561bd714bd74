// The taskbar holder against a taskbar list that records its calls, and the real one under Wine.
#include "ui/framework/win32/taskbar_progress.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {
using namespace lvp;

// Records each progress call as text; the rest of the interface is there to be complete.
class CRecordingList final : public ITaskbarList3 {
public:
    std::vector<std::string> m_calls;
    ULONG m_nRefs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        m_calls.push_back("release");
        return --m_nRefs;
    }
    HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND hWnd, ULONGLONG done, ULONGLONG total) override
    {
        m_calls.push_back(Window(hWnd) + "value " + std::to_string(done) + "/" + std::to_string(total));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND hWnd, TBPFLAG flags) override
    {
        m_calls.push_back(Window(hWnd) + "state " + std::to_string(static_cast<int>(flags)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

private:
    static std::string Window(HWND hWnd) { return hWnd == kWindow ? "" : "other window "; }

public:
    static inline const HWND kWindow = reinterpret_cast<HWND>(0x1234);
};

const std::string kNormal = "state " + std::to_string(TBPF_NORMAL),
                  kError = "state " + std::to_string(TBPF_ERROR),
                  kPaused = "state " + std::to_string(TBPF_PAUSED),
                  kNone = "state " + std::to_string(TBPF_NOPROGRESS);

// What the holder passes on, and that every way out of its scope, an exception included, takes the
// progress off the button and releases the list once.
TEST(TaskbarProgress, PassesOnAndClearsOnEveryWayOut)
{
    struct SCase {
        const char* name;
        void (*use)(CTaskbarProgress&);
        bool bThrows;
        std::vector<std::string> calls;
    } cases[] = {
        {"unused", [](CTaskbarProgress&) {}, false, {kNone, "release"}},
        {"run that fused",
         [](CTaskbarProgress& t) {
             t.SetState(EProgressState::Normal);
             t.SetPos(0);
             t.SetPos(1000);
         },
         false,
         {kNormal, "value 0/1000", "value 1000/1000", kNone, "release"}},
        {"failed, out of range",
         [](CTaskbarProgress& t) {
             t.SetPos(-3);
             t.SetPos(5000);
             t.SetState(EProgressState::Error);
         },
         false,
         {"value 0/1000", "value 1000/1000", kError, kNone, "release"}},
        {"stopped",
         [](CTaskbarProgress& t) { t.SetState(EProgressState::Paused); },
         false,
         {kPaused, kNone, "release"}},
        {"exception",
         [](CTaskbarProgress& t) {
             t.SetPos(500);
             throw std::runtime_error("dialog failed");
         },
         true,
         {"value 500/1000", kNone, "release"}},
    };
    for (const SCase& c : cases) {
        CRecordingList list;
        try {
            CWin32TaskbarProgress holder(&list, CRecordingList::kWindow);
            c.use(holder);
        } catch (const std::runtime_error&) {
            EXPECT_TRUE(c.bThrows) << c.name;
        }
        EXPECT_EQ(list.m_calls, c.calls) << c.name;
        EXPECT_EQ(list.m_nRefs, 0u) << c.name;
    }
}

// The real list under Wine (or nothing where COM cannot make one): no window, no holder; a window
// gets one that can be used and dropped, and the thread's COM is as it was before.
TEST(TaskbarProgress, RealListOrNothing)
{
    EXPECT_EQ(MakeTaskbarProgress(nullptr), nullptr);
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (auto p = MakeTaskbarProgress(hWnd)) {
            p->SetState(EProgressState::Normal);
            p->SetPos(400);
            p->SetState(EProgressState::Error);
        }
    }
    // The holders left no apartment of theirs behind: the thread can join another kind.
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_NE(hr, RPC_E_CHANGED_MODE);
    // A thread already in the multithreaded apartment keeps it after a holder has come and gone.
    if (SUCCEEDED(hr)) {
        {
            auto p = MakeTaskbarProgress(hWnd);
        }
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    }
    DestroyWindow(hWnd);
}
} // namespace
