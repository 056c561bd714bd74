// The texts reach both builds from one source: the string table by id.
#include "resources/strings.h"

#include <gtest/gtest.h>

namespace {
TEST(StringTable, TextsByIdAndUnknownIdEmpty)
{
    struct Case {
        unsigned id;
        std::u16string text;
    } cases[] = {
        {100, u"HDR"},
        {101, u"Funktionszusatzmodul zum Zusammenführen von Belichtungsreihen."},
        {106, u"Enfuse-Program (enfuse.exe)|enfuse.exe|Ausführbare Datei (*.exe)|*.exe||"},
        {107, u"Wählen Sie mindestens zwei Bilder aus."},
        {108, u"Das Programm \"Enfuse\" konnte nicht gefunden werden.\nStellen Sie sicher, dass das "
              u"Programm vorhanden ist und\nwählen Sie dann das Programm aus."},
        {109, u"Klicken Sie auf \"OK\", um das Fenster zu schließen."},
        {157, u"Belichtungsreihe"},
        {158, u"Fokusreihe (Schärfentiefe erweitern)"},
        {0, u""},
        {102, u""},
        {65535, u""},
        {65536 + 100, u""}, // string ids are 16 bits: no wrap-around to 100
    };
    for (const auto& c : cases)
        EXPECT_EQ(lvp::LoadModuleString(c.id), c.text) << c.id;
}
} // namespace

namespace {
TEST(FormatModuleStrings, EachPlaceHolderByItsNumber)
{
    struct Case {
        unsigned id;
        std::initializer_list<std::u16string_view> args;
        std::u16string want;
    } cases[] = {
        {143, {u"2", u"4", u"a", u"b", u"o.jpg"}, u"Reihe 2 von 4: a ... b -> o.jpg"},
        // An argument's own "%2" is not filled in again; a place holder without argument stays.
        {143, {u"%2", u"4"}, u"Reihe %2 von 4: %3 ... %4 -> %5"},
        {149, {u"%", u"1"}, u"% (1 Reihen erkannt)"},
        {149, {}, u"%1 (%2 Reihen erkannt)"},
        {109, {u"x"}, u"Klicken Sie auf \"OK\", um das Fenster zu schließen."},
        {102, {u"x"}, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lvp::FormatModuleStrings(c.id, c.args), c.want) << c.id;
}
} // namespace
