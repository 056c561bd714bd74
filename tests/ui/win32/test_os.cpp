// The tool-run tests' OS services on Windows: a real EDIT control, handle counts, code page 932.
#include "tests/ui/test_os.h"

#include "ui/framework/win32/win32_wnd.h"

namespace toolrun_test {
namespace {
class CWin32Pane : public CTestPane {
public:
    explicit CWin32Pane(bool bOnScreen)
    {
        HINSTANCE hInstance = GetModuleHandleW(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = hInstance;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"lvp_toolrun_test";
        RegisterClassW(&wc); // fails harmlessly when already registered
        int x = bOnScreen ? 40 : -3000;
        m_hFrame = CreateWindowExW(0, wc.lpszClassName, L"Belichtungsreihen zusammenführen",
                                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, x, 40, 640, 420,
                                   nullptr, nullptr, hInstance, nullptr);
        m_hEdit = CreateWindowExW(
            0, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 10,
            10, 600, 360, m_hFrame, reinterpret_cast<HMENU>(1011), hInstance, nullptr);
        UpdateWindow(m_hFrame);
        m_edit.Attach(lvp::MakeWin32Backend(m_hEdit));
    }
    ~CWin32Pane() override
    {
        m_edit.Detach();
        if (m_hFrame)
            DestroyWindow(m_hFrame);
    }

private:
    HWND m_hFrame = nullptr;
    HWND m_hEdit = nullptr;
};
} // namespace

std::unique_ptr<CTestPane> MakeTestPane(bool bOnScreen)
{
    return std::make_unique<CWin32Pane>(bOnScreen);
}

CMultiByteLocale::CMultiByteLocale()
{
    // CP_THREAD_ACP follows the thread locale: Japanese gives code page 932 (Shift-JIS).
    m_strBefore = std::to_string(GetThreadLocale());
    m_bActive = SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT)) &&
                GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0) > 0;
    m_strBytes = "\x93\xFA\x96\x7B \x83\x65\x83\x58\x83\x67";
    m_strText = u"日本 テスト";
}

CMultiByteLocale::~CMultiByteLocale()
{
    SetThreadLocale(static_cast<LCID>(std::stoul(m_strBefore)));
}

std::vector<std::u16string> OsArgumentSamples()
{
    return {u"C:\\Program Files\\x y\\z.jpg"};
}
} // namespace toolrun_test
