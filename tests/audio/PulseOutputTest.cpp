// The player through the real sound output, heard on a private PulseAudio
// null sink.
#include "AudioDisc.h"
#include "SoundServer.h"

#include "audio/CAudioPlayer.h"
#include "audio/PulseWaveOutput.h"
#include "common/StringTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using testing_support::TempDir;

namespace {

class PulseOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SoundServer::ToolsPresent())
            GTEST_SKIP() << "pulseaudio, parec or sox missing";
    }

    // Plays track 1 of the selected tree with a fresh player; the messages
    // it shows.
    std::vector<int> PlayFirstTrack(AudioDisc& disc, std::chrono::milliseconds* took = nullptr)
    {
        PulseWaveOutput output;
        CAudioPlayer player(output);
        std::vector<int> messages;
        player.onMessage = [&](int id) { messages.push_back(id); };
        ExplorerTree nodes(1, {});
        nodes.tree.SelectItem(nodes.tracks[0]);
        player.SetPlaySource(&disc.Drive(), &nodes.tree);
        const auto started = std::chrono::steady_clock::now();
        if (player.StartTrack(PlayMode::Selected)) {
            const auto deadline = started + 20s;
            while (player.GetState() != CAudioPlayer::State::Ended && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(20ms);
            EXPECT_EQ(player.GetState(), CAudioPlayer::State::Ended);
        }
        if (took)
            *took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        return messages;
    }

    TempDir dir_;
};

TEST_F(PulseOutputTest, ATrackIsHeardWholeAtItsPitch)
{
    SoundServer server;
    ASSERT_TRUE(server.IsRunning());
    // 2.4 s: 180 sectors, the last of three blocks partly silence.
    ASSERT_TRUE(MakeTone(dir_ / "tone.raw", 440, 2.4));
    AudioDisc disc(dir_ / "tone.raw");
    ASSERT_EQ(disc.Track(1).sectors, 180);
    ASSERT_TRUE(server.StartRecording(dir_ / "heard.raw"));

    std::chrono::milliseconds took{};
    EXPECT_TRUE(PlayFirstTrack(disc, &took).empty());
    EXPECT_GE(took.count(), 2000) << "the end is reported once the track has been heard";
    std::this_thread::sleep_for(200ms);
    server.StopRecording();

    const ToneMeasure heard = MeasureTone(dir_ / "heard.raw");
    ASSERT_TRUE(heard.measured);
    EXPECT_NEAR(heard.frequency, 440, 2);
    EXPECT_NEAR(heard.seconds, 2.4, 0.5);
}

TEST_F(PulseOutputTest, AMonoSinkIsNoAppropriateDevice)
{
    SoundServer server(1);
    ASSERT_TRUE(server.IsRunning());
    AudioDisc disc(dir_.Path(), {75});
    EXPECT_EQ(PlayFirstTrack(disc), std::vector<int>{StringTable::NoAppropriateDevice});
}

TEST_F(PulseOutputTest, NoSoundServerIsNoWaveDevice)
{
    ScopedEnvironment environment;
    environment.Set("PULSE_SERVER", "unix:" + (dir_ / "no-such-socket").string());
    PulseWaveOutput output;
    EXPECT_EQ(output.GetNumDevs(), 0);
    WaveDeviceCaps caps;
    EXPECT_FALSE(output.GetDevCaps(0, caps));
    EXPECT_FALSE(output.Open(0, [] {}));
    AudioDisc disc(dir_.Path(), {75});
    EXPECT_EQ(PlayFirstTrack(disc), std::vector<int>{StringTable::NoWaveDevice});
}

} // namespace
