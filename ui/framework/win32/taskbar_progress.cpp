// The taskbar button's progress: the COM object made and held, cleared on every way out.
#include "ui/framework/win32/taskbar_progress.h"

#include <algorithm>

namespace lvp {
CWin32TaskbarProgress::~CWin32TaskbarProgress()
{
    m_pList->SetProgressState(m_hWnd, TBPF_NOPROGRESS);
    m_pList->Release();
}

void CWin32TaskbarProgress::SetPos(int nPos)
{
    m_pList->SetProgressValue(m_hWnd, static_cast<ULONGLONG>(std::clamp(nPos, 0, kProgressRange)),
                              static_cast<ULONGLONG>(kProgressRange));
}

void CWin32TaskbarProgress::SetState(EProgressState state)
{
    m_pList->SetProgressState(m_hWnd, state == EProgressState::Error    ? TBPF_ERROR
                                      : state == EProgressState::Paused ? TBPF_PAUSED
                                                                        : TBPF_NORMAL);
}

std::unique_ptr<CTaskbarProgress> MakeTaskbarProgress(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    HWND hTop = ::GetAncestor(hOwner ? hOwner : hWnd, GA_ROOT);
    if (!hTop)
        return nullptr;
    auto pApartment = std::make_unique<CComApartment>();
    ITaskbarList3* pList = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                  reinterpret_cast<void**>(&pList))) ||
        !pList)
        return nullptr;
    if (FAILED(pList->HrInit())) {
        pList->Release();
        return nullptr;
    }
    try {
        return std::make_unique<CWin32TaskbarProgress>(pList, hTop, std::move(pApartment));
    } catch (...) {
        pList->Release();
        throw;
    }
}
} // namespace lvp
