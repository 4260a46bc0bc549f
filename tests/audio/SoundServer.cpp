#include "SoundServer.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using testing_support::HaveTool;
using testing_support::RunProgram;
using testing_support::StartProgram;

namespace {

bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// The number after label in sox's stat report; nullopt when it is missing.
std::optional<double> StatValue(const std::string& report, const std::string& label)
{
    const size_t at = report.find(label);
    if (at == std::string::npos)
        return std::nullopt;
    std::istringstream in(report.substr(at + label.size()));
    double value = 0;
    if (!(in >> value))
        return std::nullopt;
    return value;
}

} // namespace

ScopedEnvironment::~ScopedEnvironment()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second)
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            ::unsetenv(it->first.c_str());
    }
}

void ScopedEnvironment::Set(const std::string& name, const std::optional<std::string>& value)
{
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

bool SoundServer::ToolsPresent() { return HaveTool("pulseaudio") && HaveTool("parec") && HaveTool("sox"); }

SoundServer::SoundServer(int sinkChannels)
{
    const std::filesystem::path runtime = home_ / "run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    environment_.Set("HOME", home_.Path().string());
    environment_.Set("XDG_CONFIG_HOME", (home_ / ".config").string());
    environment_.Set("XDG_RUNTIME_DIR", runtime.string());
    environment_.Set("PULSE_SERVER", std::nullopt);
    const std::string sink =
        "module-null-sink sink_name=probe rate=44100 channels=" + std::to_string(sinkChannels);
    running_ = RunProgram({"pulseaudio", "-D", "-n", "--exit-idle-time=-1", "--system=false", "--disallow-exit",
                           "--load=module-native-protocol-unix", "--load=" + sink})
                   .exitCode == 0 &&
               WaitUntil([] { return RunProgram({"pactl", "info"}).exitCode == 0; }, 5s);
}

SoundServer::~SoundServer()
{
    StopRecording();
    RunProgram({"pulseaudio", "-k"});
}

bool SoundServer::StartRecording(const std::filesystem::path& file)
{
    recorder_ = StartProgram({"parec", "-d", "probe.monitor", "--format=s16le", "--rate=44100", "--channels=2",
                              "--raw", "--latency-msec=20"},
                             file, "/dev/null");
    return recorder_ > 0 && WaitUntil(
                                [&] {
                                    std::error_code ec;
                                    return std::filesystem::file_size(file, ec) > 0;
                                },
                                5s);
}

void SoundServer::StopRecording()
{
    if (recorder_ <= 0)
        return;
    ::kill(recorder_, SIGTERM);
    int status = 0;
    ::waitpid(recorder_, &status, 0);
    recorder_ = -1;
}

int WaitProgram(pid_t pid, std::chrono::milliseconds timeout)
{
    int status = 0;
    const bool ended = WaitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, timeout);
    if (!ended)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

ToneMeasure MeasureTone(const std::filesystem::path& raw)
{
    // stat needs one channel to name the right frequency.
    const auto result = RunProgram({"sox", "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "2",
                                    raw.string(), "-n", "remix", "1", "silence", "1", "0.001", "0.5%", "reverse",
                                    "silence", "1", "0.001", "0.5%", "reverse", "stat"});
    const auto seconds = StatValue(result.err, "Length (seconds):");
    const auto frequency = StatValue(result.err, "Rough   frequency:");
    ToneMeasure measure;
    if (result.exitCode == 0 && seconds && frequency)
        measure = {true, *seconds, *frequency};
    return measure;
}

bool MakeTone(const std::filesystem::path& raw, int frequency, double seconds)
{
    return RunProgram({"sox", "-n", "-r", "44100", "-b", "16", "-c", "2", "-e", "signed", "-t", "raw",
                       raw.string(), "synth", std::to_string(seconds), "sine", std::to_string(frequency), "vol",
                       "0.5"})
               .exitCode == 0;
}
