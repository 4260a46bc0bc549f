// The disc probe through scripted drives: which commands it asks, the
// one-track table of drives without one, and the tree it builds for
// multi-session, mixed and blank discs.
#include "common/ByteOrder.h"
#include "drive/MmcCommands.h"
#include "drive/SenseData.h"
#include "support/ExplorerHarness.h"
#include "support/FakeTarget.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>

using namespace testing_support;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

class DiscProbe : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
    }

    // An ISO 9660 image of one folder with one file; its volume starts at
    // sector `at` (a later session's LBAs are absolute).
    fs::path SessionImage(const std::string& name, const std::string& folder, int32_t at = 0)
    {
        const fs::path root = dir / (name + ".d");
        fs::create_directories(root / folder);
        WriteFile(root / folder / "FILE.TXT", name);
        std::vector<std::string> options;
        if (at != 0)
            options = {"-C", "0," + std::to_string(at)};
        const fs::path image = MakeIso(root, dir / (name + ".iso"), options);
        EXPECT_FALSE(image.empty());
        return image;
    }

    static int32_t Sectors(const fs::path& image) { return int32_t(fs::file_size(image) / 2048); }

    static DiscImage SingleIso(const fs::path& image)
    {
        DiscImage disc;
        disc.files = {image.string()};
        const int32_t n = Sectors(image);
        disc.sessions = {{1, 0x00, n}};
        disc.tracks = {ImageTrack{1, 1, TrackMode::Mode1, 0x04, 0, 0, n, {}, {}}};
        disc.runs = {{0, n, SectorStorage::User2048, 0, 0, 2048, false}};
        return disc;
    }

    TempDir dir;
};

TEST_F(DiscProbe, CdWithARawTableIsAskedForItOnce)
{
    auto fake = FakeDriveFor(SingleIso(SessionImage("one", "DOCS")));
    FakeTarget& target = *fake;
    ExplorerHarness h(std::move(fake));
    h.Show();
    EXPECT_EQ(target.CountOf(Mmc::Opcode::ReadTocPmaAtip, Mmc::TocFormat::Raw), 1);
    EXPECT_EQ(target.CountOf(Mmc::Opcode::ReadTrackInformation), 0);
    EXPECT_EQ(h.TreeText(), "Session 1\n  DATA TRACK 1(ISO)\n    DOCS\n(Lead Out) " +
                                std::to_string(Sectors(dir / "one.iso")) + "\n");
    EXPECT_EQ(h.explorer.GetFileSystemKind(), 1);
    EXPECT_EQ(h.explorer.GetSectorMode(), 1);
    // The first track node is selected and its root folder listed.
    EXPECT_EQ(h.tree.GetItemText(h.tree.GetSelectedItem()), "DATA TRACK 1(ISO)");
    EXPECT_EQ(h.Column(0), std::vector<std::string>{"DOCS"});
}

TEST_F(DiscProbe, DvdIsNotAskedForItsTableFirst)
{
    auto fake = FakeDriveFor(SingleIso(SessionImage("dvd", "VIDEO_TS")));
    FakeTarget& target = *fake;
    target.SetProfile(MediumType::DvdRom);
    ExplorerHarness h(std::move(fake));
    h.Show();
    // Only MakeSingleTrackToc asks, and the drive's table is used.
    EXPECT_EQ(target.CountOf(Mmc::Opcode::ReadTocPmaAtip, Mmc::TocFormat::Raw), 1);
    EXPECT_EQ(target.CountOf(Mmc::Opcode::ReadTrackInformation), 0);

    target.ResetCounts();
    target.SetNoToc(true);
    h.Show();
    EXPECT_EQ(target.CountOf(Mmc::Opcode::ReadTocPmaAtip, Mmc::TocFormat::Raw), 1);
    EXPECT_EQ(h.TreeText(), "Session 1\n  DATA TRACK 1(ISO)\n    VIDEO_TS\n(Lead Out) " +
                                std::to_string(Sectors(dir / "dvd.iso")) + "\n");
}

TEST_F(DiscProbe, DvdSizedImageTakesTheOneTrackPath)
{
    const fs::path image = SessionImage("big", "DATA");
    const int32_t sectors = 100 * 60 * 75; // more than the longest CD
    fs::resize_file(image, uint64_t(sectors) * 2048); // sparse
    ExplorerHarness h(image);
    ASSERT_TRUE(h.drive->IsImageEntry());
    h.Show();
    EXPECT_EQ(h.TreeText(), "Session 1\n  DATA TRACK 1(ISO)\n    DATA\n(Lead Out) " + std::to_string(sectors) + "\n");
}

// A READ TRACK INFORMATION reply for track 1 at `start` with `size` sectors.
std::vector<uint8_t> TrackInformation(uint32_t start, uint32_t size)
{
    std::vector<uint8_t> reply(36, 0);
    reply[1] = 34;
    reply[2] = 1;
    PutBE32(reply.data() + 8, start);
    PutBE32(reply.data() + 24, size);
    return reply;
}

TEST(SingleTrackToc, EncodesTheTrackEndAsHourMinuteSecondFrame)
{
    struct Case {
        uint32_t end;
        uint8_t h, m, s, f;
    };
    for (const Case& c : {Case{2295104, 5, 60, 3, 29}, Case{449850, 1, 10, 0, 0}, Case{0, 0, 0, 2, 0}}) {
        auto fake = std::make_unique<FakeTarget>();
        fake->SetNoToc(true);
        fake->SetReply(Mmc::Opcode::ReadTrackInformation, TrackInformation(0, c.end));
        ExplorerHarness h(std::move(fake));
        DISC_INFO info{};
        info.bytes[3] = 1;
        uint8_t toc[2048] = {};
        ASSERT_EQ(h.explorer.MakeSingleTrackToc(info, *h.drive, toc, sizeof toc), 0u);
        const uint8_t header[] = {0x00, 0x2E, 0x01, 0x01};
        EXPECT_EQ(std::memcmp(toc, header, 4), 0);
        EXPECT_EQ(toc[29], 0xA2);
        EXPECT_EQ(toc[33], c.h) << c.end;
        EXPECT_EQ(toc[34], c.m) << c.end;
        EXPECT_EQ(toc[35], c.s) << c.end;
        EXPECT_EQ(toc[36], c.f) << c.end;
        const uint8_t track1[] = {0x01, 0x14, 0x00, 0x01, 0, 0, 0, 0, 0x00, 0x02, 0x00};
        EXPECT_EQ(std::memcmp(toc + 37, track1, 11), 0);
    }
}

TEST_F(DiscProbe, NeitherTableNorTrackInformationShowsABlankDisc)
{
    auto fake = FakeDriveFor(SingleIso(SessionImage("blank", "DOCS")));
    fake->SetNoToc(true);
    fake->RejectOpcode(Mmc::Opcode::ReadTrackInformation, Sense::InvalidFieldInCdb);
    ExplorerHarness h(std::move(fake));
    h.list.InsertRow("kept", 0, 0);
    h.Show();
    EXPECT_EQ(h.TreeText(), "Blank Disc\n");
    EXPECT_EQ(h.tree.GetSelectedItem(), kNoNode);
    EXPECT_EQ(h.list.GetRowCount(), 1); // nothing selected: the list stays
}

TEST_F(DiscProbe, TwoSessionsShowTwoSessionNodesAndTheLastLeadOut)
{
    const fs::path first = SessionImage("first", "OLD");
    const int32_t n1 = Sectors(first);
    const int32_t start2 = n1 + 11400;
    const fs::path second = SessionImage("second", "NEW", start2);
    const int32_t n2 = Sectors(second);

    DiscImage disc;
    disc.files = {first.string(), second.string()};
    disc.sessions = {{1, 0x00, n1}, {2, 0x00, start2 + n2}};
    disc.tracks = {ImageTrack{1, 1, TrackMode::Mode1, 0x04, 0, 0, n1, {}, {}},
                   ImageTrack{2, 2, TrackMode::Mode1, 0x04, start2, start2, start2 + n2, {}, {}}};
    disc.runs = {{0, n1, SectorStorage::User2048, 0, 0, 2048, false},
                 {start2, n2, SectorStorage::User2048, 1, 0, 2048, false}};
    ASSERT_TRUE(disc.IsConsistent());

    ExplorerHarness h(FakeDriveFor(disc));
    h.Show();
    EXPECT_EQ(h.TreeText(), "Session 1\n  DATA TRACK 1(ISO)\n    OLD\nSession 2\n  DATA TRACK 2(ISO)\n    NEW\n"
                            "(Lead Out) " + std::to_string(start2 + n2) + "\n");
    ASSERT_TRUE(h.Select("Session 2/DATA TRACK 2(ISO)/NEW"));
    ASSERT_EQ(h.Rows().size(), 1u);
    EXPECT_EQ(h.Rows()[0][0], "FILE.TXT");
    EXPECT_EQ(h.Rows()[0][3], "6"); // "second"
    ASSERT_TRUE(h.Select("Session 1/DATA TRACK 1(ISO)/OLD"));
    EXPECT_EQ(h.Rows()[0][3], "5"); // "first"
}

// A session of an audio track followed by a data track, with CD-Text for
// the audio track.
class MixedSession : public DiscProbe {
protected:
    void SetUp() override
    {
        DiscProbe::SetUp();
        if (IsSkipped())
            return;
        const fs::path data = SessionImage("data", "DOCS", 0);
        const int32_t audio = 3000;
        const int32_t n = Sectors(data);
        disc.files = {data.string()};
        disc.sessions = {{1, 0x00, audio + n}};
        disc.tracks = {ImageTrack{1, 1, TrackMode::Audio, 0x00, 0, 0, audio, {}, {}},
                       ImageTrack{2, 1, TrackMode::Mode1, 0x04, audio, audio, audio + n, {}, {}}};
        disc.runs = {{0, audio, SectorStorage::Absent, -1, 0, 2352, false},
                     {audio, n, SectorStorage::User2048, 0, 0, 2048, false}};
        AddTextPacks(0x80, "Album\0Song One\0"s);
        AddTextPacks(0x81, "Band\0Singer\0"s);
        ASSERT_TRUE(disc.IsConsistent());
    }

    // One pack type's texts from track 0 on, 12 bytes a pack.
    void AddTextPacks(uint8_t type, const std::string& texts)
    {
        int track = 0;
        size_t charInTrack = 0;
        for (size_t at = 0; at < texts.size(); at += 12) {
            uint8_t pack[18] = {type, uint8_t(track), 0, uint8_t(std::min<size_t>(charInTrack, 15))};
            for (size_t i = 0; i < 12 && at + i < texts.size(); ++i) {
                pack[4 + i] = uint8_t(texts[at + i]);
                if (texts[at + i] == '\0') {
                    ++track;
                    charInTrack = 0;
                } else {
                    ++charInTrack;
                }
            }
            disc.cdTextPacks.insert(disc.cdTextPacks.end(), pack, pack + 18);
        }
    }

    DiscImage disc;
};

TEST_F(MixedSession, DataTrackAfterAudioHasNoSuffixAndNoFolders)
{
    ExplorerHarness h(FakeDriveFor(disc));
    h.Show();
    EXPECT_EQ(h.TreeText(), "Session 1\n  AUDIO TRACK 1\n  DATA TRACK 2\n(Lead Out) " +
                                std::to_string(disc.sessions[0].leadOutStart) + "\n");
    EXPECT_EQ(h.explorer.GetFileSystemKind(), 0);
    // Item data 0: the list is emptied, sector 0 is not listed as a folder.
    h.list.InsertRow("stale", 0, 0);
    ASSERT_TRUE(h.Select("Session 1/DATA TRACK 2"));
    EXPECT_EQ(h.list.GetRowCount(), 0);
}

TEST_F(MixedSession, AudioTrackShowsItsCdTextRows)
{
    ExplorerHarness h(FakeDriveFor(disc));
    h.Show(); // selects AUDIO TRACK 1
    ASSERT_EQ(h.list.GetColumnCount(), 2);
    EXPECT_EQ(h.list.GetColumnHeader(0), "CDTEXT Item");
    EXPECT_EQ(h.list.GetColumnHeader(1), "CDTEXT Info");
    EXPECT_EQ(h.Column(0), (std::vector<std::string>{"ARTIST", "ISRC", "szComposer", "szSongster", "szSpecialTitle",
                                                     "TITLE"}));
    EXPECT_EQ(h.Column(1), (std::vector<std::string>{"Singer", "", "", "", "", "Song One"}));

    // A session node empties the list and keeps the CD-Text columns.
    ASSERT_TRUE(h.Select("Session 1"));
    EXPECT_EQ(h.list.GetRowCount(), 0);
    EXPECT_EQ(h.list.GetColumnCount(), 2);
}

TEST_F(DiscProbe, DriveNotReadyIsReportedAndLeavesTheTreeEmpty)
{
    auto fake = FakeDriveFor(SingleIso(SessionImage("nr", "DOCS")));
    fake->SetNotReady(true);
    ExplorerHarness h(std::move(fake));
    h.Show();
    EXPECT_EQ(h.tree.NodeCount(), 0u);
    EXPECT_EQ(h.messages, std::vector<std::string>{"Device not Ready,Please try again!"});
    EXPECT_EQ(h.explorer.GetCurrentDrive(), h.drive.get());
}

TEST_F(DiscProbe, NullDriveOnlyEmptiesTheTree)
{
    ExplorerHarness h(FakeDriveFor(SingleIso(SessionImage("null", "DOCS"))));
    h.Show();
    const int rows = h.list.GetRowCount();
    h.explorer.ShowDisc(nullptr);
    EXPECT_EQ(h.tree.NodeCount(), 0u);
    EXPECT_EQ(h.list.GetRowCount(), rows);
    EXPECT_EQ(h.explorer.GetCurrentDrive(), h.drive.get());
}

} // namespace
