#include "tools/SectorView.h"

#include "drive/MmcCommands.h"
#include "tools/ToolDiscs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

using namespace testing_support;
using tool_discs::DiscBuilder;
using tool_discs::FakeDrive;

namespace {

TEST(SectorDump, LinesAreLaidOutColumnByColumn)
{
    uint8_t bytes[16];
    std::iota(bytes, bytes + 16, uint8_t(0x41));
    EXPECT_EQ(SectorView::DumpLine(bytes, 0), "   0|  41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  |ABCDEFGHIJKLMNOP");
    EXPECT_EQ(SectorView::DumpLine(bytes, 0x920).substr(0, 5), " 920|");

    const std::string header = SectorView::HeaderLine();
    EXPECT_EQ(header, "    |   0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  | ");
    ASSERT_EQ(header.size(), 58u);
    for (int column = 0; column < 16; ++column)
        EXPECT_EQ(header[size_t(8 + 3 * column)], "0123456789ABCDEF"[column]);
    EXPECT_EQ(SectorView::SeparatorLine(), std::string(74, '-'));
}

TEST(SectorDump, ShowsOnlyBytesFrom1FTo7FAsText)
{
    for (int value = 0; value < 256; ++value) {
        uint8_t bytes[16];
        std::fill(bytes, bytes + 16, uint8_t(value));
        const std::string line = SectorView::DumpLine(bytes, 0);
        ASSERT_EQ(line.size(), 73u);
        const char expected = value >= 0x1F && value <= 0x7F ? char(value) : ' ';
        EXPECT_EQ(line.substr(57), std::string(16, expected)) << "byte " << value;
    }
}

TEST(SectorNumber, EditBoxAndScrollArrows)
{
    EXPECT_EQ(SectorView::ParseSectorNumber("16"), 16);
    EXPECT_EQ(SectorView::ParseSectorNumber("abc"), 0);
    EXPECT_EQ(SectorView::ParseSectorNumber(" 12x"), 12);
    EXPECT_EQ(SectorView::ParseSectorNumber("-3"), -3);
    EXPECT_EQ(SectorView::ParseSectorNumber("99999999999"), INT32_MAX);
    EXPECT_EQ(SectorView::ScrollSectorNumber(0, false), 0);
    EXPECT_EQ(SectorView::ScrollSectorNumber(5, false), 4);
    EXPECT_EQ(SectorView::ScrollSectorNumber(5, true), 6);
    EXPECT_EQ(SectorView::ScrollSectorNumber(INT32_MAX, true), INT32_MAX);
}

class SectorViewOnDisc : public ::testing::Test {
protected:
    TempDir dir;
    FakeDrive disc{DiscBuilder(dir.Path()).AddTrack(TrackMode::Mode1, 40).Build()};
    SectorView view;
};

TEST_F(SectorViewOnDisc, RawCdSectorShows147LinesUpTo920)
{
    const SectorView::Result result = view.ShowSector(disc.drive.get(), 16, true);
    EXPECT_EQ(result.outcome, SectorView::Outcome::Shown);
    EXPECT_TRUE(result.cdMedium);
    const auto& lines = view.Lines();
    ASSERT_EQ(lines.size(), 2u + 147u);
    EXPECT_EQ(lines[2].substr(0, 39), "   0|  00 FF FF FF FF FF FF FF FF FF FF");
    EXPECT_EQ(lines.back().substr(0, 5), " 920|");
    // Sector 16's user data (bytes of value 16) starts at offset 16.
    EXPECT_EQ(lines[3].substr(0, 12), "  10|  10 10");
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::ReadCd), 1);
}

TEST_F(SectorViewOnDisc, CookedCdSectorShows128Lines)
{
    EXPECT_EQ(view.ShowSector(disc.drive.get(), 17, false).outcome, SectorView::Outcome::Shown);
    ASSERT_EQ(view.Lines().size(), 2u + 128u);
    EXPECT_EQ(view.Lines()[2].substr(0, 12), "   0|  11 11");
    EXPECT_EQ(view.Lines().back().substr(0, 5), " 7F0|");
}

TEST_F(SectorViewOnDisc, DvdIsReadCookedWhateverTheBox)
{
    disc.fake->SetProfile(MediumType::DvdRom);
    const SectorView::Result result = view.ShowSector(disc.drive.get(), 16, true);
    EXPECT_FALSE(result.cdMedium);
    EXPECT_EQ(view.Lines().size(), 2u + 128u);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::ReadCd), 0);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::Read10), 1);
}

TEST_F(SectorViewOnDisc, CookedReadFallsBackToRead10)
{
    disc.fake->RejectOpcode(Mmc::Opcode::ReadCd, Sense::InvalidOpcode);
    EXPECT_EQ(view.ShowSector(disc.drive.get(), 16, false).outcome, SectorView::Outcome::Shown);
    EXPECT_EQ(view.Lines().size(), 2u + 128u);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::Read10), 1);
}

TEST_F(SectorViewOnDisc, NegativeSectorOrNotReadyLeavesTheOldDump)
{
    ASSERT_EQ(view.ShowSector(disc.drive.get(), 16, true).outcome, SectorView::Outcome::Shown);
    const std::vector<std::string> before = view.Lines();
    disc.fake->ResetCounts();
    EXPECT_EQ(view.ShowSector(disc.drive.get(), -1, true).outcome, SectorView::Outcome::Unchanged);
    disc.fake->SetNotReady(true);
    EXPECT_EQ(view.ShowSector(disc.drive.get(), 17, true).outcome, SectorView::Outcome::Unchanged);
    EXPECT_EQ(view.ShowSector(nullptr, 17, true).outcome, SectorView::Outcome::Unchanged);
    EXPECT_EQ(view.Lines(), before);
    EXPECT_EQ(disc.fake->CountOf(Mmc::Opcode::ReadCd) + disc.fake->CountOf(Mmc::Opcode::Read10), 0);
}

TEST_F(SectorViewOnDisc, FailedReadEmptiesTheDumpAndLeavesZeros)
{
    ASSERT_EQ(view.ShowSector(disc.drive.get(), 16, true).outcome, SectorView::Outcome::Shown);
    disc.fake->FailSector(20, Sense::UnrecoveredReadError);
    EXPECT_EQ(view.ShowSector(disc.drive.get(), 20, true).outcome, SectorView::Outcome::ReadFailed);
    EXPECT_TRUE(view.Lines().empty());
    for (uint8_t byte : view.Buffer())
        ASSERT_EQ(byte, 0);
}

TEST_F(SectorViewOnDisc, SavedSectorIsAlways2352Bytes)
{
    ASSERT_EQ(view.ShowSector(disc.drive.get(), 17, false).outcome, SectorView::Outcome::Shown);
    const auto path = dir / "Sector.dat";
    WriteFile(path, std::string(5000, 'x'));
    ASSERT_TRUE(view.SaveSector(path.string()));
    const std::string saved = ReadFile(path);
    ASSERT_EQ(saved.size(), 2352u);
    EXPECT_EQ(saved.substr(0, 2048), std::string(2048, char(17)));
    EXPECT_EQ(saved.substr(2048), std::string(304, '\0'));
    EXPECT_FALSE(view.SaveSector((dir / "missing" / "Sector.dat").string()));
}

TEST_F(SectorViewOnDisc, BindingSetsTheAllModeBox)
{
    const SectorView::AllModeBox unchecked{false, false};
    // Sector mode 2 checks the box; readable disc information enables it.
    EXPECT_TRUE(SectorView::AllModeOnBind(disc.drive.get(), 2, unchecked).checked);
    EXPECT_TRUE(SectorView::AllModeOnBind(disc.drive.get(), 2, unchecked).enabled);
    EXPECT_FALSE(SectorView::AllModeOnBind(disc.drive.get(), 1, unchecked).checked);
    EXPECT_FALSE(SectorView::AllModeOnBind(nullptr, 2, {true, true}).enabled);
    std::vector<uint8_t> discInfo(34, 0);
    discInfo[8] = 0xFF;
    disc.fake->SetReply(Mmc::Opcode::ReadDiscInformation, discInfo);
    EXPECT_FALSE(SectorView::AllModeOnBind(disc.drive.get(), 2, unchecked).enabled);
}

} // namespace
