// A wave output for tests: records what the player does with it. Blocks are
// reported played either by a device thread right after each write (auto)
// or one at a time when the test calls FinishBlock (manual).
#pragma once

#include "audio/WaveOutput.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class RecordingWaveOutput : public WaveOutput {
public:
    enum class Finish { Auto, Manual };

    explicit RecordingWaveOutput(Finish finish = Finish::Auto,
                                 std::vector<WaveDeviceCaps> devices = {{2, 0x0FFF}});
    ~RecordingWaveOutput() override;

    void SetOpenFails(bool fails);

    int GetNumDevs() override;
    bool GetDevCaps(int device, WaveDeviceCaps& caps) override;
    bool Open(int device, BlockDone blockDone) override;
    bool IsOpen() const override;
    bool Write(const uint8_t* data, size_t length) override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    void Drain() override;
    void Close() override;

    // Manual: reports the oldest pending block (or drain) done; false when
    // nothing is pending or the output is paused.
    bool FinishBlock();
    // Waits until count blocks have been written in all; false on timeout.
    bool WaitForBlocks(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));

    struct Record {
        int openedDevice = -1;
        int opens = 0, pauses = 0, restarts = 0, resets = 0, drains = 0, closes = 0;
        bool writeWhileBusy = false; // a block written before the previous one was done
        bool writeWhileClosed = false;
        std::vector<std::vector<uint8_t>> blocks;
    };
    Record Recorded() const;

private:
    enum class Pending { Block, Drain };
    bool DeliverLocked(); // with mutex_ held
    void DeviceThread();

    const Finish finish_;
    const std::vector<WaveDeviceCaps> devices_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool openFails_ = false;
    bool open_ = false;
    bool paused_ = false;
    bool quit_ = false;
    BlockDone blockDone_;
    std::deque<Pending> pending_;
    Record record_;
    std::thread device_;
};
