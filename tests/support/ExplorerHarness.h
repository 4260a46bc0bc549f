// A drive (an image file, or a scripted target) read into the explorer's
// in-memory tree and list, and the disc images the explorer tests build.
#pragma once

#include "drive/CDevCmdROM.h"
#include "drive/DiscImage.h"
#include "explorer/DiscExplorer.h"
#include "explorer/MemoryControls.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class FakeTarget;

namespace testing_support {

struct ExplorerHarness {
    // The image-file entry opened on path (check drive->IsImageEntry()).
    explicit ExplorerHarness(const std::filesystem::path& image);
    // A drive whose commands go to transport.
    explicit ExplorerHarness(std::unique_ptr<ScsiTransport> transport);

    std::unique_ptr<CDevCmdROM> drive;
    MemoryTree tree;
    MemoryList list;
    uint8_t descriptor[2048] = {};
    DiscExplorer explorer{tree, list};
    std::vector<std::string> messages;

    void Show() { explorer.ShowDisc(drive.get()); }
    // The tree as morvik-cli tree prints it.
    std::string TreeText() const;
    // Selects the node of a NODE path (see NodePaths.h); false when none.
    bool Select(const std::string& path);
    // The list's rows, every column.
    std::vector<std::vector<std::string>> Rows() const;
    std::vector<std::string> Column(int column) const;
};

// A scripted drive over an image described by hand.
std::unique_ptr<FakeTarget> FakeDriveFor(const DiscImage& image);

// genisoimage with these options over folder; empty path when it failed.
std::filesystem::path MakeIso(const std::filesystem::path& folder, const std::filesystem::path& image,
                              const std::vector<std::string>& options);

} // namespace testing_support
