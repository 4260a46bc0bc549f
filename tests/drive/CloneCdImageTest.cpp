#include "ImageChecks.h"

#include "drive/CDevCmdROM.h"

#include <gtest/gtest.h>

#include <regex>

using namespace testing_support;

namespace {

using CloneCd = MultiTrackImageTest;

TEST_F(CloneCd, MixedModeDiscOpensFromTheSheetOrTheImage)
{
    const TestDisc disc = MixedModeDisc(iso);
    WriteCloneCd(Base("mixed"), disc, true);
    for (const char* name : {"mixed.ccd", "mixed.img"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(drive.SetImageFile((dir / name).string()));
        ExpectDisc(drive, disc);
    }
    // The data track reads as the plain ISO does.
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> sectors(iso.size());
    ASSERT_EQ(drive.ReadCD_10(sectors.data(), uint32_t(sectors.size()), uint32_t(iso.size() / 2048), 0), 0u);
    EXPECT_EQ(sectors, iso);
}

TEST_F(CloneCd, TwoSessionsEachWithItsLeadOut)
{
    const TestDisc disc = TwoSessionDisc(iso);
    WriteCloneCd(Base("two"), disc, false);
    ASSERT_TRUE(drive.SetImageFile(Base("two") + ".ccd"));
    ExpectDisc(drive, disc);
}

TEST_F(CloneCd, SectorsTheImageDoesNotHoldAreUnreadable)
{
    const TestDisc disc = MixedModeDisc(iso);
    WriteCloneCd(Base("short"), disc, false);
    const TestLayout layout = PlanLayout(disc);
    // The image ends inside track 2: track 3 and the rest of 2 are missing.
    std::filesystem::resize_file(Base("short") + ".img", uint64_t(layout.starts[1] + 10) * 2352);
    ASSERT_TRUE(drive.SetImageFile(Base("short") + ".ccd"));
    EXPECT_EQ(ReadSessions(drive).back().GetLastTrackNo(), 3);
    std::vector<uint8_t> raw(2352);
    EXPECT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, layout.starts[1] + 9), 0u);
    EXPECT_NE(drive.ReadCD_All(raw.data(), 2352, 1, layout.starts[1] + 10), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x03, 0x11, 0x00}));
    EXPECT_NE(drive.ReadCD_All(raw.data(), 2352, 1, layout.starts[2]), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x03, 0x11, 0x00}));
}

TEST_F(CloneCd, RefusesASheetWithoutImageOrTracks)
{
    const TestDisc disc = MixedModeDisc(iso);
    WriteCloneCd(Base("lonely"), disc, false);
    std::filesystem::remove(Base("lonely") + ".img");
    EXPECT_FALSE(drive.SetImageFile(Base("lonely") + ".ccd"));

    WriteFile(Base("empty") + ".ccd", "[CloneCD]\r\nVersion=3\r\n[Disc]\r\nTocEntries=0\r\n");
    WriteFile(Base("empty") + ".img", std::string(2352 * 20, '\0'));
    EXPECT_FALSE(drive.SetImageFile(Base("empty") + ".ccd"));

    // A sheet far larger than any disc needs is not read.
    WriteCloneCd(Base("huge"), disc, false);
    std::string sheet = ReadFile(Base("huge") + ".ccd");
    sheet += std::string(5 << 20, ';');
    WriteFile(Base("huge") + ".ccd", sheet);
    EXPECT_FALSE(drive.SetImageFile(Base("huge") + ".ccd"));
}

TEST_F(CloneCd, DamagedSheetsAreSurvived)
{
    const TestDisc disc = MixedModeDisc(iso);
    WriteCloneCd(Base("damaged"), disc, false);
    const std::string sheet = ReadFile(Base("damaged") + ".ccd");
    const std::vector<std::string> lines = SplitLines(sheet);
    std::vector<uint8_t> raw(2352);
    // Each line dropped, or its value replaced by nonsense, in turn.
    for (size_t drop = 0; drop < lines.size(); ++drop) {
        for (const char* value : {"", "=-999999999", "=0xFFFFFFFFFF"}) {
            std::string damaged;
            for (size_t i = 0; i < lines.size(); ++i) {
                if (i != drop)
                    damaged += lines[i] + "\r\n";
                else if (*value && lines[i].find('=') != std::string::npos)
                    damaged += lines[i].substr(0, lines[i].find('=')) + value + "\r\n";
            }
            WriteFile(Base("damaged") + ".ccd", damaged);
            if (!drive.SetImageFile(Base("damaged") + ".ccd"))
                continue;
            EXPECT_GE(ReadSessions(drive).GetSessionNum(), 1);
            for (int32_t lba = -150; lba < 800; lba += 25)
                drive.ReadCD_All(raw.data(), 2352, 1, lba);
        }
    }
}

} // namespace
