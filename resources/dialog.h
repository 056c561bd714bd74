// The module's dialog templates as data: every control's id, kind, text, rectangle and styles.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lvp {
// What a window of a dialog is: the dialog window itself or one of its controls.
// CheckBox: an automatic check box (a click or Space toggles it). DropList: a drop-down list of
// items to choose from (no text of its own); its height is that of the open list. Progress: a
// smooth progress bar, never in the tab order.
enum class EControlKind { Dialog, Edit, Static, PushButton, DefPushButton, CheckBox, DropList, Progress };

// Styles that matter to a backend; the Windows template carries the Win32 equivalents.
namespace DialogStyle {
enum : std::uint32_t {
    Popup = 1u << 0,
    Caption = 1u << 1,
    SysMenu = 1u << 2,
    ModalFrame = 1u << 3,
    Hidden = 1u << 4, // not visible at start
    Multiline = 1u << 5,
    ReadOnly = 1u << 6,
    VScroll = 1u << 7,
    AutoVScroll = 1u << 8,
    AutoHScroll = 1u << 9,
    TabStop = 1u << 10,
    Border = 1u << 11,
    Left = 1u << 12,
    Group = 1u << 13,
};
}

struct SDialogRect { // dialog units
    int x, y, cx, cy;
};

struct SDialogFont {
    const char16_t* face;
    int points;
    int weight;
    int charset;
};

struct SDialogControl {
    unsigned id;
    EControlKind kind;
    const char16_t* text;
    SDialogRect rect;
    std::uint32_t styles;
};

struct SDialogTemplate {
    unsigned id;
    const char16_t* caption;
    SDialogRect rect;
    std::uint32_t styles;
    SDialogFont font;
    const SDialogControl* controls; // in creation (tab) order
    std::size_t count;
};

// The template of the dialog resource id, or null when there is none.
const SDialogTemplate* FindDialogTemplate(unsigned id);
} // namespace lvp
