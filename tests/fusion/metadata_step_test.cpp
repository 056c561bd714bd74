// The metadata step over real files: what reaches the output, what is reported, that the output
// is opened only with something to carry, and that no failure changes it or leaves a temporary.
#include "fusion/metadata_step.h"
#include "platform/temp_name.h"
#include "tests/metadata/fixtures.h"
#include "tests/support/fault_os.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

namespace {
namespace md = lvp::metadata;
using md::ECarryOutcome;
using md::test::Bytes;
using md::test::FromString;
using md::test::MakeJpeg;
using md::test::MakeTiff;
using md::test::Segment;
using md::test::SOrder;

// The real files, with every file opened for reading recorded.
class CRecordingOs : public CFaultOs {
public:
    using CFaultOs::CFaultOs;
    platform::CFile OpenForReading(const std::u16string& p) const override
    {
        opened.insert(p);
        return CFaultOs::OpenForReading(p);
    }
    mutable std::set<std::u16string> opened;
};

std::string Text(const Bytes& b)
{
    return std::string(b.begin(), b.end());
}

Bytes Fused()
{
    return MakeJpeg({Segment(0xE0, std::string_view("JFIF\0", 5), Bytes{1, 1, 0, 0, 1, 0, 1, 0, 0})}, 380,
                    290);
}

class MetadataStep : public ::testing::Test {
protected:
    TempDir m_dir;
    CRecordingOs m_os{m_dir};
    std::u16string Path(const char* name) const { return m_dir.u16(name); }
    // The folder's files, by name.
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir.path()))
            names.insert(e.path().filename().string());
        return names;
    }
};

TEST_F(MetadataStep, CarriesOrLeavesTheOutputAsWritten)
{
    const Bytes photo = md::test::CameraJpeg(), fused = Fused();
    const Bytes tiffPhoto =
        MakeTiff(true, 40, 30, {SOrder::Ascii(271, "Lumivant"), SOrder{true}.Short(274, 8)});
    const Bytes exifFused =
        MakeJpeg({Segment(0xE1, std::string_view("Exif\0\0", 6), FromString("MM\0*\0\0\0\x08\0\0\0\0\0\0"))});
    const struct {
        const char* name;
        std::optional<Bytes> photo, output; // none: no such file
        const char* outputName;
        ECarryOutcome outcome;
        bool bOutputOpened;
    } cases[] = {
        {"JPEG photo into JPEG", photo, fused, "out.jpg", ECarryOutcome::Done, true},
        {"TIFF photo into TIFF", tiffPhoto, MakeTiff(false, 38, 28), "out.tif", ECarryOutcome::Done, true},
        {"JPEG photo into TIFF", photo, MakeTiff(false, 38, 28), "out.tif", ECarryOutcome::Done, true},
        {"TIFF photo into JPEG", tiffPhoto, fused, "out.jpg", ECarryOutcome::Done, true},
        // Nothing to carry: silent, and the output is not even opened.
        {"photo without metadata", MakeJpeg({}), fused, "out.jpg", ECarryOutcome::NothingToCarry, false},
        {"PNG photo", FromString("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"), fused, "out.jpg",
         ECarryOutcome::NothingToCarry, false},
        {"a text, as the fake program's inputs", FromString("out:line\\n"), fused, "out.jpg",
         ECarryOutcome::NothingToCarry, false},
        {"no photo there", std::nullopt, fused, "out.jpg", ECarryOutcome::NothingToCarry, false},
        {"empty photo", Bytes{}, fused, "out.jpg", ECarryOutcome::NothingToCarry, false},
        // Reported, the output as it was.
        {"damaged photo", Bytes(photo.begin(), photo.begin() + 40), fused, "out.jpg",
         ECarryOutcome::SourceDamaged, true},
        {"PNG output", photo, FromString("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"), "out.png",
         ECarryOutcome::UnsupportedOutput, true},
        {"EXR output", photo, FromString("v/1\x01\x02\0\0\0channels"), "out.exr",
         ECarryOutcome::UnsupportedOutput, true},
        {"output cut short", photo, Bytes(fused.begin(), fused.begin() + 30), "out.jpg",
         ECarryOutcome::OutputUnreadable, true},
        {"no output there", photo, std::nullopt, "out.jpg", ECarryOutcome::OutputUnreadable, true},
        // The output has Exif of its own: silent, left alone.
        {"output with Exif", photo, exifFused, "out.jpg", ECarryOutcome::OutputHasExif, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir.path());
        fs::create_directories(m_dir.path());
        if (c.photo)
            WriteBytes(m_dir.path() / "photo.jpg", Text(*c.photo));
        if (c.output)
            WriteBytes(m_dir.path() / c.outputName, Text(*c.output));
        const std::set<std::string> before = Names();
        m_os.opened.clear();

        const ECarryOutcome outcome = lvp::CarryMetadata(m_os, Path("photo.jpg"), Path(c.outputName));
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(m_os.opened.count(Path(c.outputName)) > 0, c.bOutputOpened);
        EXPECT_EQ(Names(), before) << "no temporary is left";
        if (c.photo) {
            EXPECT_EQ(ReadBytes(m_dir.path() / "photo.jpg"), Text(*c.photo)) << "the photo is only read";
        }
        if (!c.output)
            continue;
        const std::string after = ReadBytes(m_dir.path() / c.outputName);
        if (c.outcome != ECarryOutcome::Done) {
            EXPECT_EQ(after, Text(*c.output)) << "the output stays as written";
            continue;
        }
        const Bytes rewritten(after.begin(), after.end());
        EXPECT_EQ(md::test::PixelBytes(rewritten), md::test::PixelBytes(*c.output));
        EXPECT_EQ(md::ReadImageSize(rewritten), md::ReadImageSize(*c.output));
        EXPECT_GT(rewritten.size(), c.output->size()) << "the metadata is added";
        if (std::string_view(c.outputName).ends_with(".jpg")) {
            EXPECT_EQ(md::CarryOver(*c.photo, rewritten).outcome, ECarryOutcome::OutputHasExif);
        }
    }
}

// Every write-side operation failing in turn (a folder that takes no file, a full disk, a refused
// flush, close or replace): reported, the output as the program wrote it, no temporary left.
TEST_F(MetadataStep, AFailedRewriteLeavesTheOutputAndNoTemporary)
{
    const Bytes photo = md::test::CameraJpeg(), fused = Fused();
    WriteBytes(m_dir.path() / "photo.jpg", Text(photo));
    const std::set<std::string> files = {"photo.jpg", "out.jpg"};
    m_os.noTempFiles = true; // a read-only folder
    WriteBytes(m_dir.path() / "out.jpg", Text(fused));
    EXPECT_EQ(lvp::CarryMetadata(m_os, Path("photo.jpg"), Path("out.jpg")), ECarryOutcome::CannotRewrite);
    EXPECT_EQ(ReadBytes(m_dir.path() / "out.jpg"), Text(fused));
    m_os.noTempFiles = false;
    for (bool shortWrite : {true, false}) {
        m_os.shortWrite = shortWrite;
        for (long n = 0;; ++n) {
            SCOPED_TRACE(n);
            WriteBytes(m_dir.path() / "out.jpg", Text(fused));
            m_os.calls = 0;
            m_os.failAt = n;
            m_os.failed.clear();
            const ECarryOutcome outcome = lvp::CarryMetadata(m_os, Path("photo.jpg"), Path("out.jpg"));
            EXPECT_EQ(Names(), files) << "after a failed " << m_os.failed;
            if (m_os.failed.empty()) {
                EXPECT_EQ(outcome, ECarryOutcome::Done);
                EXPECT_GE(n, 4) << "create, write, flush, close and replace were each failed once";
                break;
            }
            EXPECT_EQ(outcome, ECarryOutcome::CannotRewrite) << m_os.failed;
            EXPECT_EQ(ReadBytes(m_dir.path() / "out.jpg"), Text(fused)) << m_os.failed;
        }
    }
    m_os.failAt = -1;
}

// A temporary that an ended host left beside an output goes with the next rewrite there; one
// that a running process owns stays.
TEST_F(MetadataStep, RemovesTheTemporariesOfEndedHosts)
{
    WriteBytes(m_dir.path() / "photo.jpg", Text(md::test::CameraJpeg()));
    WriteBytes(m_dir.path() / "out.jpg", Text(Fused()));
    const std::u16string prefix = Path("lvp_hdr-");
    const fs::path stale(platform::UniqueName(prefix, u"-meta.tmp", 0x7FFFFFF0u));
    const fs::path own(platform::UniqueName(prefix, u"-meta.tmp", m_os.CurrentProcessId()));
    WriteBytes(stale, "left by a host that ended");
    WriteBytes(own, "ours");
    EXPECT_EQ(lvp::CarryMetadata(m_os, Path("photo.jpg"), Path("out.jpg")), ECarryOutcome::Done);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(own));
}
} // namespace
