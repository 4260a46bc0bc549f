#include "tools/TocTable.h"

#include "drive/CDevCmdROM.h"
#include "drive/ImageFormats.h"
#include "drive/ImageTarget.h"
#include "drive/MmcCommands.h"
#include "explorer/MemoryControls.h"
#include "support/DiscImages.h"
#include "support/FakeTarget.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// A drive that holds a sheet from the corpus behind the scriptable fake.
class TocTableFill : public ::testing::Test {
protected:
    void Load(const std::string& sheet)
    {
        auto image = OpenDiscImage(TestData(sheet).string());
        ASSERT_TRUE(image);
        auto fakeTarget = std::make_unique<FakeTarget>(std::make_unique<ImageTarget>(std::move(*image)));
        fake = fakeTarget.get();
        drive = std::make_unique<CDevCmdROM>("/dev/sr0", std::move(fakeTarget), 1);
    }
    FakeTarget* fake = nullptr;
    std::unique_ptr<CDevCmdROM> drive;
    MemoryList list;
};

TEST_F(TocTableFill, ColumnsAndRowsFromTheTableOfContents)
{
    Load("cue-toc/generated-vcdimager/vcd2-2352.cue");
    list.InsertColumn(0, "stale", 10);
    EXPECT_EQ(TocTable::FillToc(*drive, list), TocTable::FillResult::Filled);
    ASSERT_EQ(list.GetColumnCount(), 5);
    const std::pair<const char*, int> columns[] = {
        {"Session Index", 150}, {"Track Index", 90}, {"Track Type", 150}, {"Start Pos", 90}, {"End pos", 90}};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(list.GetColumnHeader(c), columns[c].first);
        EXPECT_EQ(list.GetColumnWidth(c), columns[c].second);
    }
    EXPECT_EQ(ListRows(list), (Rows{{"Session 1", "1", "DATA(Mode2)", "0", "449"},
                                  {"Session 1", "2", "DATA(Mode2)", "450", "749"},
                                  {"Session 1", "3", "DATA(Mode2)", "750", "1049"}}));
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadTocPmaAtip, 2), 1);
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadTrackInformation), 3);
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadDiscInformation), 0);
}

TEST_F(TocTableFill, AudioTracksAskNoTrackInformation)
{
    Load("cue-toc/libcdio/cdda_4_5.cue");
    TocTable::FillToc(*drive, list);
    EXPECT_EQ(ListRows(list), (Rows{{"Session 1", "4", "AUDIO", "0", "149"}, {"Session 1", "5", "AUDIO", "150", "301"}}));
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadTrackInformation), 0);
}

TEST_F(TocTableFill, NotReadyLeavesHeadersOnly)
{
    Load("cue-toc/libcdio/cdda.cue");
    fake->SetNotReady(true);
    EXPECT_EQ(TocTable::FillToc(*drive, list), TocTable::FillResult::NotReady);
    EXPECT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadTocPmaAtip), 0);
}

TEST_F(TocTableFill, TrackInformationUnavailableGivesPlainData)
{
    Load("cue-toc/libcdio/isofs-m1.cue");
    fake->RejectOpcode(Mmc::Opcode::ReadTrackInformation, Sense::InvalidOpcode);
    TocTable::FillToc(*drive, list);
    EXPECT_EQ(ListRows(list), (Rows{{"Session 1", "1", "DATA", "0", "301"}}));
}

TEST_F(TocTableFill, WithoutTableOfContentsTrackInformationFills)
{
    // A DVD drive without a readable full TOC: same last sectors, every
    // track "DATA", the session number alone.
    Load("cue-toc/generated-vcdimager/vcd2-2352.cue");
    fake->SetNoToc(true);
    fake->SetProfile(MediumType::DvdRom);
    EXPECT_EQ(TocTable::FillToc(*drive, list), TocTable::FillResult::Filled);
    EXPECT_EQ(ListRows(list), (Rows{{"1", "1", "DATA", "0", "449"},
                                  {"1", "2", "DATA", "450", "749"},
                                  {"1", "3", "DATA", "750", "1049"}}));
    EXPECT_EQ(fake->CountOf(Mmc::Opcode::ReadDiscInformation), 1);
    EXPECT_EQ(drive->GetMediumType(), MediumType::DvdRom);
}

TEST_F(TocTableFill, FailedTrackInformationDropsItsRow)
{
    Load("cue-toc/libcdio/cdda_4_5.cue");
    fake->SetNoToc(true);
    fake->RejectOpcode(Mmc::Opcode::ReadTrackInformation, Sense::InvalidFieldInCdb);
    TocTable::FillToc(*drive, list);
    EXPECT_EQ(list.GetRowCount(), 0);
    fake->RejectOpcode(Mmc::Opcode::ReadDiscInformation, Sense::InvalidOpcode);
    TocTable::FillFromTrackInfo(*drive, list);
    EXPECT_EQ(list.GetRowCount(), 0);
}

// A raw TOC reply: descriptors of (session, ADR/control, point, PMIN, PSEC, PFRAME).
std::vector<uint8_t> RawToc(const std::vector<std::array<uint8_t, 6>>& entries)
{
    std::vector<uint8_t> reply(4, 0);
    for (const auto& e : entries) {
        const uint8_t d[11] = {e[0], e[1], 0, e[2], 0, 0, 0, 0, e[3], e[4], e[5]};
        reply.insert(reply.end(), d, d + 11);
    }
    reply[0] = uint8_t((reply.size() - 2) >> 8);
    reply[1] = uint8_t(reply.size() - 2);
    reply[2] = 1;
    reply[3] = entries.back()[0];
    return reply;
}

TEST_F(TocTableFill, LastTrackOfASessionEndsAtItsOwnLeadOut)
{
    Load("cue-toc/libcdio/cdda.cue");
    // Session 1: track 1 at 00:02:00, lead-out at 10:00:00; session 2:
    // track 2 at 12:34:00 (after lead-out, lead-in and pregap), lead-out
    // at 20:00:00. A skip-interval entry (ADR 5) reuses point 1.
    fake->SetReply(Mmc::Opcode::ReadTocPmaAtip,
                   RawToc({{1, 0x10, 0xA0, 1, 0, 0}, {1, 0x10, 0xA1, 1, 0, 0}, {1, 0x10, 0xA2, 10, 0, 0},
                           {1, 0x10, 1, 0, 2, 0}, {1, 0x50, 1, 50, 0, 0}, {2, 0x14, 0xA0, 2, 0x20, 0},
                           {2, 0x14, 0xA1, 2, 0, 0}, {2, 0x14, 0xA2, 20, 0, 0}, {2, 0x14, 2, 12, 34, 0}}));
    fake->RejectOpcode(Mmc::Opcode::ReadTrackInformation, Sense::InvalidFieldInCdb);
    TocTable::FillToc(*drive, list);
    EXPECT_EQ(ListRows(list), (Rows{{"Session 1", "1", "AUDIO", "0", "44849"},
                                  {"Session 2", "2", "DATA", "56400", "89849"}}));
}

TEST_F(TocTableFill, NextTrackAtFFFFFFEndsAt16777214)
{
    Load("cue-toc/libcdio/cdda.cue");
    fake->SetReply(Mmc::Opcode::ReadTocPmaAtip,
                   RawToc({{1, 0x10, 0xA0, 1, 0, 0}, {1, 0x10, 0xA1, 2, 0, 0}, {1, 0x10, 0xA2, 10, 0, 0},
                           {1, 0x10, 1, 0, 2, 0}, {1, 0x10, 2, 0xFF, 0xFF, 0xFF}}));
    TocTable::FillToc(*drive, list);
    ASSERT_EQ(list.GetRowCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 4), "16777214");
    EXPECT_EQ(list.GetItemText(1, 3), "16777215");
}

} // namespace
