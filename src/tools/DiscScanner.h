// The disc scan: reads every sector of every track on a worker thread and
// reports each sector the drive cannot read, with the sense it gave.
//
// Callbacks run on the worker thread. A window posts them to its own
// thread; once posted they may arrive after a later Start, so a window
// ignores a posted finish while IsScanning() is true (it belongs to the
// scan before). The worker is joined by Start (for the scan before), by
// Wait and by the destructor, so the scanner must not outlive its callbacks'
// targets: a window keeps it as its last member or calls Stop and Wait first.
#pragma once

#include "drive/SenseData.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class CDevCmdROM;

struct ScanError {
    int32_t sector = 0;
    SenseData_tag sense;
};

namespace ScanList {
struct Column {
    const char* header;
    int width;
};
inline constexpr std::array<Column, 4> kColumns = {
    {{"Sector", 100}, {"SenseKey", 100}, {"ASC", 50}, {"ASCQ", 50}}};

// The four cells of an error row: "%d", then "0x%02X" three times.
std::array<std::string, 4> RowTexts(const ScanError& error);
} // namespace ScanList

enum class ScanEnd {
    Completed, // every track read (or nothing to read: blank disc, no tracks)
    Stopped,   // Stop was called
    NoTrackRange, // neither disc information nor TOC, or no last track
};

class DiscScanner {
public:
    struct Callbacks {
        // The progress bar: shown at the first call (0), set to percent.
        std::function<void(int percent)> progress;
        // One unreadable sector; row counts from 0 in each scan.
        std::function<void(int row, const ScanError& error)> error;
        // The scan is over: bar to 100 and hidden, button "Start".
        std::function<void(ScanEnd end)> finished;
    };

    enum class StartResult { Started, NotReady, AlreadyScanning };

    explicit DiscScanner(Callbacks callbacks);
    ~DiscScanner();
    DiscScanner(const DiscScanner&) = delete;
    DiscScanner& operator=(const DiscScanner&) = delete;

    // NotReady: the drive's TEST UNIT READY failed (the window shows string
    // 14). drive must outlive the scan.
    StartResult Start(CDevCmdROM& drive);
    // Asks the worker to end; returns at once. The worker ends before its
    // next read of a chunk or of a single sector.
    void Stop();
    // True from Start until Stop or the end of the scan.
    bool IsScanning() const { return scanning_; }
    // Blocks until the worker has ended.
    void Wait();

private:
    void Run(CDevCmdROM& drive);
    ScanEnd Scan(CDevCmdROM& drive);
    bool ScanTrack(CDevCmdROM& drive, int track, int64_t discEnd);
    void ReportError(int32_t sector, const SenseData_tag& sense);

    const Callbacks callbacks_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> scanning_{false};
    int rowCounter_ = 0; // worker thread only
    std::mutex threadMutex_; // guards worker_ against Start/Wait from two threads
    std::thread worker_;
};
