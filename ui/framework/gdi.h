// CFont and CBrush: drawing objects of the window system, released with their owner.
#pragma once
#include "ui/framework/backend.h"

namespace lvp {
class CFont {
public:
    // With the arguments of CreateFontW; false (and no font) when the system cannot make it.
    bool CreateFontIndirect(CUiBackend& ui, const SFontSpec& spec)
    {
        m_pFont = ui.MakeFont(spec);
        return m_pFont != nullptr;
    }
    void DeleteObject() { m_pFont.reset(); }
    const CFontBackend* Backend() const { return m_pFont.get(); }

private:
    std::unique_ptr<CFontBackend> m_pFont;
};

class CBrush {
public:
    bool CreateSolidBrush(CUiBackend& ui, Color color)
    {
        m_pBrush = ui.MakeSolidBrush(color);
        return m_pBrush != nullptr;
    }
    void DeleteObject() { m_pBrush.reset(); }
    const CBrushBackend* Backend() const { return m_pBrush.get(); }

private:
    std::unique_ptr<CBrushBackend> m_pBrush;
};
} // namespace lvp
