// morvik-cli play: a BIN/CUE audio track heard on a private null sink, and
// the ways it refuses to play.
#include "SoundServer.h"

#include "common/StringTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using namespace std::chrono_literals;
using testing_support::HaveTool;
using testing_support::ReadFile;
using testing_support::RunCli;
using testing_support::RunProgram;
using testing_support::StartProgram;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class PlayCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SoundServer::ToolsPresent())
            GTEST_SKIP() << "pulseaudio, parec or sox missing";
    }

    // A BIN/CUE of one audio track holding a 440 Hz tone.
    std::string MakeToneCue(double seconds)
    {
        EXPECT_TRUE(MakeTone(dir_ / "tone.bin", 440, seconds));
        WriteFile(dir_ / "tone.cue", "FILE \"tone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
        return (dir_ / "tone.cue").string();
    }

    TempDir dir_;
};

TEST_F(PlayCommandTest, PlaysTheTrackToItsEndThroughTheSoundServer)
{
    const std::string cue = MakeToneCue(2.4);
    SoundServer server;
    ASSERT_TRUE(server.IsRunning());
    ASSERT_TRUE(server.StartRecording(dir_ / "heard.raw"));
    const auto result = RunCli({"play", cue, "1"});
    server.StopRecording();

    EXPECT_EQ(result.exitCode, 0) << result.err;
    // 180 sectors: three one-second blocks.
    EXPECT_EQ(result.err, "position 41%\nposition 83%\nposition 100%\n");
    const ToneMeasure heard = MeasureTone(dir_ / "heard.raw");
    ASSERT_TRUE(heard.measured);
    EXPECT_NEAR(heard.frequency, 440, 2);
    EXPECT_NEAR(heard.seconds, 2.4, 0.5);
}

TEST_F(PlayCommandTest, CtrlCStopsPlayback)
{
    const std::string cue = MakeToneCue(20);
    SoundServer server;
    ASSERT_TRUE(server.IsRunning());
    const pid_t pid = StartProgram({MORVIK_CLI_PATH, "play", cue, "1"}, dir_ / "out", dir_ / "err");
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(1500ms);
    ::kill(pid, SIGINT);
    const int exitCode = WaitProgram(pid, 3s);
    if (exitCode < 0)
        ::kill(pid, SIGKILL);
    EXPECT_EQ(exitCode, 128 + SIGINT) << ReadFile(dir_ / "err");
    // The stream is gone from the server with the player.
    const auto inputs = RunProgram({"pactl", "list", "short", "sink-inputs"});
    EXPECT_EQ(inputs.out, "");
}

TEST_F(PlayCommandTest, WithoutASoundServerSaysNoWaveDevice)
{
    const std::string cue = MakeToneCue(1);
    ScopedEnvironment environment;
    environment.Set("PULSE_SERVER", "unix:" + (dir_ / "no-such-socket").string());
    const auto result = RunCli({"play", cue, "1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, std::string(StringTable::Text(StringTable::NoWaveDevice)) + "\n");
}

TEST_F(PlayCommandTest, AMonoSinkIsNoAppropriateDevice)
{
    const std::string cue = MakeToneCue(1);
    SoundServer server(1);
    ASSERT_TRUE(server.IsRunning());
    const auto result = RunCli({"play", cue, "1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, std::string(StringTable::Text(StringTable::NoAppropriateDevice)) + "\n");
}

TEST_F(PlayCommandTest, AMissingOrDataTrackIsRefused)
{
    const std::string cue = MakeToneCue(1);
    ScopedEnvironment environment; // nothing may reach a sound server
    environment.Set("PULSE_SERVER", "unix:" + (dir_ / "no-such-socket").string());
    auto result = RunCli({"play", cue, "2"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "No track 2 on this disc\n");
    EXPECT_EQ(RunCli({"play", cue, "one"}).exitCode, 2);

    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    std::filesystem::create_directories(dir_ / "files");
    WriteFile(dir_ / "files" / "a.txt", "data");
    ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-o", (dir_ / "data.iso").string(), (dir_ / "files").string()})
                  .exitCode,
              0);
    result = RunCli({"play", (dir_ / "data.iso").string(), "1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Track 1 is not an audio track\n");
}

} // namespace
