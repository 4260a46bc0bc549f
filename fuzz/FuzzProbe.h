// The explorer over a fuzzed image, as the command line drives it: the
// probe, then a selection of every node.
#pragma once

#include "drive/CDevCmdROM.h"
#include "explorer/DiscExplorer.h"
#include "explorer/MemoryControls.h"

#include <string>

struct FuzzProbe {
    CDevCmdROM drive;
    MemoryTree tree;
    MemoryList list;
    uint8_t descriptor[2048] = {};
    DiscExplorer explorer{tree, list};

    // False when path is no image. Otherwise the probe has run.
    bool Open(const std::string& path);
    // Selects every node of the tree in turn: fills the list of every
    // folder and every track.
    void SelectEveryNode();
    // The volume rows of the descriptor the probe kept.
    void ShowVolume();
};
