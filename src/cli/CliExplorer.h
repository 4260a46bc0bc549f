// A SOURCE read into the explorer's tree and list, as ShowDisc leaves them:
// what tree, ls, volume (and the commands that act on a NODE) start from.
#pragma once

#include "drive/CDevCmdROM.h"
#include "explorer/DiscExplorer.h"
#include "explorer/MemoryControls.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cli {

struct ExplorerSession {
    std::unique_ptr<CDevCmdROM> drive;
    MemoryTree tree;
    MemoryList list;
    uint8_t descriptor[2048] = {};
    std::unique_ptr<DiscExplorer> explorer;
};

// Opens the source and runs the probe; the explorer's messages go to
// stderr. Null (after the message) when the source cannot be opened.
std::unique_ptr<ExplorerSession> ProbeSource(const std::string& source);

} // namespace cli
