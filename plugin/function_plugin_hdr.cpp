// CFunctionPluginHDR: the command's Start and Execute around the fusion dialog.
#include "plugin/function_plugin_hdr.h"

#include "fusion/fusion_paths.h"
#include "fusion/photo_checks.h"
#include "platform/locale.h"
#include "platform/path.h"
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

// The host's paths as the layers below take them: a null entry is an empty path.
std::vector<std::u16string> SelectionPaths(const SelectionList& selection)
{
    std::vector<std::u16string> paths;
    paths.reserve(selection.size());
    for (const char16_t* pPath : selection)
        paths.emplace_back(pPath ? pPath : u"");
    return paths;
}
} // namespace

// enfuse would fail on them after the run had started: raw files (named by their file names)
// and files that do not open (by their paths as the host gave them).
bool CFunctionPluginHDR::AcceptPhotos(const SelectionList& selection)
{
    const std::u16string_view seps = m_os.PathSeparators();
    std::vector<std::u16string> raw, unreadable;
    for (const std::u16string& path : SelectionPaths(selection)) {
        if (IsCameraRawName(path, seps))
            raw.emplace_back(platform::FileNameOf(path, seps));
        else if (!m_os.FileOpensForReading(path))
            unreadable.push_back(path);
    }
    if (raw.empty() && unreadable.empty())
        return true;
    ShowMessageBox(m_ui,
                   FormatModuleList(raw.empty() ? IDS_PHOTOS_UNREADABLE : IDS_PHOTOS_RAW,
                                    raw.empty() ? unreadable : raw),
                   EMessageIcon::Warning);
    return false;
}

CFunctionPluginHDR::CFunctionPluginHDR(const platform::COs& os, CUiBackend& ui, CSettingsStore& settings)
    : m_os(os), m_ui(ui), m_settings(settings), m_hwndParent(nullptr)
{
    platform::SetRuntimeLocale();
    m_settings.Load(u"");
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
    if (!AcceptPhotos(selection))
        return {0, 0, 0}; // refused as a selection of one is
    m_selection = selection;
    return {1, 0, 0};
}

ResultList* CFunctionPluginHDR::Execute()
{
    if (m_selection.size() < 2)
        return &m_results;
    // Detached from the host's window on every way out, so the host's window survives.
    CTempWnd parent(m_ui, ToWindowId(m_hwndParent));
    const std::vector<std::u16string> photos = SelectionPaths(m_selection);
    CSampleDlg dlg(m_os, m_ui, &photos, &parent);
    dlg.m_strOutputFile = ProposeOutputName(photos.front(), photos.back(), m_os.PathSeparators());
    dlg.m_nJpegQuality = m_settings.GetQuality();
    dlg.m_strEnfusePath = LocateFusionProgram(m_settings.GetString(kKeyProgram, u""), m_os);
    dlg.m_bAlignImages = m_settings.GetAlignImages();
    dlg.m_nFusionMode = m_settings.GetFusionMode();
    dlg.m_captureData = ReadCaptureData(photos, m_os); // grouped for the kind of series chosen
    dlg.m_bFuseEachBracket = m_settings.GetFuseEachBracket();
    if (dlg.DoModal() == kIdOk) {
        m_settings.SetQuality(dlg.m_nJpegQuality);
        m_settings.SetString(kKeyProgram, dlg.m_strEnfusePath, u"", true);
        m_settings.SetFusionMode(dlg.m_nFusionMode);
        // A box the user could not use (no alignment program) says nothing of the wish.
        if (dlg.m_bAlignOffered)
            m_settings.SetAlignImages(dlg.m_bAlignImages);
        if (dlg.m_bFuseEachOffered)
            m_settings.SetFuseEachBracket(dlg.m_bFuseEachBracket);
        // A bracket that failed or was stopped made no file the host could use.
        for (const std::u16string& output : dlg.m_written)
            m_results.push_back({CWideString(output), 1});
    }
    return &m_results;
}
} // namespace lvp
