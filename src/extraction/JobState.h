// What a running extraction job shares with the thread that polls it: the
// done flag (also the cancel request), the percentage of the current file
// or track, and the name of the current target.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class JobState {
public:
    bool IsDone() const { return done_.load(); }
    // Raised by the poller to cancel and by the worker when the job ends.
    void RaiseDone() { done_.store(true); }
    void ClearDone() { done_.store(false); }

    int Progress() const { return progress_.load(); }
    void SetProgress(int percent) { progress_.store(percent); }
    // part * 100 / whole, truncated; 100 for an empty whole.
    void SetProgress(uint64_t part, uint64_t whole);

    std::string CurrentName() const;
    void SetCurrentName(std::string name);

private:
    std::atomic<bool> done_{false};
    std::atomic<int> progress_{0};
    mutable std::mutex nameMutex_;
    std::string currentName_;
};
