// The CD audio player behind the player strip: plays one audio track of the
// current drive, chosen by the explorer tree's selection, through a wave
// output in one-second blocks. One block plays while the next is read.
//
// There is one player in the process and its playback state is process-wide;
// create at most one CAudioPlayer at a time. Every operation but the
// callbacks runs on the user-interface thread, the only thread that touches
// the tree.
#pragma once

#include "audio/WaveOutput.h"

#include <cstdint>
#include <functional>

class CDevCmdROM;
class TreeControl;

// Which node of the tree StartTrack plays.
enum class PlayMode {
    Selected = 1, // the selected node
    Previous = 2, // its previous sibling (the selection moves there)
    Next = 3,     // its next sibling (the selection moves there)
};

class CAudioPlayer {
public:
    static constexpr int kSectorsPerBlock = 75;
    static constexpr uint32_t kRawSectorSize = 2352;
    static constexpr uint32_t kBlockBytes = kSectorsPerBlock * kRawSectorSize; // one second

    enum class State {
        Idle,    // nothing started, or stopped
        Playing, // started (possibly paused); blocks are being read and played
        Ended,   // the track's last block has been heard; the output stays open
    };

    // output is used for every start of playback; it outlives the player.
    explicit CAudioPlayer(WaveOutput& output);
    // Stops playback and waits for its threads.
    ~CAudioPlayer();
    CAudioPlayer(const CAudioPlayer&) = delete;
    CAudioPlayer& operator=(const CAudioPlayer&) = delete;

    // Called on the reading thread after each block with the share of the
    // track read so far (0-100). It must not wait for the user-interface
    // thread (post the value instead): Stop waits for the reading thread.
    std::function<void(int percent)> onPosition;
    // Called on the thread of Play, Pre or Next with a string-table id
    // (NoWaveDevice, NoAppropriateDevice, OpenWaveDeviceError) when the
    // output cannot be had. Set both callbacks before the first start.
    std::function<void(int stringId)> onMessage;

    // The drive to read and the tree whose selection names the track. Does
    // not stop what plays: stop before the drive is destroyed.
    void SetPlaySource(CDevCmdROM* drive, TreeControl* tree);

    // The strip's buttons and slider.
    void Play();  // resumes when paused, else plays the selected track
    void Pause();
    void Stop();
    void Pre();
    void Next();
    void Seek(int percent); // the slider released at 0-100

    // Stops what plays, then plays the track mode names; true when playback
    // has started (its first block is at the output). Nothing is shown when
    // there is no such audio track.
    bool StartTrack(PlayMode mode);

    State GetState() const;
    bool IsPaused() const;
    uint32_t GetStartSector() const;
    uint32_t GetEndSector() const;   // one past the last
    uint32_t GetCurrentSector() const; // the next to be read; 0 when idle

private:
    bool IsActive() const;
    bool OpenOutput();
    void FillThread();
    void WriteThread();
    void QueueNextBlock();

    TreeControl* tree_ = nullptr;
    WaveOutput& output_;
};
