// The wave output on the PulseAudio client library, which PipeWire's pulse
// server answers too. Each sink of the sound server is one device.
#pragma once

#include "audio/WaveOutput.h"

#include <atomic>
#include <string>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

class PulseWaveOutput : public WaveOutput {
public:
    PulseWaveOutput();
    ~PulseWaveOutput() override;
    PulseWaveOutput(const PulseWaveOutput&) = delete;
    PulseWaveOutput& operator=(const PulseWaveOutput&) = delete;

    // Asks the server for its sinks; 0 when no server answers.
    int GetNumDevs() override;
    // From the sinks GetNumDevs found. The server converts rates and sample
    // formats, so every PCM format is offered; channels are the sink's, up to 2.
    bool GetDevCaps(int device, WaveDeviceCaps& caps) override;
    bool Open(int device, BlockDone blockDone) override;
    bool IsOpen() const override { return stream_.load() != nullptr; }
    bool Write(const uint8_t* data, size_t length) override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    void Drain() override;
    void Close() override;

private:
    struct Sink {
        std::string name;
        int channels = 0;
    };

    bool Connect(); // with the loop locked
    void Disconnect();
    void WaitFor(struct pa_operation* operation); // with the loop locked; unrefs it
    void WritePending(); // with the loop locked
    void Cork(bool cork);

    static void OnContextState(pa_context* context, void* self);
    static void OnStreamState(pa_stream* stream, void* self);
    static void OnWritable(pa_stream* stream, size_t bytes, void* self);
    static void OnDrained(pa_stream* stream, int success, void* self);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::atomic<pa_stream*> stream_{nullptr};
    std::vector<Sink> sinks_;
    BlockDone blockDone_;
    // The block being handed to the server as it asks for data.
    const uint8_t* block_ = nullptr;
    size_t blockLength_ = 0;
    size_t blockOffset_ = 0;
};
