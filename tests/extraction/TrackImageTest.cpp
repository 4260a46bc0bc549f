#include "ExtractionFixtures.h"

#include "common/ByteOrder.h"
#include "extraction/TrackImage.h"
#include "extraction/TrackRange.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;
using namespace testing_support;
using namespace extraction_test;

namespace {

TEST(TrackFormat, FollowsKindAndPathInAnyCase)
{
    EXPECT_EQ(ChooseTrackFormat(0, "/tmp/a.wav"), TrackFormat::Wav);
    EXPECT_EQ(ChooseTrackFormat(0, "/tmp/A.WAV"), TrackFormat::Wav);
    EXPECT_EQ(ChooseTrackFormat(0, "/tmp/a.dat"), TrackFormat::Raw);
    EXPECT_EQ(ChooseTrackFormat(0, "/tmp/a.iso"), TrackFormat::Raw);
    EXPECT_EQ(ChooseTrackFormat(1, "/tmp/Track1.ISO"), TrackFormat::Iso);
    EXPECT_EQ(ChooseTrackFormat(1, "/tmp/a.wav"), TrackFormat::Raw);
    EXPECT_EQ(ChooseTrackFormat(1, "/tmp/a.dat"), TrackFormat::Raw);
}

TEST(TrackFormat, WavHeaderStatesTheRawLength)
{
    const auto h = MakeWavHeader(20);
    EXPECT_EQ(std::memcmp(&h[0], "RIFF", 4), 0);
    EXPECT_EQ(GetLE32(&h[4]), 47076u);
    EXPECT_EQ(std::memcmp(&h[8], "WAVEfmt ", 8), 0);
    EXPECT_EQ(GetLE32(&h[16]), 16u);
    EXPECT_EQ(GetLE16(&h[20]), 1u);
    EXPECT_EQ(GetLE16(&h[22]), 2u);
    EXPECT_EQ(GetLE32(&h[24]), 44100u);
    EXPECT_EQ(GetLE32(&h[28]), 176400u);
    EXPECT_EQ(GetLE16(&h[32]), 4u);
    EXPECT_EQ(GetLE16(&h[34]), 16u);
    EXPECT_EQ(std::memcmp(&h[36], "data", 4), 0);
    EXPECT_EQ(GetLE32(&h[40]), 47040u);
}

// Raw READ TOC format 2 descriptors (after the 4-byte header).
struct TocBuilder {
    std::vector<uint8_t> bytes;
    void Add(int session, uint8_t control, uint8_t point, int32_t lba)
    {
        const int32_t frames = lba + 150;
        bytes.insert(bytes.end(), {uint8_t(session), uint8_t(0x10 | control), 0, point, 0, 0, 0, 0,
                                   uint8_t(frames / 4500), uint8_t(frames / 75 % 60), uint8_t(frames % 75)});
    }
    void AddSession(int session, int first, int last, int32_t leadOut)
    {
        bytes.insert(bytes.end(), {uint8_t(session), 0x14, 0, 0xA0, 0, 0, 0, 0, uint8_t(first), 0, 0});
        bytes.insert(bytes.end(), {uint8_t(session), 0x14, 0, 0xA1, 0, 0, 0, 0, uint8_t(last), 0, 0});
        Add(session, 4, 0xA2, leadOut);
    }
    SessionInfo Sessions() const { return SessionInfo(bytes.data(), int(bytes.size())); }
};

TEST(TrackRange, CoversEveryTrackWhole)
{
    TocBuilder toc;
    toc.AddSession(1, 1, 3, 30000);
    toc.Add(1, 4, 1, 0);
    toc.Add(1, 0, 2, 10000);
    toc.Add(1, 0, 3, 20000);
    toc.AddSession(2, 4, 4, 50000);
    toc.Add(2, 4, 4, 41400);
    const SessionInfo sessions = toc.Sessions();
    ASSERT_EQ(sessions.GetSessionNum(), 2);

    TrackSpan span;
    ASSERT_TRUE(FindTrackSpan(sessions, 1, 1, span));
    EXPECT_EQ(span.first, 0);
    EXPECT_EQ(span.end, 10000);
    EXPECT_TRUE(span.isData);
    ASSERT_TRUE(FindTrackSpan(sessions, 1, 2, span));
    EXPECT_FALSE(span.isData);
    // The last track of a session runs up to the next session's first track.
    ASSERT_TRUE(FindTrackSpan(sessions, 1, 3, span));
    EXPECT_EQ(span.first, 20000);
    EXPECT_EQ(span.end, 41400);
    ASSERT_TRUE(FindTrackSpan(sessions, 2, 4, span));
    EXPECT_EQ(span.end, 50000);

    EXPECT_FALSE(FindTrackSpan(sessions, 1, 4, span));
    EXPECT_FALSE(FindTrackSpan(sessions, 3, 4, span));
    EXPECT_EQ(SessionOfTrack(sessions, 4), 2);
    EXPECT_EQ(SessionOfTrack(sessions, 9), 0);

    EXPECT_TRUE(NeedsNotFirstTrackQuestion(2, true, "t2.iso"));
    EXPECT_FALSE(NeedsNotFirstTrackQuestion(1, true, "t1.iso"));
    EXPECT_FALSE(NeedsNotFirstTrackQuestion(2, true, "t2.dat"));
    EXPECT_FALSE(NeedsNotFirstTrackQuestion(2, false, "t2.iso"));
}

class TrackJobOnIso : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directory(dir / "src");
        std::string data(300000, '\0');
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = char(i * 7 + i / 2048);
        WriteFile(dir / "src" / "data.bin", data);
        ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
        iso = ReadFile(dir / "disc.iso");
        auto fake = std::make_unique<FakeTarget>(OpenImageTarget(dir / "disc.iso"));
        this->fake = fake.get();
        drive = DriveOn(std::move(fake));
        ASSERT_TRUE(engine.SetDevice(drive.get()));
    }

    std::string Save(int kind, int32_t first, int32_t end, const std::string& name)
    {
        const fs::path out = dir / name;
        EXPECT_TRUE(engine.StartSaveTrack(kind, first, end, out.string()));
        EXPECT_TRUE(WaitUntilDone(engine));
        EXPECT_EQ(engine.GetProgress(), 100);
        EXPECT_EQ(engine.GetCurrentName(), "TRACK DATA");
        return ReadFile(out);
    }

    TempDir dir;
    std::string iso;
    FakeTarget* fake = nullptr;
    std::unique_ptr<CDevCmdROM> drive;
    CGetCDData engine;
};

TEST_F(TrackJobOnIso, IsoSaveEqualsTheImage)
{
    const int32_t sectors = int32_t(iso.size() / 2048);
    EXPECT_EQ(Save(1, 0, sectors, "whole.iso"), iso);
}

TEST_F(TrackJobOnIso, SizesFollowTheFormat)
{
    EXPECT_EQ(Save(1, 3, 23, "t.iso").size(), 40960u);
    const std::string raw = Save(1, 3, 23, "t.dat");
    ASSERT_EQ(raw.size(), 47040u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(raw.substr(size_t(i) * 2352 + 16, 2048), iso.substr(size_t(3 + i) * 2048, 2048)) << i;
    const std::string wav = Save(0, 3, 23, "t.WAV");
    ASSERT_EQ(wav.size(), 47084u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(44), raw);
    EXPECT_EQ(Save(1, 0, 16, "sixteen.iso"), iso.substr(0, 16 * 2048));
}

TEST_F(TrackJobOnIso, UnreadableSectorsBecomeZerosOfTheFullSize)
{
    fake->FailSector(20, Sense::UnrecoveredReadError);
    const std::string raw = Save(1, 0, 40, "t.dat");
    ASSERT_EQ(raw.size(), 40u * 2352);
    EXPECT_EQ(raw.substr(20 * 2352, 2352), std::string(2352, '\0'));
    EXPECT_EQ(raw.substr(19 * 2352 + 16, 2048), iso.substr(19 * 2048, 2048));
    EXPECT_EQ(raw.substr(21 * 2352 + 16, 2048), iso.substr(21 * 2048, 2048));

    const std::string wav = Save(0, 0, 40, "t.wav");
    ASSERT_EQ(wav.size(), 44u + 40 * 2352);
    EXPECT_EQ(GetLE32(reinterpret_cast<const uint8_t*>(&wav[40])), 40u * 2352);
    EXPECT_EQ(wav.substr(44), raw);

    const std::string cooked = Save(1, 0, 40, "t.iso");
    ASSERT_EQ(cooked.size(), 40u * 2048);
    EXPECT_EQ(cooked.substr(20 * 2048, 2048), std::string(2048, '\0'));
    EXPECT_EQ(cooked.substr(0, 20 * 2048), iso.substr(0, 20 * 2048));
    EXPECT_EQ(cooked.substr(21 * 2048), iso.substr(21 * 2048, 19 * 2048));
}

TEST_F(TrackJobOnIso, RefusesEmptyRangesAndPaths)
{
    EXPECT_FALSE(engine.StartSaveTrack(1, 10, 10, (dir / "a.iso").string()));
    EXPECT_FALSE(engine.StartSaveTrack(1, 10, 5, (dir / "a.iso").string()));
    EXPECT_FALSE(engine.StartSaveTrack(1, -5, 0, (dir / "a.iso").string()));
    EXPECT_FALSE(engine.StartSaveTrack(1, 0, 10, ""));
    fake->SetNotReady(true);
    EXPECT_FALSE(engine.StartSaveTrack(1, 0, 10, (dir / "a.iso").string()));
    EXPECT_FALSE(fs::exists(dir / "a.iso"));
}

TEST_F(TrackJobOnIso, UncreatableFileEndsTheJob)
{
    EXPECT_TRUE(engine.StartSaveTrack(1, 0, 10, (dir / "missing" / "a.iso").string()));
    EXPECT_TRUE(WaitUntilDone(engine));
    EXPECT_EQ(engine.GetProgress(), 100);
}

} // namespace
