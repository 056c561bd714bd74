// The metadata step on an output that is a symbolic link (POSIX: enfuse writes through it): the
// link stays a link and the file it names receives the metadata.
#include "fusion/metadata_step.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

namespace {
namespace md = lvp::metadata;

TEST(MetadataStepLink, TheLinkStaysAndItsTargetIsRewritten)
{
    TempDir dir;
    const md::test::Bytes photo = md::test::CameraJpeg(), fused = md::test::MakeJpeg({}, 380, 290);
    WriteBytes(dir.path() / "photo.jpg", std::string(photo.begin(), photo.end()));
    fs::create_directories(dir.path() / "elsewhere");
    WriteBytes(dir.path() / "elsewhere" / "fused.jpg", std::string(fused.begin(), fused.end()));
    fs::create_symlink("elsewhere/fused.jpg", dir.path() / "out.jpg");
    const CRedirectedOs os(dir);
    EXPECT_EQ(lvp::CarryMetadata(os, dir.u16("photo.jpg"), dir.u16("out.jpg")), md::ECarryOutcome::Done);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "out.jpg"));
    const std::string after = ReadBytes(dir.path() / "elsewhere" / "fused.jpg");
    EXPECT_EQ(md::CarryOver(photo, md::test::Bytes(after.begin(), after.end())).outcome,
              md::ECarryOutcome::OutputHasExif);
    EXPECT_EQ(fs::read_symlink(dir.path() / "out.jpg"), fs::path("elsewhere/fused.jpg"));
}
} // namespace
