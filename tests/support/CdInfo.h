// The track list libcdio's cd-info prints for an image, as the reference
// the image readers are compared with.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct CdInfoTrack {
    int number;       // 170 for the lead-out
    int32_t lsn;
    std::string type; // "audio", "data", "XA", "leadout"
};

// flag: the image kind, as "--nrg-file" or "--cue-file".
std::vector<CdInfoTrack> CdInfoTracks(const std::string& flag, const std::filesystem::path& image);

} // namespace testing_support
