#include "support/CdInfo.h"

#include "support/TestSupport.h"

#include <regex>

namespace testing_support {

std::vector<CdInfoTrack> CdInfoTracks(const std::string& flag, const std::filesystem::path& image)
{
    const CommandResult result = RunProgram(
        {"cd-info", "--no-header", "--no-device-info", "--no-cddb", "--no-analyze", flag, image.string()});
    std::vector<CdInfoTrack> tracks;
    // "  1: 00:02:00  000000 XA     true   no"
    const std::regex line(R"(^\s*(\d+): \d+:\d+:\d+\s+(\d+) (\w+))");
    for (const std::string& text : SplitLines(result.out)) {
        std::smatch m;
        if (std::regex_search(text, m, line))
            tracks.push_back({std::stoi(m[1]), std::stoi(m[2]), m[3]});
    }
    return tracks;
}

} // namespace testing_support
