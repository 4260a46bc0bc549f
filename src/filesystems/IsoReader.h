// The ISO 9660 reader of the explorer: finds a track's volume descriptor
// (a Joliet supplementary one before the primary one), adds the track's
// folder tree below its node and lists one folder's entries.
#pragma once

#include "explorer/TreeListControls.h"

#include <cstdint>
#include <optional>

class CDevCmdROM;

struct IsoVolumeDescriptor {
    uint8_t bytes[2048] = {};
    bool joliet = false;

    uint32_t RootLba() const;
    uint32_t RootLength() const;
};

// Looks at the ten sectors from trackStart + 16: the first supplementary
// descriptor with Joliet escape bytes, else the first primary descriptor.
std::optional<IsoVolumeDescriptor> FindIsoVolumeDescriptor(CDevCmdROM& drive, int32_t trackStart);

// How the folders of one volume are read.
struct IsoReadMode {
    int sectorMode = 1;           // 1 Mode 1, else Mode 2 (CD-ROM XA)
    bool joliet = false;
    int64_t endLba = INT32_MAX;   // no folder sector is read at or past it
};

// Adds the folders below the folder at folderLba as child nodes of parent
// (text the name, images 0/1, item data the folder's extent), depth first in
// record order. A folder that is one of its own ancestors, or already
// expanded elsewhere in the tree, is added without its children; so is any
// folder below the 64th level.
void AddIsoFolderTree(TreeControl& tree, CDevCmdROM& drive, const IsoReadMode& mode, NodeHandle parent,
                      uint32_t folderLba, uint32_t folderLength);

// The six folder columns: NAME, TIME, TYPE, SIZE, POS and the hidden "len".
void InsertIsoColumns(ListControl& list);

// Empties the list, inserts the six columns and one row per entry of the
// folder at folderLba (folders numbered from 0, files from 5000).
void ListIsoFolderRows(ListControl& list, CDevCmdROM& drive, const IsoReadMode& mode, uint32_t folderLba);
