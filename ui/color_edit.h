// CColorEdit: the output pane, white text on black.
#pragma once
#include "ui/framework/edit.h"
#include "ui/framework/gdi.h"

namespace lvp {
class CColorEdit : public CEdit {
public:
    explicit CColorEdit(CUiBackend& ui) { m_brushBack.CreateSolidBrush(ui, Rgb(0, 0, 0)); }
    // The same answer for the read-only and the editable variant of the query.
    bool OnReflectCtlColor(SCtlColor& color) override
    {
        color.text = Rgb(255, 255, 255);
        color.back = Rgb(0, 0, 0);
        color.pBrush = m_brushBack.Backend();
        return true;
    }

private:
    CBrush m_brushBack; // released with the control
};
} // namespace lvp
