// The sound output the CD player writes to: a handful of devices, each able
// to play 16-bit stereo PCM at 44,100 Hz one block at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

struct WaveDeviceCaps {
    int channels = 0;      // 1 mono, 2 stereo
    uint32_t formats = 0;  // bit 0: 11,025 Hz mono 8-bit, and so on up the PCM formats
};

inline constexpr uint32_t kWaveFormat1M08 = 0x0001;

class WaveOutput {
public:
    // Reported on a thread of the sound library when a written block has
    // been taken and the next one can follow without a gap. The receiver
    // must not call back into the output from there: it only wakes a thread.
    using BlockDone = std::function<void()>;

    virtual ~WaveOutput() = default;

    virtual int GetNumDevs() = 0;
    // False for a device number that does not exist.
    virtual bool GetDevCaps(int device, WaveDeviceCaps& caps) = 0;
    // PCM, 2 channels, 44,100 samples a second, 16 bits, little-endian.
    virtual bool Open(int device, BlockDone blockDone) = 0;
    virtual bool IsOpen() const = 0;
    // Queues one block; data must stay valid until its BlockDone or Reset.
    // At most one block is written at a time.
    virtual bool Write(const uint8_t* data, size_t length) = 0;
    virtual void Pause() = 0;
    virtual void Restart() = 0;
    // Drops the block in flight and whatever has not been heard, without
    // reporting them.
    virtual void Reset() = 0;
    // Asks for one more BlockDone once everything written has been heard.
    virtual void Drain() = 0;
    // Drops what is still queued; no BlockDone comes after Close returns.
    virtual void Close() = 0;
};
