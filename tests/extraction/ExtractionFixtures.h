// Drives and images for the extraction tests: images built with the Debian
// tools, drives wrapped in a FakeTarget or in a gate that holds a read until
// the test lets it go.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/ScsiTransport.h"
#include "extraction/CGetCDData.h"
#include "support/FakeTarget.h"

#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace extraction_test {

// Holds every sector read that reaches gateLba until Release().
class GateTarget : public ScsiTransport {
public:
    GateTarget(std::unique_ptr<ScsiTransport> inner, int32_t gateLba);
    ScsiResult Execute(const ScsiCommand& command) override;
    void WaitUntilReached();
    void Release();

private:
    std::unique_ptr<ScsiTransport> inner_;
    int32_t gateLba_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool released_ = false;
};

// The image target for path, or null when path is no image.
std::unique_ptr<ScsiTransport> OpenImageTarget(const std::filesystem::path& path);
// A drive answering through transport.
std::unique_ptr<CDevCmdROM> DriveOn(std::unique_ptr<ScsiTransport> transport);

// Builds an ISO (Joliet, no Rock Ridge) of folder with genisoimage.
bool MakeJolietIso(const std::filesystem::path& folder, const std::filesystem::path& iso);

// Polls the engine as the progress dialog does until its done flag rises.
bool WaitUntilDone(const CGetCDData& engine);

// Relative path -> sha256 for every file below root, and "dir" entries for
// folders, so that two trees compare as a whole.
std::map<std::string, std::string> DescribeTree(const std::filesystem::path& root);

} // namespace extraction_test
