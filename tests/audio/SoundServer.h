// A private PulseAudio daemon for the real sound tests: one null sink named
// "probe" that this process and its children reach through the environment,
// a recorder of the sink's monitor, and sox's view of what it recorded.
#pragma once

#include "support/TestSupport.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// Sets environment variables for its lifetime.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    void Set(const std::string& name, const std::optional<std::string>& value); // nullopt: unset

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class SoundServer {
public:
    // pulseaudio, parec and sox are installed.
    static bool ToolsPresent();

    explicit SoundServer(int sinkChannels = 2);
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool IsRunning() const { return running_; }
    // Records the sink's monitor as raw 16-bit stereo into file; returns once
    // samples arrive (an idle null sink takes a moment to wake).
    bool StartRecording(const std::filesystem::path& file);
    void StopRecording();

private:
    testing_support::TempDir home_;
    ScopedEnvironment environment_;
    bool running_ = false;
    pid_t recorder_ = -1;
};

// Waits up to timeout for pid to end; its exit code, or -1 when it runs on.
int WaitProgram(pid_t pid, std::chrono::milliseconds timeout);

struct ToneMeasure {
    bool measured = false;
    double seconds = 0;   // without leading and trailing silence
    double frequency = 0; // of the left channel
};
ToneMeasure MeasureTone(const std::filesystem::path& raw);

// A sine of frequency Hz, seconds long, as raw 16-bit stereo CD samples.
bool MakeTone(const std::filesystem::path& raw, int frequency, double seconds);
