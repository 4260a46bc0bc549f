#include "support/RecordingWaveOutput.h"

RecordingWaveOutput::RecordingWaveOutput(Finish finish, std::vector<WaveDeviceCaps> devices)
    : finish_(finish), devices_(std::move(devices))
{
    if (finish_ == Finish::Auto)
        device_ = std::thread(&RecordingWaveOutput::DeviceThread, this);
}

RecordingWaveOutput::~RecordingWaveOutput()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    if (device_.joinable())
        device_.join();
}

void RecordingWaveOutput::SetOpenFails(bool fails)
{
    std::lock_guard lock(mutex_);
    openFails_ = fails;
}

int RecordingWaveOutput::GetNumDevs() { return int(devices_.size()); }

bool RecordingWaveOutput::GetDevCaps(int device, WaveDeviceCaps& caps)
{
    if (device < 0 || size_t(device) >= devices_.size())
        return false;
    caps = devices_[size_t(device)];
    return true;
}

bool RecordingWaveOutput::Open(int device, BlockDone blockDone)
{
    std::lock_guard lock(mutex_);
    if (openFails_ || open_)
        return false;
    open_ = true;
    paused_ = false;
    blockDone_ = std::move(blockDone);
    record_.openedDevice = device;
    ++record_.opens;
    return true;
}

bool RecordingWaveOutput::IsOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

bool RecordingWaveOutput::Write(const uint8_t* data, size_t length)
{
    {
        std::lock_guard lock(mutex_);
        if (!open_) {
            record_.writeWhileClosed = true;
            return false;
        }
        for (Pending p : pending_)
            record_.writeWhileBusy |= p == Pending::Block;
        record_.blocks.emplace_back(data, data + length);
        pending_.push_back(Pending::Block);
    }
    changed_.notify_all();
    return true;
}

void RecordingWaveOutput::Pause()
{
    std::lock_guard lock(mutex_);
    paused_ = true;
    ++record_.pauses;
}

void RecordingWaveOutput::Restart()
{
    {
        std::lock_guard lock(mutex_);
        paused_ = false;
        ++record_.restarts;
    }
    changed_.notify_all();
}

void RecordingWaveOutput::Reset()
{
    std::lock_guard lock(mutex_);
    pending_.clear();
    ++record_.resets;
}

void RecordingWaveOutput::Drain()
{
    {
        std::lock_guard lock(mutex_);
        ++record_.drains;
        pending_.push_back(Pending::Drain);
    }
    changed_.notify_all();
}

void RecordingWaveOutput::Close()
{
    std::lock_guard lock(mutex_);
    open_ = false;
    paused_ = false;
    pending_.clear();
    blockDone_ = nullptr;
    ++record_.closes;
}

bool RecordingWaveOutput::DeliverLocked()
{
    if (!open_ || paused_ || pending_.empty())
        return false;
    pending_.pop_front();
    // Under the lock, as a sound library calls back: nothing comes after Close.
    if (blockDone_)
        blockDone_();
    return true;
}

bool RecordingWaveOutput::FinishBlock()
{
    std::lock_guard lock(mutex_);
    return DeliverLocked();
}

void RecordingWaveOutput::DeviceThread()
{
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (!DeliverLocked())
            changed_.wait(lock);
    }
}

bool RecordingWaveOutput::WaitForBlocks(size_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return record_.blocks.size() >= count; });
}

RecordingWaveOutput::Record RecordingWaveOutput::Recorded() const
{
    std::lock_guard lock(mutex_);
    return record_;
}
