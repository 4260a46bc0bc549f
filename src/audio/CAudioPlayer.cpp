#include "audio/CAudioPlayer.h"

#include "audio/PlayTrack.h"
#include "common/ByteOrder.h"
#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>

namespace {

// Shared by the user-interface thread, the reading thread, the writing
// thread and the output's notifications; one for the whole process.
struct PlaybackState {
    std::atomic<CDevCmdROM*> drive{nullptr};
    std::atomic<uint32_t> startSector{0};
    std::atomic<uint32_t> endSector{0};
    std::atomic<uint32_t> currentSector{0};
    // Set: the fill buffer belongs to the reading thread, which fills it and
    // then clears the flag. Clear: it holds a block for QueueNextBlock, which
    // copies it out and then sets the flag.
    std::atomic<bool> blockWanted{false};
    std::atomic<bool> paused{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> nothingLeft{false}; // the reading thread found the track read to its end
    std::atomic<bool> allWritten{false};  // the block with the last sector is at the output
    std::atomic<bool> playedOut{false};   // ... and has been heard
    std::atomic<int> blocksDone{0};       // output notifications not yet answered

    // Waiting only: every value above is atomic. Whoever changes a value
    // that a thread may wait for calls WakeAll afterwards.
    std::mutex wakeMutex;
    std::condition_variable wake;
    std::mutex queueMutex; // one QueueNextBlock at a time
    std::thread fillThread;
    std::thread writeThread;

    uint8_t playBuffer[CAudioPlayer::kBlockBytes];
    uint8_t fillBuffer[CAudioPlayer::kBlockBytes];
    uint8_t sectorBuffer[CAudioPlayer::kRawSectorSize];
};

PlaybackState s_playback;
std::atomic<bool> s_playerExists{false};

void WakeAll()
{
    // Taking the mutex orders the change before a waiter's next look.
    { std::lock_guard lock(s_playback.wakeMutex); }
    s_playback.wake.notify_all();
}

template <class Predicate>
void WaitUntil(Predicate ready)
{
    std::unique_lock lock(s_playback.wakeMutex);
    s_playback.wake.wait(lock, ready);
}

// Runs on the sound library's thread: it only wakes the writing thread.
void OnBlockDone()
{
    ++s_playback.blocksDone;
    WakeAll();
}

} // namespace

CAudioPlayer::CAudioPlayer(WaveOutput& output) : output_(output)
{
    if (s_playerExists.exchange(true))
        std::abort(); // the playback state is process-wide: a second player would share it
    s_playback.drive = nullptr;
    s_playback.paused = false;
}

CAudioPlayer::~CAudioPlayer()
{
    Stop();
    s_playback.drive = nullptr;
    s_playerExists = false;
}

void CAudioPlayer::SetPlaySource(CDevCmdROM* drive, TreeControl* tree)
{
    s_playback.drive = drive;
    tree_ = tree;
}

void CAudioPlayer::Play()
{
    if (s_playback.paused) {
        s_playback.paused = false;
        if (output_.IsOpen())
            output_.Restart();
        WakeAll();
        return;
    }
    StartTrack(PlayMode::Selected);
}

void CAudioPlayer::Pause()
{
    s_playback.paused = true;
    if (output_.IsOpen())
        output_.Pause();
}

void CAudioPlayer::Pre()
{
    s_playback.paused = false;
    StartTrack(PlayMode::Previous);
}

void CAudioPlayer::Next()
{
    s_playback.paused = false;
    StartTrack(PlayMode::Next);
}

void CAudioPlayer::Stop()
{
    PlaybackState& s = s_playback;
    s.stop = true;
    s.blockWanted = true;
    WakeAll();
    if (s.fillThread.joinable())
        s.fillThread.join();
    if (s.writeThread.joinable())
        s.writeThread.join();
    s.startSector = 0;
    s.endSector = 0;
    s.currentSector = 0;
    s.playedOut = false;
    if (output_.IsOpen()) {
        output_.Reset();
        output_.Close();
    }
}

void CAudioPlayer::Seek(int percent)
{
    PlaybackState& s = s_playback;
    const uint32_t start = s.startSector;
    const uint32_t end = s.endSector;
    const uint64_t share = uint64_t(end - start) * uint64_t(std::clamp(percent, 0, 100)) / 100;
    s.currentSector = start + uint32_t(share);
    WakeAll();
}

bool CAudioPlayer::IsActive() const
{
    return s_playback.fillThread.joinable() || s_playback.writeThread.joinable() || output_.IsOpen();
}

bool CAudioPlayer::StartTrack(PlayMode mode)
{
    PlaybackState& s = s_playback;
    // Not "Current > 0": a track may start at sector 0, and a reading thread
    // of an earlier start must end before a new one begins.
    if (IsActive())
        Stop();
    s.stop = false;
    s.startSector = 0;
    s.endSector = 0;
    s.currentSector = 0;

    CDevCmdROM* drive = s.drive;
    if (!tree_ || !drive || tree_->GetRootNode() == kNoNode)
        return false;
    const PlayTrack track = FindPlayTrack(*tree_, mode);
    if (track.node == kNoNode)
        return false;
    if (mode != PlayMode::Selected)
        tree_->SelectItem(track.node); // the explorer follows the track now playing

    TRACK_INFO info{};
    if (drive->ReadTrackInfoEx(info, 1, uint32_t(track.number)) != 0)
        return false;
    const uint32_t start = GetBE32(&info.bytes[8]);
    const uint32_t size = std::min(GetBE32(&info.bytes[24]), std::numeric_limits<uint32_t>::max() - start);

    s.blocksDone = 0;
    s.nothingLeft = false;
    s.allWritten = false;
    s.playedOut = false;
    if (!OpenOutput())
        return false;
    s.startSector = start;
    s.endSector = start + size;
    s.currentSector = start;

    std::memset(s.playBuffer, 0, sizeof s.playBuffer);
    s.blockWanted = true;
    s.fillThread = std::thread(&CAudioPlayer::FillThread, this);
    s.writeThread = std::thread(&CAudioPlayer::WriteThread, this);
    QueueNextBlock();
    return true;
}

bool CAudioPlayer::OpenOutput()
{
    auto fail = [this](int stringId) {
        if (onMessage)
            onMessage(stringId);
        return false;
    };
    const int count = output_.GetNumDevs();
    if (count <= 0)
        return fail(StringTable::NoWaveDevice);
    int device = -1;
    for (int i = 0; i < count && device < 0; ++i) {
        WaveDeviceCaps caps;
        if (output_.GetDevCaps(i, caps) && caps.channels == 2 && (caps.formats & kWaveFormat1M08) != 0)
            device = i;
    }
    if (device < 0)
        return fail(StringTable::NoAppropriateDevice);
    if (!output_.Open(device, OnBlockDone))
        return fail(StringTable::OpenWaveDeviceError);
    return true;
}

void CAudioPlayer::FillThread()
{
    PlaybackState& s = s_playback;
    for (;;) {
        WaitUntil([&] { return s.stop || (s.blockWanted && (s.currentSector >= s.endSector || !s.paused)); });
        if (s.stop)
            return;
        if (s.currentSector >= s.endSector) {
            s.nothingLeft = true;
            WakeAll();
            return;
        }
        // Past the track's end the block stays silent; a failed read plays
        // what the sector buffer holds.
        std::memset(s.fillBuffer, 0, sizeof s.fillBuffer);
        std::memset(s.sectorBuffer, 0, sizeof s.sectorBuffer);
        for (int i = 0; i < kSectorsPerBlock && !s.stop; ++i) {
            uint32_t sector = s.currentSector;
            if (sector >= s.endSector)
                break;
            if (CDevCmdROM* drive = s.drive)
                drive->ReadCD_All(s.sectorBuffer, kRawSectorSize, 1, int32_t(sector));
            std::memcpy(s.fillBuffer + i * kRawSectorSize, s.sectorBuffer, kRawSectorSize);
            // A seek meanwhile wins over the step to the next sector.
            s.currentSector.compare_exchange_strong(sector, sector + 1);
        }
        s.blockWanted = false;
        WakeAll();

        const uint32_t start = s.startSector;
        const uint32_t end = s.endSector;
        const uint32_t current = std::clamp<uint32_t>(s.currentSector, start, end);
        if (end > start && onPosition)
            onPosition(int(double(current - start) / double(end - start) * 100.0));
    }
}

void CAudioPlayer::WriteThread()
{
    PlaybackState& s = s_playback;
    for (;;) {
        WaitUntil([&] { return s.stop || s.blocksDone > 0; });
        if (s.stop)
            return;
        --s.blocksDone;
        if (s.allWritten)
            s.playedOut = true; // the answer to Drain: the last block has been heard
        else
            QueueNextBlock();
    }
}

void CAudioPlayer::QueueNextBlock()
{
    PlaybackState& s = s_playback;
    std::lock_guard serial(s.queueMutex);
    if (s.stop || s.allWritten)
        return;
    WaitUntil([&] { return s.stop || !s.blockWanted || s.nothingLeft; });
    if (s.stop)
        return;
    if (s.blockWanted) { // nothing was left to read: the whole track is at the output
        s.allWritten = true;
        output_.Drain();
        return;
    }
    std::memcpy(s.playBuffer, s.fillBuffer, sizeof s.playBuffer);
    output_.Write(s.playBuffer, sizeof s.playBuffer);
    s.blockWanted = true;
    WakeAll();
}

CAudioPlayer::State CAudioPlayer::GetState() const
{
    if (s_playback.playedOut)
        return State::Ended;
    return s_playback.fillThread.joinable() ? State::Playing : State::Idle;
}

bool CAudioPlayer::IsPaused() const { return s_playback.paused; }
uint32_t CAudioPlayer::GetStartSector() const { return s_playback.startSector; }
uint32_t CAudioPlayer::GetEndSector() const { return s_playback.endSector; }
uint32_t CAudioPlayer::GetCurrentSector() const { return s_playback.currentSector; }
