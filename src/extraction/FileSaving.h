// Writing one extracted file: creation, progress, and taking the file back
// when the job is cancelled while it is written.
#pragma once

#include "extraction/UserDataReader.h"
#include "filesystems/IsoDirectory.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDevCmdROM;
class JobState;

using DataSink = UserDataReader::Sink;

// Creates path and writes the first size bytes that produce hands to its
// sink. Bytes beyond size are dropped; a producer that ends early leaves a
// shorter file. The job's current target is path and its progress climbs
// to 100. A file that cannot be created is skipped. False only when the job
// was cancelled: the file is then deleted.
bool SaveStreamedFile(JobState& state, const std::string& path, uint64_t size,
                      const std::function<void(const DataSink&)>& produce);

// Saves the extents' user data, read in sectorMode, as one file (a file
// recorded in several extents is one file); a sector that no read can get
// ends the file there. False when cancelled.
bool SaveIsoExtents(CDevCmdROM& drive, JobState& state, int sectorMode, const std::vector<IsoExtent>& extents,
                    const std::string& path);
