// The progress on a taskbar button through ITaskbarList3, and the COM apartment it needs.
#pragma once
#include "platform/win32/windows_prelude.h"
#include "ui/framework/backend.h"

#include <shobjidl.h>

#include <memory>

namespace lvp {
// COM on this thread while the object lives. A thread already in another apartment keeps it
// (RPC_E_CHANGED_MODE): then COM works but is not ours to end.
class CComApartment {
public:
    CComApartment() : m_bJoined(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~CComApartment()
    {
        if (m_bJoined)
            ::CoUninitialize();
    }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;

private:
    bool m_bJoined;
};

// The progress on hWnd's taskbar button; the end takes it off (TBPF_NOPROGRESS) and releases
// the list. Owns one reference of pList and the apartment (null: the caller's COM lives on).
class CWin32TaskbarProgress final : public CTaskbarProgress {
public:
    CWin32TaskbarProgress(ITaskbarList3* pList, HWND hWnd,
                          std::unique_ptr<CComApartment> pApartment = nullptr)
        : m_pApartment(std::move(pApartment)), m_pList(pList), m_hWnd(hWnd)
    {
    }
    ~CWin32TaskbarProgress() override;
    CWin32TaskbarProgress(const CWin32TaskbarProgress&) = delete;
    CWin32TaskbarProgress& operator=(const CWin32TaskbarProgress&) = delete;

    void SetPos(int nPos) override;
    void SetState(EProgressState state) override;

private:
    std::unique_ptr<CComApartment> m_pApartment; // declared first: it ends after the list
    ITaskbarList3* m_pList;
    HWND m_hWnd;
};

// The taskbar progress of the top-level window of hWnd's owner (of hWnd itself when it has
// none); null when COM, the taskbar list or the window is not there.
std::unique_ptr<CTaskbarProgress> MakeTaskbarProgress(HWND hWnd);
} // namespace lvp
