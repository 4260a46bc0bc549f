#include "audio/PulseWaveOutput.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace {

// How much the server holds ahead of what is heard: enough to bridge the
// hand-over of one block to the next, small enough for Pause to feel prompt.
constexpr pa_usec_t kServerLatencyUsec = 250 * 1000;
constexpr pa_sample_spec kCdAudio = {PA_SAMPLE_S16LE, 44100, 2};
// The server converts any rate and sample format: offer every PCM format.
constexpr uint32_t kAllPcmFormats = 0x0FFF;

class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

} // namespace

PulseWaveOutput::PulseWaveOutput()
{
    loop_ = pa_threaded_mainloop_new();
    if (loop_ && pa_threaded_mainloop_start(loop_) < 0) {
        pa_threaded_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

PulseWaveOutput::~PulseWaveOutput()
{
    if (!loop_)
        return;
    Close();
    {
        LoopLock lock(loop_);
        Disconnect();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

void PulseWaveOutput::OnContextState(pa_context*, void* self)
{
    pa_threaded_mainloop_signal(static_cast<PulseWaveOutput*>(self)->loop_, 0);
}

void PulseWaveOutput::OnStreamState(pa_stream*, void* self)
{
    pa_threaded_mainloop_signal(static_cast<PulseWaveOutput*>(self)->loop_, 0);
}

void PulseWaveOutput::OnWritable(pa_stream*, size_t, void* self)
{
    static_cast<PulseWaveOutput*>(self)->WritePending();
}

void PulseWaveOutput::OnDrained(pa_stream*, int success, void* self)
{
    auto* output = static_cast<PulseWaveOutput*>(self);
    if (success && output->blockDone_)
        output->blockDone_();
}

bool PulseWaveOutput::Connect()
{
    if (context_ && pa_context_get_state(context_) == PA_CONTEXT_READY)
        return true;
    Disconnect(); // a server that went away: start again
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Morvik");
    if (!context_)
        return false;
    pa_context_set_state_callback(context_, OnContextState, this);
    // Never start a server of our own: no server means no device.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        Disconnect();
        return false;
    }
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state)) {
            Disconnect();
            return false;
        }
        pa_threaded_mainloop_wait(loop_);
    }
}

void PulseWaveOutput::Disconnect()
{
    if (!context_)
        return;
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

void PulseWaveOutput::WaitFor(pa_operation* operation)
{
    if (!operation)
        return;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
        pa_threaded_mainloop_wait(loop_);
    pa_operation_unref(operation);
}

int PulseWaveOutput::GetNumDevs()
{
    if (!loop_)
        return 0;
    LoopLock lock(loop_);
    sinks_.clear();
    if (!Connect())
        return 0;
    auto onSink = [](pa_context*, const pa_sink_info* info, int eol, void* self) {
        auto* output = static_cast<PulseWaveOutput*>(self);
        if (eol == 0 && info)
            output->sinks_.push_back({info->name, int(info->sample_spec.channels)});
        else
            pa_threaded_mainloop_signal(output->loop_, 0);
    };
    WaitFor(pa_context_get_sink_info_list(context_, onSink, this));
    return int(sinks_.size());
}

bool PulseWaveOutput::GetDevCaps(int device, WaveDeviceCaps& caps)
{
    if (!loop_)
        return false;
    LoopLock lock(loop_);
    if (device < 0 || size_t(device) >= sinks_.size())
        return false;
    caps.channels = std::min(sinks_[size_t(device)].channels, 2);
    caps.formats = kAllPcmFormats;
    return true;
}

bool PulseWaveOutput::Open(int device, BlockDone blockDone)
{
    if (!loop_)
        return false;
    LoopLock lock(loop_);
    if (stream_ || device < 0 || size_t(device) >= sinks_.size() || !Connect())
        return false;
    pa_stream* stream = pa_stream_new(context_, "CD audio", &kCdAudio, nullptr);
    if (!stream)
        return false;
    pa_stream_set_state_callback(stream, OnStreamState, this);
    pa_buffer_attr attributes;
    attributes.maxlength = uint32_t(-1);
    attributes.tlength = uint32_t(pa_usec_to_bytes(kServerLatencyUsec, &kCdAudio));
    attributes.prebuf = uint32_t(-1);
    attributes.minreq = uint32_t(-1);
    attributes.fragsize = uint32_t(-1);
    bool ready = pa_stream_connect_playback(stream, sinks_[size_t(device)].name.c_str(), &attributes,
                                            PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) == 0;
    while (ready) {
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY)
            break;
        ready = PA_STREAM_IS_GOOD(state);
        if (ready)
            pa_threaded_mainloop_wait(loop_);
    }
    if (!ready) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        return false;
    }
    blockDone_ = std::move(blockDone);
    block_ = nullptr;
    pa_stream_set_write_callback(stream, OnWritable, this);
    stream_ = stream;
    return true;
}

void PulseWaveOutput::WritePending()
{
    pa_stream* stream = stream_;
    if (!stream || !block_)
        return;
    while (blockOffset_ < blockLength_) {
        const size_t writable = pa_stream_writable_size(stream);
        if (writable == 0 || writable == size_t(-1))
            return; // the server asks again through OnWritable
        const size_t count = std::min(writable, blockLength_ - blockOffset_);
        if (pa_stream_write(stream, block_ + blockOffset_, count, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return;
        blockOffset_ += count;
    }
    block_ = nullptr;
    if (blockDone_)
        blockDone_();
}

bool PulseWaveOutput::Write(const uint8_t* data, size_t length)
{
    if (!loop_)
        return false;
    LoopLock lock(loop_);
    if (!stream_ || block_)
        return false;
    block_ = data;
    blockLength_ = length;
    blockOffset_ = 0;
    WritePending();
    return true;
}

void PulseWaveOutput::Cork(bool cork)
{
    if (!loop_)
        return;
    LoopLock lock(loop_);
    if (pa_stream* stream = stream_)
        if (pa_operation* operation = pa_stream_cork(stream, cork ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(operation);
}

void PulseWaveOutput::Pause() { Cork(true); }

void PulseWaveOutput::Restart() { Cork(false); }

void PulseWaveOutput::Reset()
{
    if (!loop_)
        return;
    LoopLock lock(loop_);
    block_ = nullptr;
    if (pa_stream* stream = stream_)
        if (pa_operation* operation = pa_stream_flush(stream, nullptr, nullptr))
            pa_operation_unref(operation);
}

void PulseWaveOutput::Drain()
{
    if (!loop_)
        return;
    LoopLock lock(loop_);
    if (pa_stream* stream = stream_)
        if (pa_operation* operation = pa_stream_drain(stream, OnDrained, this))
            pa_operation_unref(operation);
}

void PulseWaveOutput::Close()
{
    if (!loop_)
        return;
    LoopLock lock(loop_);
    pa_stream* stream = stream_.exchange(nullptr);
    if (stream) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }
    block_ = nullptr;
    blockDone_ = nullptr;
}
