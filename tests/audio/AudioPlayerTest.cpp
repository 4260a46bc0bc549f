// The playback engine against a recording output: what reaches the output,
// block by block, for each button and the slider.
#include "AudioDisc.h"

#include "audio/CAudioPlayer.h"
#include "common/StringTable.h"
#include "support/RecordingWaveOutput.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;
using testing_support::TempDir;
using State = CAudioPlayer::State;

namespace {

bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds timeout = 10s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Tracks of 200, 40 and 150 sectors; a data track and the lead-out follow.
class AudioPlayerTest : public ::testing::Test {
protected:
    AudioPlayerTest() : disc_(dir_.Path(), {200, 40, 150}), nodes_(3, {"DATA TRACK 4(ISO)", "(Lead Out) 390"}) {}

    std::unique_ptr<CAudioPlayer> MakePlayer(WaveOutput& output)
    {
        auto player = std::make_unique<CAudioPlayer>(output);
        player->SetPlaySource(&disc_.Drive(), &nodes_.tree);
        player->onPosition = [this](int percent) {
            std::lock_guard lock(mutex_);
            positions_.push_back(percent);
        };
        player->onMessage = [this](int id) { messages_.push_back(id); };
        return player;
    }
    void Select(int track) { nodes_.tree.SelectItem(nodes_.tracks[size_t(track - 1)]); }
    // A player on output, started on track as the Play button starts it.
    std::unique_ptr<CAudioPlayer> PlayingTrack(WaveOutput& output, int track)
    {
        auto player = MakePlayer(output);
        Select(track);
        player->Play();
        return player;
    }
    std::vector<int> Positions()
    {
        std::lock_guard lock(mutex_);
        return positions_;
    }
    // Block i of a track as the player must hand it over.
    std::vector<uint8_t> TrackBlock(int track, int i) const
    {
        const AudioDiscTrack& t = disc_.Track(track);
        const int32_t first = t.start + i * CAudioPlayer::kSectorsPerBlock;
        return AudioDisc::Block(first, std::min(CAudioPlayer::kSectorsPerBlock, t.start + t.sectors - first));
    }

    TempDir dir_;
    AudioDisc disc_;
    ExplorerTree nodes_;
    std::vector<int> messages_;
    std::mutex mutex_;
    std::vector<int> positions_;
};

TEST_F(AudioPlayerTest, EveryTrackReachesTheOutputAsWholeBlocksEndingInSilence)
{
    struct Case {
        int track;
        size_t blocks;
        std::vector<int> positions;
    };
    for (const Case& c : {Case{1, 3, {37, 75, 100}}, Case{2, 1, {100}}, Case{3, 2, {50, 100}}}) {
        SCOPED_TRACE(c.track);
        positions_.clear();
        RecordingWaveOutput output;
        auto player = MakePlayer(output);
        Select(c.track);
        player->Play();
        ASSERT_TRUE(WaitFor([&] { return player->GetState() == State::Ended; }));

        const RecordingWaveOutput::Record record = output.Recorded();
        ASSERT_EQ(record.blocks.size(), c.blocks);
        for (size_t i = 0; i < c.blocks; ++i)
            EXPECT_TRUE(record.blocks[i] == TrackBlock(c.track, int(i))) << "block " << i;
        EXPECT_FALSE(record.writeWhileBusy);
        EXPECT_EQ(record.drains, 1);
        EXPECT_EQ(Positions(), c.positions);
        // The player does not go on to the next track; the output stays open.
        EXPECT_EQ(record.closes, 0);
        EXPECT_EQ(nodes_.tree.GetSelectedItem(), nodes_.tracks[size_t(c.track - 1)]);

        player->Stop();
        EXPECT_EQ(player->GetState(), State::Idle);
        EXPECT_FALSE(output.IsOpen());
        EXPECT_EQ(player->GetCurrentSector(), 0u);
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(AudioPlayerTest, PlayStartsAtTheTrackAndReadsOneBlockAhead)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    // Play returns with the first block at the output, and the reader
    // fills the next while it plays.
    ASSERT_EQ(output.Recorded().blocks.size(), 1u);
    EXPECT_EQ(player->GetStartSector(), 0u);
    EXPECT_EQ(player->GetEndSector(), 200u);
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150; }));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(player->GetCurrentSector(), 150u) << "never more than one block ahead";
    EXPECT_EQ(output.Recorded().blocks.size(), 1u);
    EXPECT_EQ(Positions(), (std::vector<int>{37, 75}));
}

TEST_F(AudioPlayerTest, PauseThenPlayGoesOnWhereItStopped)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150; }));
    player->Pause();
    EXPECT_TRUE(player->IsPaused());
    EXPECT_FALSE(output.FinishBlock()) << "a paused output plays nothing";

    // Paused, the block already read still goes to the output when asked
    // for, but nothing more is read.
    player->Play();
    EXPECT_FALSE(player->IsPaused());
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(output.WaitForBlocks(2));
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(output.WaitForBlocks(3));
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(WaitFor([&] { return output.FinishBlock(); })); // the drain
    ASSERT_TRUE(WaitFor([&] { return player->GetState() == State::Ended; }));

    const RecordingWaveOutput::Record record = output.Recorded();
    EXPECT_EQ(record.pauses, 1);
    EXPECT_EQ(record.restarts, 1);
    EXPECT_EQ(record.opens, 1);
    ASSERT_EQ(record.blocks.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(record.blocks[size_t(i)] == TrackBlock(1, i)) << "block " << i;
}

TEST_F(AudioPlayerTest, PausedReaderReadsNothingUntilResumed)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150; }));
    player->Pause();
    output.Restart(); // let the output ask for the next block although paused
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(output.WaitForBlocks(2));
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(player->GetCurrentSector(), 150u);
    player->Play();
    EXPECT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 200; }));
}

TEST_F(AudioPlayerTest, PauseStopPlayOnlyClearsThePause)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    player->Pause();
    player->Stop();
    EXPECT_TRUE(player->IsPaused()) << "Stop leaves the pause alone";
    EXPECT_EQ(player->GetState(), State::Idle);
    EXPECT_FALSE(output.IsOpen());

    player->Play();
    EXPECT_FALSE(player->IsPaused());
    EXPECT_EQ(player->GetState(), State::Idle);
    EXPECT_EQ(output.Recorded().opens, 1);

    player->Play();
    EXPECT_EQ(player->GetState(), State::Playing);
    EXPECT_EQ(output.Recorded().opens, 2);
}

TEST_F(AudioPlayerTest, PauseWhileIdleMakesTheNextPlayOnlyResume)
{
    RecordingWaveOutput output;
    auto player = MakePlayer(output);
    Select(2);
    player->Pause();
    player->Play();
    EXPECT_EQ(player->GetState(), State::Idle);
    EXPECT_EQ(output.Recorded().opens, 0);
    EXPECT_EQ(output.Recorded().restarts, 0);
}

TEST_F(AudioPlayerTest, PreAndNextPlayTheNeighbourAndMoveTheSelectionFirst)
{
    RecordingWaveOutput output;
    auto player = MakePlayer(output);
    std::vector<NodeHandle> selectedOnChange;
    nodes_.tree.onSelectionChanged = [&](NodeHandle node) { selectedOnChange.push_back(node); };
    Select(2);
    player->Pause(); // Pre and Next drop a pause
    player->Next();
    EXPECT_FALSE(player->IsPaused());
    EXPECT_EQ(nodes_.tree.GetSelectedItem(), nodes_.tracks[2]);
    EXPECT_EQ(player->GetStartSector(), 240u);
    ASSERT_TRUE(WaitFor([&] { return player->GetState() == State::Ended; }));

    player->Pre();
    EXPECT_EQ(nodes_.tree.GetSelectedItem(), nodes_.tracks[1]);
    EXPECT_EQ(player->GetStartSector(), 200u);
    ASSERT_TRUE(WaitFor([&] { return player->GetState() == State::Ended; }));

    const RecordingWaveOutput::Record record = output.Recorded();
    ASSERT_EQ(record.blocks.size(), 3u); // two of track 3, one of track 2
    EXPECT_TRUE(record.blocks[2] == TrackBlock(2, 0));
    EXPECT_EQ(record.opens, 2);
    EXPECT_EQ(record.closes, 1); // the start of track 2 stopped the ended track 3
    EXPECT_EQ(selectedOnChange,
              (std::vector<NodeHandle>{nodes_.tracks[1], nodes_.tracks[2], nodes_.tracks[1]}));
}

TEST_F(AudioPlayerTest, PreOnTheFirstAndNextOnTheLastStopAndMoveNothing)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = MakePlayer(output);
    for (auto [track, step] : {std::pair{1, &CAudioPlayer::Pre}, std::pair{3, &CAudioPlayer::Next}}) {
        Select(track);
        player->Play();
        ASSERT_EQ(player->GetState(), State::Playing);
        (player.get()->*step)();
        EXPECT_EQ(player->GetState(), State::Idle);
        EXPECT_FALSE(output.IsOpen());
        EXPECT_EQ(player->GetCurrentSector(), 0u);
        EXPECT_EQ(nodes_.tree.GetSelectedItem(), nodes_.tracks[size_t(track - 1)]);
    }
    EXPECT_EQ(output.Recorded().opens, 2);
}

TEST_F(AudioPlayerTest, PlayOnANodeThatIsNoAudioTrackStopsAndStartsNothing)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    const NodeHandle dataTrack = nodes_.tree.GetNextSiblingNode(nodes_.tracks[2]);
    for (NodeHandle node : {nodes_.tree.GetRootNode(), dataTrack}) {
        nodes_.tree.SelectItem(node);
        EXPECT_FALSE(player->StartTrack(PlayMode::Selected)) << nodes_.tree.GetItemText(node);
        EXPECT_EQ(player->GetState(), State::Idle);
    }
    // An audio label on a folder (item data set) is no track either.
    const NodeHandle folder = nodes_.tree.InsertNode(nodes_.tracks[0], "AUDIO TRACK 2", 0, 0, 18);
    nodes_.tree.SelectItem(folder);
    EXPECT_FALSE(player->StartTrack(PlayMode::Selected));
    EXPECT_EQ(output.Recorded().opens, 1);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(AudioPlayerTest, NothingPlaysWithoutDriveTreeOrTrackInformation)
{
    RecordingWaveOutput output;
    auto player = MakePlayer(output);
    Select(1);
    player->SetPlaySource(nullptr, &nodes_.tree);
    EXPECT_FALSE(player->StartTrack(PlayMode::Selected));
    player->SetPlaySource(&disc_.Drive(), nullptr);
    EXPECT_FALSE(player->StartTrack(PlayMode::Selected));
    MemoryTree empty;
    player->SetPlaySource(&disc_.Drive(), &empty);
    EXPECT_FALSE(player->StartTrack(PlayMode::Selected));

    // A track the disc does not have: the drive refuses its information.
    ExplorerTree more(9, {});
    more.tree.SelectItem(more.tracks[8]);
    player->SetPlaySource(&disc_.Drive(), &more.tree);
    EXPECT_FALSE(player->StartTrack(PlayMode::Selected));
    EXPECT_EQ(output.Recorded().opens, 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(AudioPlayerTest, SeekToTheEndPlaysTheBlockAlreadyReadThenEnds)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1);
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150; }));
    player->Seek(100);
    EXPECT_EQ(player->GetCurrentSector(), 200u);
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(output.WaitForBlocks(2));
    ASSERT_TRUE(WaitFor([&] { return output.FinishBlock(); })); // block 2 heard
    ASSERT_TRUE(WaitFor([&] { return output.FinishBlock(); })); // the drain
    ASSERT_TRUE(WaitFor([&] { return player->GetState() == State::Ended; }));
    const RecordingWaveOutput::Record record = output.Recorded();
    ASSERT_EQ(record.blocks.size(), 2u);
    EXPECT_TRUE(record.blocks[1] == TrackBlock(1, 1));
}

TEST_F(AudioPlayerTest, SeekMovesTheReaderAfterTheBlockAlreadyRead)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 3); // 150 sectors from 240
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 390; }));
    player->Seek(33); // 240 + 150 * 33 / 100 = 289
    EXPECT_EQ(player->GetCurrentSector(), 289u);
    ASSERT_TRUE(output.FinishBlock());
    ASSERT_TRUE(output.WaitForBlocks(2));
    ASSERT_TRUE(WaitFor([&] { return output.FinishBlock(); }));
    ASSERT_TRUE(output.WaitForBlocks(3));
    const RecordingWaveOutput::Record record = output.Recorded();
    EXPECT_TRUE(record.blocks[1] == TrackBlock(3, 1));
    EXPECT_TRUE(record.blocks[2] == AudioDisc::Block(289, 75));
}

TEST_F(AudioPlayerTest, SeekWhileIdleLeavesTheCurrentSectorAtZero)
{
    RecordingWaveOutput output;
    auto player = MakePlayer(output);
    player->Seek(50);
    EXPECT_EQ(player->GetCurrentSector(), 0u);
    player->Seek(100);
    EXPECT_EQ(player->GetCurrentSector(), 0u);
    EXPECT_EQ(player->GetState(), State::Idle);
    EXPECT_EQ(output.Recorded().opens, 0);
}

TEST_F(AudioPlayerTest, PlayAgainStopsTheTrackFirstEvenAtSectorZero)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    auto player = PlayingTrack(output, 1); // starts at sector 0
    // Seek once the read-ahead block is in: a seek during a read only moves
    // where that read goes on.
    ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150u; }));
    player->Seek(0);
    EXPECT_EQ(player->GetCurrentSector(), 0u);
    player->Play();
    const RecordingWaveOutput::Record record = output.Recorded();
    EXPECT_EQ(record.opens, 2);
    EXPECT_EQ(record.closes, 1);
    EXPECT_EQ(record.resets, 1);
}

TEST_F(AudioPlayerTest, StoppingOrDestroyingThePlayerEndsItsThreadsAndClosesTheOutput)
{
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual);
    {
        auto player = MakePlayer(output);
        Select(1);
        player->Play();
        ASSERT_TRUE(WaitFor([&] { return player->GetCurrentSector() == 150; }));
        player->Pause();
    } // quitting while paused mid-track
    RecordingWaveOutput::Record record = output.Recorded();
    EXPECT_EQ(record.resets, 1);
    EXPECT_EQ(record.closes, 1);
    EXPECT_FALSE(output.IsOpen());

    // A later player starts afresh, not paused.
    auto player = MakePlayer(output);
    EXPECT_FALSE(player->IsPaused());
    Select(2);
    player->Play();
    EXPECT_EQ(player->GetState(), State::Playing);
    player->Stop();
    player->Stop();
    record = output.Recorded();
    EXPECT_EQ(record.closes, 2);
    EXPECT_FALSE(record.writeWhileClosed);
}

struct DeviceCase {
    std::vector<WaveDeviceCaps> devices;
    bool openFails;
    int message;      // 0: none
    int openedDevice; // -1: none
};

class AudioPlayerDeviceTest : public AudioPlayerTest, public ::testing::WithParamInterface<DeviceCase> {};

TEST_P(AudioPlayerDeviceTest, TakesTheFirstStereoDeviceOrSaysWhy)
{
    const DeviceCase& c = GetParam();
    RecordingWaveOutput output(RecordingWaveOutput::Finish::Manual, c.devices);
    output.SetOpenFails(c.openFails);
    auto player = MakePlayer(output);
    Select(1);
    EXPECT_EQ(player->StartTrack(PlayMode::Selected), c.message == 0);
    EXPECT_EQ(messages_, c.message ? std::vector<int>{c.message} : std::vector<int>{});
    EXPECT_EQ(output.Recorded().openedDevice, c.openedDevice);
    if (c.message) {
        EXPECT_EQ(player->GetState(), State::Idle);
        EXPECT_EQ(player->GetCurrentSector(), 0u);
        EXPECT_TRUE(output.Recorded().blocks.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, AudioPlayerDeviceTest,
    ::testing::Values(DeviceCase{{}, false, StringTable::NoWaveDevice, -1},
                      DeviceCase{{{1, 0xFFF}, {2, 0xFFE}}, false, StringTable::NoAppropriateDevice, -1},
                      DeviceCase{{{2, 0xFFF}}, true, StringTable::OpenWaveDeviceError, -1},
                      DeviceCase{{{1, 0xFFF}, {2, 0x001}, {2, 0xFFF}}, false, 0, 1}));

} // namespace
