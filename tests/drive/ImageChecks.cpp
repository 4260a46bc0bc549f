#include "ImageChecks.h"

#include "common/ByteOrder.h"
#include "support/DiscImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace testing_support {

SessionInfo ReadSessions(CDevCmdROM& drive)
{
    std::vector<uint8_t> reply(4096, 0);
    if (drive.ReadToc(reply.data(), uint32_t(reply.size()), 2, 0) != 0)
        return {};
    const int length = int(GetBE16(reply.data())) - 2;
    return SessionInfo(reply.data() + 4, std::min(length, int(reply.size()) - 4));
}

std::vector<uint8_t> MakeIsoBytes(const TempDir& dir, const std::string& label)
{
    if (!HaveTool("genisoimage"))
        return {};
    const std::filesystem::path iso = MakeIso(dir.Path(), label);
    const std::string bytes = iso.empty() ? std::string() : ReadFile(iso);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TestDisc MixedModeDisc(const std::vector<uint8_t>& iso)
{
    TestDisc disc;
    disc.title = "Mixed Disc";
    disc.performer = "The Testers";
    disc.tracks.push_back({1, TestTrackKind::Mode1, iso, "", ""});
    disc.tracks.push_back({1, TestTrackKind::Audio, TestPcm(80, 3), "First Song", "Singer A"});
    disc.tracks.push_back({1, TestTrackKind::Audio, TestPcm(60, 9), "Second Song", "Singer B"});
    return disc;
}

TestDisc TwoSessionDisc(const std::vector<uint8_t>& iso)
{
    TestDisc disc;
    disc.tracks.push_back({1, TestTrackKind::Mode1, iso, "", ""});
    std::vector<uint8_t> second(40 * 2048);
    for (size_t i = 0; i < second.size(); ++i)
        second[i] = uint8_t(i * 13 / 2048 + i);
    disc.tracks.push_back({2, TestTrackKind::Mode2Form1, second, "", ""});
    return disc;
}

void ExpectDisc(CDevCmdROM& drive, const TestDisc& disc)
{
    ASSERT_EQ(drive.TestUnitReady(), 0u);
    const TestLayout layout = PlanLayout(disc);
    const SessionInfo sessions = ReadSessions(drive);
    ASSERT_EQ(sessions.GetSessionNum(), int(layout.leadOuts.size()));
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        const TestTrack& t = disc.tracks[i];
        const TocData& session = sessions[size_t(t.session) - 1];
        const TocData::_Data* entry = session.GetTrackData(int(i) + 1);
        ASSERT_NE(entry, nullptr) << "track " << i + 1;
        EXPECT_EQ(entry->GetStartPos(), layout.starts[i]) << "track " << i + 1;
        EXPECT_EQ(entry->is_data_track(), t.kind != TestTrackKind::Audio) << "track " << i + 1;
    }
    for (size_t s = 0; s < layout.leadOuts.size(); ++s)
        EXPECT_EQ(int32_t(sessions[s].GetLeadOutStartPos()), layout.leadOuts[s]) << "session " << s + 1;

    // First, a middle and the last sector of every track, and a pregap sector.
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        const TestTrack& t = disc.tracks[i];
        const int32_t n = t.Sectors();
        for (int32_t k : {0, n / 2, n - 1}) {
            const int32_t lba = layout.starts[i] + k;
            std::vector<uint8_t> raw(2352, 0);
            ASSERT_EQ(drive.ReadCD_All(raw.data(), 2352, 1, lba), 0u) << "sector " << lba;
            std::vector<uint8_t> expected = RawSector(disc, i, lba);
            if (t.kind == TestTrackKind::Mode2Form1) {
                // An image of user data alone keeps no sub-header: compare
                // the header and the user data.
                raw.resize(2072);
                expected.resize(2072);
                std::fill(raw.begin() + 16, raw.begin() + 24, 0);
                std::fill(expected.begin() + 16, expected.begin() + 24, 0);
            }
            EXPECT_EQ(raw, expected) << "sector " << lba;
            if (t.kind == TestTrackKind::Audio)
                continue;
            std::vector<uint8_t> cooked(2048, 0);
            ASSERT_EQ(drive.ReadCD_10(cooked.data(), 2048, 1, lba), 0u) << "sector " << lba;
            EXPECT_EQ(std::memcmp(cooked.data(), &t.data[size_t(k) * 2048], 2048), 0) << "sector " << lba;
        }
        if (i > 0) {
            std::vector<uint8_t> raw(2352, 0);
            const int32_t pregap = layout.starts[i] - 1;
            if (drive.ReadCD_All(raw.data(), 2352, 1, pregap) == 0) {
                EXPECT_EQ(raw, RawSector(disc, i, pregap)) << "pregap sector " << pregap;
            }
        }
    }

    if (!disc.HasCdText())
        return;
    auto text = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(text->bytes, 0, sizeof text->bytes);
    ASSERT_EQ(drive.GetCDText(*text), 0u);
    auto field = [&](int track, int offset) {
        return std::string(reinterpret_cast<const char*>(text->bytes + FS_CDTEXT_INFO::RecordOffset(track) + offset));
    };
    EXPECT_EQ(field(0, FS_CDTEXT_INFO::kTitle), disc.title);
    EXPECT_EQ(field(0, FS_CDTEXT_INFO::kArtist), disc.performer);
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        EXPECT_EQ(field(int(i) + 1, FS_CDTEXT_INFO::kTitle), disc.tracks[i].title);
        EXPECT_EQ(field(int(i) + 1, FS_CDTEXT_INFO::kArtist), disc.tracks[i].performer);
    }
}

} // namespace testing_support
