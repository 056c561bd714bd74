// CFunctionPluginHDR, the module's one plug-in object (the exposure-fusion command), and its factory.
#pragma once
#include "platform/os.h"
#include "plugin/function_plugin.h"
#include "settings/settings_store.h"
#include "ui/framework/backend.h"

namespace lvp {
class CFunctionPluginHDR : public CFunctionPlugin {
public:
    // Sets the runtime locale and merges the settings file into the store. The command works
    // with the OS, the window system and the settings store given (none owned).
    CFunctionPluginHDR(const platform::COs& os, CUiBackend& ui, CSettingsStore& settings);
    ~CFunctionPluginHDR() override;
    CWideString GetName() override;
    CWideString GetDescription() override;
    // Keeps the window; accepts a selection of at least two files (message 107 otherwise), none
    // of them a camera raw file (136) and each one that opens (137).
    SStartResult Start(HostWindow hwnd, const SelectionList& selection) override;
    // Groups the selection into brackets by the photos' capture data and shows the fusion dialog
    // over the host's window; a confirmed dialog stores the quality, the program path and the
    // choices to align and to fuse each bracket (each when its box was offered), and adds every
    // output file the fusion made to the results, in bracket order.
    ResultList* Execute() override;

private:
    // Tells the user and answers false when a photo is a raw file or does not open.
    bool AcceptPhotos(const SelectionList& selection);

    const platform::COs& m_os;
    CUiBackend& m_ui;
    CSettingsStore& m_settings;
    HostWindow m_hwndParent;   // the host's window; not owned
    SelectionList m_selection; // copies of the host's pointers; the strings stay the host's
};
} // namespace lvp
