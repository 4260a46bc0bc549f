#include "ImageChecks.h"

#include "drive/CDevCmdROM.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Whatever the chooser's entry ("iso", "img", "nrg", "vcd" or any name), the
// content decides which image a file is.
class Recognition : public ::testing::Test {
protected:
    void SetUp() override
    {
        iso = MakeIsoBytes(dir, "DATA");
        if (iso.empty())
            GTEST_SKIP() << "genisoimage missing";
        disc = MixedModeDisc(iso);
    }
    void ExpectOpens(const std::filesystem::path& path, const TestDisc& expected)
    {
        SCOPED_TRACE(path.filename().string());
        CDevCmdROM drive;
        ASSERT_TRUE(drive.SetImageFile(path.string()));
        ExpectDisc(drive, expected);
    }
    TempDir dir;
    std::vector<uint8_t> iso;
    TestDisc disc;
};

TEST_F(Recognition, ContainersUnderAnyName)
{
    for (const char* name : {"n.iso", "n.img", "n.vcd", "n"}) {
        WriteNrg(dir / name, disc, {2, false, NrgFormat::Raw});
        ExpectOpens(dir / name, disc);
    }
}

TEST_F(Recognition, SectorFilesChosenBesideTheirSheet)
{
    TestDisc noText = disc; // Alcohol descriptors keep no CD-Text
    noText.title = noText.performer = "";
    for (TestTrack& t : noText.tracks)
        t.title = t.performer = "";
    for (const char* name : {"c.img", "c.vcd"}) {
        WriteCloneCd(dir / "c", disc, false);
        std::filesystem::rename(dir / "c.img", dir / name);
        ExpectOpens(dir / name, disc);
    }
    for (const char* name : {"a.mdf", "a.img", "a.iso"}) {
        WriteAlcohol(dir / "a", noText, false);
        std::filesystem::rename(dir / "a.mdf", dir / name);
        ExpectOpens(dir / name, noText);
    }
}

TEST_F(Recognition, PlainImagesUnderAnyName)
{
    for (const char* name : {"p.nrg", "p.vcd", "p.img"}) {
        WriteFile(dir / name, std::string(iso.begin(), iso.end()));
        CDevCmdROM drive;
        ASSERT_TRUE(drive.SetImageFile((dir / name).string())) << name;
        EXPECT_EQ(drive.JudgeFileSystem(0), 1) << name;
    }
}

} // namespace
