// Reads the UDF volume of one data track: plain, sparable, virtual (VAT) and
// metadata partitions; fills the explorer's tree and list and serves the
// extraction engine's folder walks and file reads.
#pragma once

#include "explorer/TreeListControls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDevCmdROM;

// One entry of a UDF directory, as the extraction engine walks it.
struct UdfDirEntry {
    std::string name;          // decoded OSTA name, UTF-8
    bool isFolder = false;
    uint64_t location = 0;     // of its File Entry, as FillList's POS and item data use it
    uint64_t size = 0;         // information length
};

class CAnaly_UDF {
public:
    CAnaly_UDF();
    virtual ~CAnaly_UDF();
    CAnaly_UDF(const CAnaly_UDF&) = delete;
    CAnaly_UDF& operator=(const CAnaly_UDF&) = delete;

    // Mounts the volume of the track starting at trackStart; the Primary
    // Volume Descriptor is copied into descriptorBuffer (2048 bytes) when given.
    bool Init(CDevCmdROM* drive, uint8_t* descriptorBuffer, int32_t trackStart);
    // 0 done, 1 without drive. Sets the track node's item data to the root
    // folder's location and adds every sub-folder below it.
    int FillTree(TreeControl& tree, NodeHandle trackNode);
    // Lists the folder whose File Entry is at location (the item data of a
    // folder node): columns "Name", "TIME", "TYPE", "SIZE", "POS".
    void FillList(ListControl& list, uint64_t location);

    uint64_t RootLocation() const;
    // The folder's entries in descriptor order, without the parent entry.
    bool ReadDirectory(uint64_t location, std::vector<UdfDirEntry>& entries);
    // Streams a file's whole information length through every extent
    // (unrecorded extents as zeros), in pieces; sink returns false to stop.
    // False when a read fails or the sink stopped.
    bool ReadFileContents(uint64_t location, const std::function<bool(const uint8_t*, size_t)>& sink);
};
