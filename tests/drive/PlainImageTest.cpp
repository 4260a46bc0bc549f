#include "drive/CDevCmdROM.h"
#include "drive/SectorSynth.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testing_support;

namespace {

class PlainImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        WriteFile(dir / "a.txt", "hello");
        ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-J", "-o", (dir / "disc.iso").string(), (dir / "a.txt").string()})
                      .exitCode,
                  0);
        ASSERT_TRUE(drive.SetImageFile((dir / "disc.iso").string()));
    }
    TempDir dir;
    CDevCmdROM drive;
};

TEST_F(PlainImage, ReadsCookedAndSynthesisedRawSectors)
{
    EXPECT_EQ(drive.TestUnitReady(), 0u);
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> cooked(2048), raw(2352);
    ASSERT_EQ(drive.ReadCD_10(cooked.data(), 2048, 1, 16), 0u);
    EXPECT_EQ(std::memcmp(&cooked[1], "CD001", 5), 0);
    ASSERT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, 16), 0u);
    EXPECT_EQ(std::memcmp(raw.data(), SectorSynth::kSync, 12), 0);
    EXPECT_EQ(raw[15], 1);
    EXPECT_EQ(std::memcmp(&raw[16], cooked.data(), 2048), 0);
    // The EDC covers sync, header and data.
    const uint32_t edc = SectorSynth::ComputeEdc(raw.data(), 2064);
    EXPECT_EQ(raw[2064], uint8_t(edc));
}

TEST_F(PlainImage, ReportsDriveSenseCodes)
{
    std::vector<uint8_t> buffer(2352);
    EXPECT_NE(drive.ReadCD_10(buffer.data(), 2048, 1, 1000000), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x05, 0x21, 0x00}));
}

TEST(ImageEntry, RefusesFilesThatAreNoImage)
{
    TempDir dir;
    WriteFile(dir / "note.txt", std::string(4096, 'x'));
    CDevCmdROM drive;
    EXPECT_FALSE(drive.SetImageFile((dir / "note.txt").string()));
    EXPECT_FALSE(drive.SetImageFile((dir / "missing.iso").string()));
    EXPECT_NE(drive.TestUnitReady(), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x02, 0x3A, 0x00}));
}

} // namespace
