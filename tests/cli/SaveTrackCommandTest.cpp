#include "common/StringTable.h"
#include "support/DiscImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::string Msf(int32_t sectors)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", sectors / 4500, sectors / 75 % 60, sectors % 75);
    return text;
}

// A data track, then two audio tracks; the second track's 150-sector pregap
// (index 0) lies in the BIN, so the table of contents counts it into track 1.
class MixedDisc : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage") || !HaveTool("sox"))
            GTEST_SKIP() << "genisoimage or sox missing";
        iso = MakeIso(dir.Path(), "DATA");
        ASSERT_FALSE(iso.empty());
        const std::string data = RawMode1Sectors(iso);
        ASSERT_FALSE(data.empty());
        dataSectors = int32_t(data.size() / 2352);
        pregap = AudioSectors(150, 0);
        audio2 = AudioSectors(300, 440);
        audio3 = AudioSectors(225, 880);
        WriteFile(dir / "disc.bin", data + pregap + audio2 + audio3);
        WriteFile(dir / "disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                    "  TRACK 02 AUDIO\n    INDEX 00 " + Msf(dataSectors) + "\n    INDEX 01 " +
                                        Msf(dataSectors + 150) + "\n  TRACK 03 AUDIO\n    INDEX 01 " +
                                        Msf(dataSectors + 450) + "\n");
        cue = (dir / "disc.cue").string();
    }
    TempDir dir;
    fs::path iso;
    std::string cue, pregap, audio2, audio3;
    int32_t dataSectors = 0;
};

TEST_F(MixedDisc, AudioTracksBecomeWavFilesOfTheirBinBytes)
{
    ASSERT_EQ(RunCli({"save-track", cue, "2", (dir / "t2.wav").string()}).exitCode, 0);
    ASSERT_EQ(RunCli({"save-track", cue, "3", (dir / "T3.WAV").string()}).exitCode, 0);
    const std::string t2 = ReadFile(dir / "t2.wav"), t3 = ReadFile(dir / "T3.WAV");
    ASSERT_EQ(t2.size(), 44u + 300 * 2352);
    ASSERT_EQ(t3.size(), 44u + 225 * 2352);
    EXPECT_EQ(t2.substr(0, 4), "RIFF");
    EXPECT_TRUE(t2.substr(44) == audio2);
    EXPECT_TRUE(t3.substr(44) == audio3);
    // Anything but ".wav" gets the bare sectors.
    ASSERT_EQ(RunCli({"save-track", cue, "3", (dir / "t3.dat").string()}).exitCode, 0);
    EXPECT_TRUE(ReadFile(dir / "t3.dat") == audio3);
}

TEST_F(MixedDisc, FirstDataTrackIsTheIsoAndThePregapAfterIt)
{
    const CommandResult r = RunCli({"save-track", cue, "1", (dir / "t1.iso").string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string saved = ReadFile(dir / "t1.iso");
    const std::string original = ReadFile(iso);
    ASSERT_EQ(saved.size(), size_t(dataSectors + 150) * 2048);
    EXPECT_TRUE(saved.substr(0, original.size()) == original);
    EXPECT_TRUE(saved.substr(original.size()) == std::string(150 * 2048, '\0'));
}

TEST_F(MixedDisc, RefusesToOverwriteWithoutYes)
{
    WriteFile(dir / "t3.wav", "old");
    const CommandResult r = RunCli({"save-track", cue, "3", (dir / "t3.wav").string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(StringTable::Text(StringTable::AlreadyExists)), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "t3.wav"), "old");
    EXPECT_EQ(RunCli({"save-track", cue, "3", (dir / "t3.wav").string(), "--yes"}).exitCode, 0);
    EXPECT_EQ(fs::file_size(dir / "t3.wav"), 44u + 225 * 2352);
    EXPECT_NE(RunCli({"save-track", cue, "7", (dir / "t7.wav").string()}).exitCode, 0);
    EXPECT_EQ(RunCli({"save-track", cue, "x", (dir / "t7.wav").string()}).exitCode, 2);
}

TEST(SaveTrackCommand, AsksBeforeAnIsoOfALaterTrack)
{
    if (!HaveTool("genisoimage") || !HaveTool("sox"))
        GTEST_SKIP() << "genisoimage or sox missing";
    TempDir dir;
    const fs::path iso = MakeIso(dir.Path(), "LATE");
    ASSERT_FALSE(iso.empty());
    WriteFile(dir / "disc.bin", AudioSectors(300, 440) + RawMode1Sectors(iso));
    WriteFile(dir / "disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                "  TRACK 02 MODE1/2352\n    INDEX 01 00:04:00\n");
    const std::string out = (dir / "t2.iso").string();
    const CommandResult refused = RunCli({"save-track", (dir / "disc.cue").string(), "2", out});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find(StringTable::Text(StringTable::NotFirstTrack)), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    const CommandResult agreed = RunCli({"save-track", (dir / "disc.cue").string(), "2", out, "--yes"});
    ASSERT_EQ(agreed.exitCode, 0) << agreed.err;
    EXPECT_TRUE(ReadFile(out) == ReadFile(iso));
}

} // namespace
