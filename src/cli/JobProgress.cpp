#include "cli/JobProgress.h"

#include "extraction/CGetCDData.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

class ProgressLine {
public:
    ProgressLine() : terminal_(::isatty(STDERR_FILENO) != 0) {}

    void Show(const std::string& name, int percent)
    {
        if (name.empty() || (name == name_ && percent == percent_))
            return;
        name_ = name;
        percent_ = percent;
        if (terminal_)
            std::fprintf(stderr, "\r\033[K%s %d%%", name.c_str(), percent);
        else
            std::fprintf(stderr, "%s %d%%\n", name.c_str(), percent);
        std::fflush(stderr);
    }

    ~ProgressLine()
    {
        if (terminal_ && !name_.empty())
            std::fputc('\n', stderr);
    }

private:
    bool terminal_;
    std::string name_;
    int percent_ = -1;
};

} // namespace

bool cli::FollowJob(CGetCDData& engine)
{
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    struct sigaction previous {};
    ::sigaction(SIGINT, &action, &previous);
    ProgressLine line;
    // The line is redrawn every 100 ms; the end of the job is noticed sooner.
    using Clock = std::chrono::steady_clock;
    Clock::time_point nextShow = Clock::now();
    while (!engine.IsDone()) {
        if (interrupted) {
            engine.Stop();
            break;
        }
        if (Clock::now() >= nextShow) {
            line.Show(engine.GetCurrentName(), engine.GetProgress());
            nextShow += std::chrono::milliseconds(100);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // A folder job sets the progress back to 0 after each file; the last
    // one was written whole.
    if (!interrupted)
        line.Show(engine.GetCurrentName(), 100);
    ::sigaction(SIGINT, &previous, nullptr);
    return !interrupted;
}
