// The output names of a batch: the field's for the first fused bracket, proposed ones beside it
// for the rest, numbered where two would be the same.
#include "fusion/batch_names.h"
#include "platform/utf.h"

#include <gtest/gtest.h>

namespace {
using namespace lvp;

TEST(BatchOutputNames, FieldFirstThenProposedInItsFolderNumberedWhereTaken)
{
    const std::vector<std::u16string> photos = {
        u"C:\\P\\IMG_1.JPG", u"C:\\P\\IMG_2.JPG", u"C:\\P\\IMG_3.JPG",
        u"C:\\P\\IMG_4.JPG", u"D:\\Q\\IMG_5.JPG", u"C:\\P\\IMG_6.JPG",
    };
    struct Case {
        const char* name;
        std::vector<SBracket> brackets;
        std::u16string field;
        std::vector<std::u16string> want;
    } cases[] = {
        {"field's folder and extension, each bracket's own names",
         {{0, 3}, {3, 3}},
         u"E:\\Out\\result.tif",
         {u"E:\\Out\\result.tif", u"E:\\Out\\IMG_4-IMG_6.tif"}},
        {"single photos get no name and do not count as the first",
         {{0, 1}, {1, 2}, {3, 1}, {4, 2}},
         u"E:\\Out\\r.jpg",
         {u"", u"E:\\Out\\r.jpg", u"", u"E:\\Out\\IMG_5-IMG_6.jpg"}},
        {"a field without folder or extension", {{0, 2}, {2, 2}}, u"fused", {u"fused", u"IMG_3-IMG_4"}},
        {"the proposed name equal to the field's: _2",
         {{0, 2}, {0, 2}},
         u"C:\\P\\IMG_1-IMG_2.JPG",
         {u"C:\\P\\IMG_1-IMG_2.JPG", u"C:\\P\\IMG_1-IMG_2_2.JPG"}},
        {"the same photos thrice: _2, _3; a name _2 already taken moves on",
         {{0, 2}, {2, 2}, {2, 2}, {2, 2}},
         u"x\\a.jpg",
         {u"x\\a.jpg", u"x\\IMG_3-IMG_4.jpg", u"x\\IMG_3-IMG_4_2.jpg", u"x\\IMG_3-IMG_4_3.jpg"}},
        {"compared exactly: another case is another name",
         {{0, 2}, {0, 2}},
         u"C:\\P\\img_1-img_2.JPG",
         {u"C:\\P\\img_1-img_2.JPG", u"C:\\P\\IMG_1-IMG_2.JPG"}},
        {"brackets outside the selection get no name",
         {{5, 2}, {6, 2}, {4, 2}, {99, 3}},
         u"r.jpg",
         {u"", u"", u"r.jpg", u""}},
        {"no brackets", {}, u"r.jpg", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchOutputNames(photos, c.brackets, c.field, u"\\"), c.want) << c.name;
}

// A name taken by a numbered one: the next number, never a name twice.
TEST(BatchOutputNames, NumberedNameAlreadyTaken)
{
    const std::vector<std::u16string> photos = {u"/p/a.jpg", u"/p/b.jpg", u"/p/b_2.jpg", u"/p/x.jpg"};
    // "a-b_2" comes naturally from a .. b_2; a later a .. b must then skip _2.
    const std::vector<SBracket> brackets = {{0, 2}, {0, 3}, {0, 2}, {0, 2}};
    EXPECT_EQ(
        BatchOutputNames(photos, brackets, u"/o/a-b.png", u"/"),
        (std::vector<std::u16string>{u"/o/a-b.png", u"/o/a-b_2.png", u"/o/a-b_3.png", u"/o/a-b_4.png"}));
}
} // namespace
