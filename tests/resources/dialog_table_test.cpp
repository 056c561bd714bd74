// The compiled-in table of dialog 1000 carries what the backends build the dialog from.
#include "resources/dialog.h"

#include <gtest/gtest.h>

namespace {
using lvp::EControlKind;
namespace Style = lvp::DialogStyle;

TEST(DialogTable, UnknownIdsHaveNoTemplate)
{
    for (unsigned id : {0u, 1u, 999u, 1001u, 0xFFFFFFFFu})
        EXPECT_EQ(lvp::FindDialogTemplate(id), nullptr) << id;
}

TEST(DialogTable, FusionDialogFrameAndFont)
{
    const lvp::SDialogTemplate* d = lvp::FindDialogTemplate(1000);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->rect.x, 0);
    EXPECT_EQ(d->rect.y, 0);
    EXPECT_EQ(d->rect.cx, 300);
    EXPECT_EQ(d->rect.cy, 161);
    EXPECT_EQ(d->styles, Style::Popup | Style::Caption | Style::SysMenu | Style::ModalFrame);
    EXPECT_EQ(std::u16string(d->font.face), u"MS Shell Dlg");
    EXPECT_EQ(d->font.points, 8);
    EXPECT_EQ(d->font.weight, 400);
    EXPECT_EQ(d->font.charset, 1);
    // The caption's non-ASCII letter arrives as one UTF-16 unit, not as UTF-8 bytes.
    EXPECT_NE(std::u16string(d->caption).find(u'\u00FC'), std::u16string::npos);
}

TEST(DialogTable, ControlsInTabOrderWithTheirPlaceAndStyle)
{
    struct Case {
        unsigned id;
        EControlKind kind;
        lvp::SDialogRect rect;
        std::uint32_t styles;
    };
    const std::uint32_t field = Style::Border | Style::TabStop | Style::AutoHScroll;
    const std::uint32_t label = Style::Left | Style::Group;
    const Case cases[] = {
        {1011,
         EControlKind::Edit,
         {7, 7, 286, 126},
         Style::Hidden | Style::Multiline | Style::ReadOnly | Style::VScroll | Style::AutoVScroll |
             Style::TabStop},
        {1014, EControlKind::Static, {7, 7, 286, 8}, label},
        {1009, EControlKind::Edit, {7, 18, 210, 14}, field},
        {1010, EControlKind::PushButton, {223, 18, 70, 14}, Style::TabStop},
        {1013, EControlKind::Static, {7, 42, 286, 8}, label},
        {1007, EControlKind::Edit, {7, 53, 286, 14}, field},
        {1012, EControlKind::Static, {7, 77, 286, 8}, label},
        {1008, EControlKind::Edit, {7, 90, 40, 14}, field},
        {1018, EControlKind::Static, {57, 93, 50, 8}, label},
        // Its height is that of the open list.
        {1017, EControlKind::DropList, {110, 90, 183, 62}, Style::VScroll | Style::TabStop},
        {1015, EControlKind::CheckBox, {7, 112, 286, 10}, Style::TabStop},
        {1019, EControlKind::CheckBox, {7, 124, 286, 10}, Style::TabStop},
        {1, EControlKind::DefPushButton, {125, 140, 50, 14}, Style::TabStop},
        {2, EControlKind::PushButton, {243, 140, 50, 14}, Style::TabStop},
        {1016, EControlKind::Progress, {7, 142, 110, 10}, Style::Hidden},
    };
    const lvp::SDialogTemplate* d = lvp::FindDialogTemplate(1000);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->count, std::size(cases));
    for (size_t i = 0; i < d->count; ++i) {
        const lvp::SDialogControl& c = d->controls[i];
        const Case& want = cases[i];
        EXPECT_EQ(c.id, want.id) << i;
        EXPECT_EQ(c.kind, want.kind) << want.id;
        EXPECT_EQ(c.rect.x, want.rect.x) << want.id;
        EXPECT_EQ(c.rect.y, want.rect.y) << want.id;
        EXPECT_EQ(c.rect.cx, want.rect.cx) << want.id;
        EXPECT_EQ(c.rect.cy, want.rect.cy) << want.id;
        EXPECT_EQ(c.styles, want.styles) << want.id;
        // Fields, lists and the bar start empty (their members fill them); labels and buttons carry
        // a text.
        EXPECT_EQ(std::u16string(c.text).empty(), c.kind == EControlKind::Edit ||
                                                      c.kind == EControlKind::DropList ||
                                                      c.kind == EControlKind::Progress)
            << want.id;
    }
}
} // namespace
