#include "ImageChecks.h"
#include "support/CdInfo.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/ImageFormats.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace testing_support;

namespace {

// Our table of contents agrees with cd-info's on numbers, starts, types
// and the lead-out.
void ExpectSameTracksAsCdInfo(CDevCmdROM& drive, const std::filesystem::path& image, bool compareTypes = true)
{
    const std::vector<CdInfoTrack> listed = CdInfoTracks("--nrg-file", image);
    ASSERT_GE(listed.size(), 2u) << image;
    const SessionInfo sessions = ReadSessions(drive);
    ASSERT_GE(sessions.GetSessionNum(), 1);
    size_t checked = 0;
    for (int s = 0; s < sessions.GetSessionNum(); ++s) {
        const TocData& session = sessions[size_t(s)];
        for (int n = session.GetFirstTrackNo(); n <= session.GetLastTrackNo(); ++n) {
            const auto it = std::find_if(listed.begin(), listed.end(), [&](const CdInfoTrack& t) { return t.number == n; });
            ASSERT_NE(it, listed.end()) << "track " << n;
            const TocData::_Data* entry = session.GetTrackData(n);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->GetStartPos(), it->lsn) << "track " << n;
            if (compareTypes) {
                EXPECT_EQ(entry->is_audio_track(), it->type == "audio") << "track " << n;
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked + 1, listed.size()); // and the lead-out
    EXPECT_EQ(listed.back().number, 170);
    EXPECT_EQ(int32_t(sessions.back().GetLeadOutStartPos()), listed.back().lsn);
}

class NrgTestData : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("cd-info"))
            GTEST_SKIP() << "cd-info missing";
    }
    CDevCmdROM drive;
};

TEST_F(NrgTestData, NewFooterDaoWithCdTextAgreesWithCdInfo)
{
    const auto image = TestData("nrg/libcdio-p1.nrg");
    ASSERT_TRUE(drive.SetImageFile(image.string()));
    ExpectSameTracksAsCdInfo(drive, image);

    auto text = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(text->bytes, 0, sizeof text->bytes);
    ASSERT_EQ(drive.GetCDText(*text), 0u);
    const auto field = [&](int track, int offset) {
        return std::string(reinterpret_cast<const char*>(text->bytes + FS_CDTEXT_INFO::RecordOffset(track) + offset));
    };
    EXPECT_EQ(field(0, FS_CDTEXT_INFO::kTitle), "Join us now we have the software");
    EXPECT_EQ(field(0, FS_CDTEXT_INFO::kArtist), "Richard Stallman");

    // The pregaps the cue sheet gives (index 0 of track 1 at -150, of
    // track 2 at 225) lie in the file before each track.
    const std::optional<DiscImage> described = OpenDiscImage(image.string());
    ASSERT_TRUE(described);
    ASSERT_EQ(described->tracks.size(), 2u);
    EXPECT_EQ(described->tracks[0].pregapStart, -150);
    EXPECT_EQ(described->tracks[1].pregapStart, 225);
    EXPECT_EQ(described->tracks[0].control & 0x02, 0x02); // copy permitted

    // Audio sectors come back whole; data reads of them are refused.
    std::vector<uint8_t> raw(2352);
    EXPECT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, 150), 0u);
    EXPECT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, 301), 0u);
    EXPECT_NE(drive.ReadCD_10(raw.data(), 2048, 1, 150), 0u);
}

TEST_F(NrgTestData, OldFooterTaoVideoCdAgreesWithCdInfo)
{
    const auto image = TestData("nrg/libcdio-videocd.nrg");
    ASSERT_TRUE(drive.SetImageFile(image.string()));
    ExpectSameTracksAsCdInfo(drive, image);
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> sector(2352);
    ASSERT_EQ(drive.ReadCD_10(sector.data(), 2048, 1, 16), 0u);
    EXPECT_EQ(std::memcmp(&sector[1], "CD001", 5), 0);
    EXPECT_EQ(std::memcmp(&sector[40], "SVIDEOCD", 8), 0);
    // An MPEG track: Mode 2 sectors with their headers rebuilt.
    ASSERT_EQ(drive.ReadCD_All(sector.data(), 2352, 1, 900), 0u);
    EXPECT_EQ(sector[15], 2);
    EXPECT_EQ(sector[12], 0x00); // 00:14:00 as BCD: 900 + 150 = 1050 sectors
    EXPECT_EQ(sector[13], 0x14);
}

using NrgWritten = WrittenImageFixture<::testing::TestWithParam<NrgOptions>>;

TEST_P(NrgWritten, MixedModeDiscWithCdText)
{
    const TestDisc disc = MixedModeDisc(iso);
    const auto path = dir / "mixed.nrg";
    WriteNrg(path, disc, GetParam());
    ASSERT_TRUE(drive.SetImageFile(path.string()));
    ExpectDisc(drive, disc);

    // The data track reads as the same file system as the plain ISO.
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> sectors(iso.size());
    ASSERT_EQ(drive.ReadCD_10(sectors.data(), uint32_t(sectors.size()), uint32_t(iso.size() / 2048), 0), 0u);
    EXPECT_EQ(sectors, iso);

    // libcdio finds the same starts in the writer's file. (It reads only
    // the version 2 disc-at-once layout dependably, and takes every track of
    // such a disc for one type.)
    if (HaveTool("cd-info") && GetParam().version == 2 && !GetParam().trackAtOnce)
        ExpectSameTracksAsCdInfo(drive, path, false);
}

TEST_P(NrgWritten, TwoSessionDisc)
{
    const TestDisc disc = TwoSessionDisc(iso);
    const auto path = dir / "two.nrg";
    WriteNrg(path, disc, GetParam());
    ASSERT_TRUE(drive.SetImageFile(path.string()));
    ExpectDisc(drive, disc);
    // Between the sessions lie lead-out and lead-in: no track, no sector.
    std::vector<uint8_t> raw(2352);
    EXPECT_NE(drive.ReadCD_All(raw.data(), 2352, 1, PlanLayout(disc).leadOuts[0] + 10), 0u);
}

std::string OptionName(const ::testing::TestParamInfo<NrgOptions>& info)
{
    const char* formats[] = {"Cooked", "Raw", "RawSub"};
    return std::string(info.param.trackAtOnce ? "Tao" : "Dao") + "V" + std::to_string(info.param.version) +
           formats[int(info.param.format)];
}

INSTANTIATE_TEST_SUITE_P(Layouts, NrgWritten,
                         ::testing::Values(NrgOptions{1, false, NrgFormat::Raw}, NrgOptions{2, false, NrgFormat::Cooked},
                                           NrgOptions{2, false, NrgFormat::RawWithSubchannel},
                                           NrgOptions{1, true, NrgFormat::Cooked}, NrgOptions{2, true, NrgFormat::Raw},
                                           NrgOptions{2, true, NrgFormat::RawWithSubchannel}),
                         OptionName);

// Damaged images: refused, or opened with the missing sectors unreadable.
class NrgDamaged : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestDisc disc;
        disc.tracks.push_back({1, TestTrackKind::Mode1, std::vector<uint8_t>(20 * 2048, 0x31), "", ""});
        disc.tracks.push_back({1, TestTrackKind::Audio, TestPcm(10, 1), "Song", "Band"});
        WriteNrg(path, disc, {2, false, NrgFormat::Raw});
        bytes = ReadFile(path);
        chainStart = GetBE32(reinterpret_cast<const uint8_t*>(bytes.data()) + bytes.size() - 4);
        ASSERT_EQ(bytes.compare(bytes.size() - 12, 4, "NER5"), 0);
    }
    bool Opens(const std::string& content)
    {
        WriteFile(path, content);
        return drive.SetImageFile(path.string());
    }
    TempDir dir;
    std::filesystem::path path = dir / "small.nrg";
    std::string bytes;
    uint32_t chainStart = 0;
    CDevCmdROM drive;
};

TEST_F(NrgDamaged, FooterOrChunkPastTheEndIsRefused)
{
    std::string damaged = bytes;
    PutBE32(reinterpret_cast<uint8_t*>(&damaged[damaged.size() - 4]), uint32_t(bytes.size() + 100));
    EXPECT_FALSE(Opens(damaged));
    damaged = bytes;
    PutBE32(reinterpret_cast<uint8_t*>(&damaged[chainStart + 4]), 0x7FFFFFF0u); // first chunk's length
    EXPECT_FALSE(Opens(damaged));
    EXPECT_FALSE(Opens(bytes.substr(0, bytes.size() - 3))); // footer cut
    EXPECT_TRUE(Opens(bytes));
}

TEST_F(NrgDamaged, EndlessChunkChainIsRefused)
{
    // Thousands of empty unknown chunks before the real ones.
    std::string chain;
    for (int i = 0; i < 5000; ++i)
        chain += std::string("JUNK") + std::string(4, '\0');
    std::string damaged = bytes.substr(0, chainStart) + chain + bytes.substr(chainStart);
    EXPECT_FALSE(Opens(damaged));
}

TEST_F(NrgDamaged, SectorsBeyondTheDataAreUnreadable)
{
    // Let the last track end 30 sectors later than the data the file holds.
    std::string damaged = bytes;
    const size_t daox = damaged.find("DAOX");
    ASSERT_NE(daox, std::string::npos);
    uint8_t* lastEnd = reinterpret_cast<uint8_t*>(&damaged[daox + 8 + 22 + 42 + 34]);
    PutBE32(lastEnd + 4, GetBE32(lastEnd + 4) + 30 * 2352);
    ASSERT_TRUE(Opens(damaged));
    const SessionInfo sessions = ReadSessions(drive);
    ASSERT_EQ(sessions.GetSessionNum(), 1);
    const int32_t leadOut = int32_t(sessions[0].GetLeadOutStartPos());
    std::vector<uint8_t> raw(2352);
    EXPECT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, leadOut - 31), 0u);
    EXPECT_NE(drive.ReadCD_All(raw.data(), 2352, 1, leadOut - 1), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x03, 0x11, 0x00}));
}

TEST_F(NrgDamaged, EveryBrokenChunkByteIsSurvived)
{
    // Each byte of the chunk chain spoiled in turn: the image is refused or
    // opens, and every sector it promises can be asked for.
    std::vector<uint8_t> raw(2352);
    for (size_t at = chainStart; at < bytes.size(); ++at) {
        for (uint8_t value : {uint8_t(0xFF), uint8_t(0x80)}) {
            std::string damaged = bytes;
            damaged[at] = char(value);
            if (!Opens(damaged))
                continue;
            const SessionInfo sessions = ReadSessions(drive);
            if (sessions.GetSessionNum() == 0)
                continue;
            const int32_t leadOut = int32_t(sessions.back().GetLeadOutStartPos());
            for (int32_t lba = -150; lba < std::min(leadOut, 400); lba += 5)
                drive.ReadCD_All(raw.data(), 2352, 1, lba);
        }
    }
}

TEST(NrgRecognition, ContentDecidesNotTheName)
{
    TempDir dir;
    TestDisc disc;
    disc.tracks.push_back({1, TestTrackKind::Audio, TestPcm(30, 5), "", ""});
    for (const char* name : {"a.vcd", "b.img", "c.iso", "d"}) {
        WriteNrg(dir / name, disc, {1, false, NrgFormat::Raw});
        CDevCmdROM drive;
        EXPECT_TRUE(drive.SetImageFile((dir / name).string())) << name;
        ExpectDisc(drive, disc);
    }
}

} // namespace
