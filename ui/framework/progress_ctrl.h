// CProgressCtrl: a progress bar, its position of kProgressRange and its state.
#pragma once
#include "ui/framework/wnd.h"

namespace lvp {
class CProgressCtrl : public CWnd {
public:
    void SetPos(int nPos) { ProgressBackend().SetPos(nPos); }
    int GetPos() const { return ProgressBackend().GetPos(); }
    void SetState(EProgressState state) { ProgressBackend().SetState(state); }
    EProgressState GetState() const { return ProgressBackend().GetState(); }
};
} // namespace lvp
