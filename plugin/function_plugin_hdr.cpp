// CFunctionPluginHDR: the command's Start and Execute around the fusion dialog.
#include "plugin/function_plugin_hdr.h"

#include "platform/locale.h"
#include "plugin/fusion_paths.h"
#include "plugin/module_settings.h"
#include "resources/ids.h"
#include "resources/strings.h"
#include "ui/framework/message_box.h"
#include "ui/sample_dlg.h"

namespace lvp {
namespace {
constexpr char16_t kKeyProgram[] = u"EnfusePath";

platform::WindowId ToWindowId(HostWindow hwnd)
{
    return reinterpret_cast<platform::WindowId>(hwnd);
}
} // namespace

CFunctionPluginHDR::CFunctionPluginHDR(const platform::COs& os, CUiBackend& ui)
    : m_os(os), m_ui(ui), m_hwndParent(nullptr)
{
    platform::SetRuntimeLocale();
    g_Settings.Load(u"");
}

CFunctionPluginHDR::~CFunctionPluginHDR() = default;

CWideString CFunctionPluginHDR::GetName()
{
    return CWideString(LoadModuleString(IDS_NAME));
}

CWideString CFunctionPluginHDR::GetDescription()
{
    return CWideString(LoadModuleString(IDS_DESCRIPTION));
}

SStartResult CFunctionPluginHDR::Start(HostWindow hwnd, const SelectionList& selection)
{
    m_hwndParent = hwnd;
    if (selection.size() < 2) {
        ShowMessageBox(m_ui, LoadModuleString(IDS_SELECT_TWO_IMAGES), EMessageIcon::Information);
        return {0, 0, 0};
    }
    m_selection = selection;
    return {1, 0, 0};
}

ResultList* CFunctionPluginHDR::Execute()
{
    if (m_selection.size() < 2)
        return &m_results;
    // Detached from the host's window on every way out, so the host's window survives.
    CTempWnd parent(m_ui, ToWindowId(m_hwndParent));
    CSampleDlg dlg(m_os, m_ui, &m_selection, &parent);
    auto text = [](const char16_t* p) { return p ? std::u16string_view(p) : std::u16string_view(); };
    dlg.m_strOutputFile =
        ProposeOutputName(text(m_selection.front()), text(m_selection.back()), m_os.PathSeparator());
    dlg.m_nJpegQuality = g_Settings.GetQuality();
    dlg.m_strEnfusePath = LocateFusionProgram(g_Settings.GetString(kKeyProgram, u""), m_os);
    dlg.m_bAlignImages = g_Settings.GetAlignImages();
    if (dlg.DoModal() == kIdOk) {
        g_Settings.SetQuality(dlg.m_nJpegQuality);
        g_Settings.SetString(kKeyProgram, dlg.m_strEnfusePath, u"", true);
        // A box the user could not use (no alignment program) says nothing of the wish.
        if (dlg.m_bAlignOffered)
            g_Settings.SetAlignImages(dlg.m_bAlignImages);
        // A failed or stopped run made no file the host could use.
        if (dlg.m_outcome == ERunOutcome::Fused)
            m_results.push_back({CWideString(dlg.m_strOutputFile), 1});
    }
    return &m_results;
}

CFunctionPlugin* CreateFunctionPluginHDR()
{
    // nothrow: no memory gives null; the constructor's own exceptions still propagate,
    // and the object's memory is released before they do.
    return new (std::nothrow) CFunctionPluginHDR(platform::RealOs(), DefaultUiBackend());
}
} // namespace lvp
