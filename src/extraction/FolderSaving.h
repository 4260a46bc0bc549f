// Folder trees and UDF files to the local disk. Names read from the disc
// are made safe before they are joined to a path; a walk stops at a folder
// that points back to one of its ancestors and below the deepest level.
#pragma once

#include "common/InputLimits.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

class CAnaly_UDF;
class CDevCmdROM;
class JobState;

struct IsoFolderJob {
    int sectorMode = 1;
    uint32_t location = 0; // of the folder's directory extent
    bool joliet = false;   // names are big-endian UCS-2
};

// Creates path and saves the ISO 9660 folder into it, sub-folders and all.
void SaveIsoFolder(CDevCmdROM& drive, JobState& state, const IsoFolderJob& folder, const std::string& path);

// The same for the UDF folder whose File Entry is at location, on a mounted
// reader.
void SaveUdfFolder(CAnaly_UDF& udf, JobState& state, uint64_t location, const std::string& path);

// Saves the UDF file whose File Entry is at location: size bytes (its
// information length) through all its extents. False when cancelled.
bool SaveUdfFile(CAnaly_UDF& udf, JobState& state, uint64_t location, uint64_t size, const std::string& path);

// Creates a folder for a walk; an existing real folder (not a link) is
// used as it is.
bool MakeFolder(const std::string& path);

// Whether a walk inside the folders of ancestors may enter the folder at
// location: not below the deepest level, not one of its own ancestors.
inline bool MayEnterFolder(const std::vector<uint64_t>& ancestors, uint64_t location)
{
    return ancestors.size() < size_t(InputLimits::kMaxFolderDepth) &&
           std::find(ancestors.begin(), ancestors.end(), location) == ancestors.end();
}
