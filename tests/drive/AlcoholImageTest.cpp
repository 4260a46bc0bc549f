#include "ImageChecks.h"

#include "drive/CDevCmdROM.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testing_support;

namespace {

using Alcohol = MultiTrackImageTest;

TEST_F(Alcohol, MixedModeDiscWithAndWithoutSubchannel)
{
    const TestDisc disc = MixedModeDisc(iso);
    for (bool subchannel : {false, true}) {
        SCOPED_TRACE(subchannel ? "2448-byte sectors" : "2352-byte sectors");
        WriteAlcohol(Base("mixed"), disc, subchannel);
        for (const char* name : {"mixed.mds", "mixed.mdf"}) {
            ASSERT_TRUE(drive.SetImageFile((dir / name).string())) << name;
            TestDisc withoutText = disc; // the descriptor keeps no CD-Text
            withoutText.title = withoutText.performer = "";
            for (TestTrack& t : withoutText.tracks)
                t.title = t.performer = "";
            ExpectDisc(drive, withoutText);
        }
        EXPECT_EQ(drive.JudgeFileSystem(0), 1);
        std::vector<uint8_t> sectors(iso.size());
        ASSERT_EQ(drive.ReadCD_10(sectors.data(), uint32_t(sectors.size()), uint32_t(iso.size() / 2048), 0), 0u);
        EXPECT_EQ(sectors, iso);
    }
}

TEST_F(Alcohol, TwoSessions)
{
    const TestDisc disc = TwoSessionDisc(iso);
    WriteAlcohol(Base("two"), disc, false);
    ASSERT_TRUE(drive.SetImageFile(Base("two") + ".mds"));
    ExpectDisc(drive, disc);
}

TEST_F(Alcohol, DvdImage)
{
    WriteAlcoholDvd(Base("dvd"), iso);
    ASSERT_TRUE(drive.SetImageFile(Base("dvd") + ".mds"));
    EXPECT_EQ(drive.GetMediumType(), MediumType::DvdRom);
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> sectors(iso.size());
    ASSERT_EQ(drive.ReadCD_10(sectors.data(), uint32_t(sectors.size()), uint32_t(iso.size() / 2048), 0), 0u);
    EXPECT_EQ(sectors, iso);
}

TEST_F(Alcohol, MissingDataFileIsRefusedAndShortOneUnreadable)
{
    const TestDisc disc = MixedModeDisc(iso);
    WriteAlcohol(Base("gone"), disc, false);
    std::filesystem::remove(Base("gone") + ".mdf");
    EXPECT_FALSE(drive.SetImageFile(Base("gone") + ".mds"));

    WriteAlcohol(Base("short"), disc, false);
    const TestLayout layout = PlanLayout(disc);
    std::filesystem::resize_file(Base("short") + ".mdf", uint64_t(layout.starts[1]) * 2352);
    ASSERT_TRUE(drive.SetImageFile(Base("short") + ".mds"));
    std::vector<uint8_t> raw(2352);
    EXPECT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, layout.starts[1] - 1), 0u);
    EXPECT_NE(drive.ReadCD_All(raw.data(), 2352, 1, layout.starts[1] + 5), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x03, 0x11, 0x00}));
}

TEST_F(Alcohol, EveryBrokenDescriptorByteIsSurvived)
{
    WriteAlcohol(Base("broken"), MixedModeDisc(iso), false);
    const std::string mds = ReadFile(Base("broken") + ".mds");
    std::vector<uint8_t> raw(2352);
    for (size_t at = 16; at < mds.size(); ++at) {
        std::string damaged = mds;
        damaged[at] = char(0xFF ^ uint8_t(damaged[at]));
        WriteFile(Base("broken") + ".mds", damaged);
        if (!drive.SetImageFile(Base("broken") + ".mds"))
            continue;
        EXPECT_EQ(drive.TestUnitReady(), 0u);
        ReadSessions(drive);
        for (int32_t lba = -150; lba < 700; lba += 50)
            drive.ReadCD_All(raw.data(), 2352, 1, lba);
    }
}

} // namespace
