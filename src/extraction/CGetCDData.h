// The extraction engine: saves a file, a folder tree or a whole track from
// the disc to the local disk on a worker thread of its own, one job at a
// time, while the window that started it polls progress and may cancel.
#pragma once

#include "extraction/JobState.h"

#include <cstdint>
#include <string>
#include <thread>

class CDevCmdROM;

class CGetCDData {
public:
    CGetCDData();
    // Cancels a running job and waits for its worker.
    virtual ~CGetCDData();
    CGetCDData(const CGetCDData&) = delete;
    CGetCDData& operator=(const CGetCDData&) = delete;

    // False for a null drive. Resets the progress.
    bool SetDevice(CDevCmdROM* drive);

    // mode: the track's sector mode (1 or 2); location: the folder's (ISO:
    // its directory extent; UDF: its File Entry, as the explorer keeps it);
    // path: the folder to create. fsKind 1 or 0 reads ISO 9660, 2 and 3
    // read UDF mounted at trackStart. False when the drive is not ready,
    // the path is empty, the location is 0 or a job is still running.
    bool StartSaveFolder(int mode, uint64_t location, const std::string& path, int fsKind, bool joliet,
                         int32_t trackStart = 0);
    // The same for one file of size bytes at location (ISO: its extent;
    // UDF: its File Entry), saved to path.
    bool StartSaveFile(int mode, uint64_t location, uint64_t size, const std::string& path, int fsKind, bool joliet,
                       int32_t trackStart = 0);
    // kind 0 audio, 1 data; the sectors first up to, not including, end.
    bool StartSaveTrack(int kind, int32_t first, int32_t end, const std::string& path);

    int GetProgress() const { return state_.Progress(); }
    bool IsDone() const { return state_.IsDone(); }
    // Cancels: the worker deletes the file it is writing and ends.
    void Stop() { state_.RaiseDone(); }
    std::string GetCurrentName() const { return state_.CurrentName(); }

private:
    bool CanStart(const std::string& path);
    template <typename Work>
    void Launch(Work work);

    JobState state_;
    CDevCmdROM* drive_ = nullptr;
    std::thread worker_;
};
