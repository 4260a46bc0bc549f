// Reads the UDF volume of one data track: plain, sparable, virtual (VAT) and
// metadata partitions; fills the explorer's tree and list and serves the
// extraction engine's folder walks and file reads.
//
// A location is the absolute address of a File Entry in logical blocks of the
// volume, counted from the start of the disc: on the usual 2048-byte volumes
// it is the sector of the File Entry. Volumes with 512, 1024 or 4096-byte
// blocks are read through the source's 2048-byte sectors.
#pragma once

#include "explorer/TreeListControls.h"
#include "filesystems/UdfEntry.h"
#include "filesystems/UdfVatFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
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
    // The kind of the logical volume's first type 2 partition map.
    enum PartitionKind { kPlain = 0, kVirtual = 1, kSparable = 2, kMetadata = 3 };

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
    // Adds the sub-folders of the folder at location below parent, depth
    // first. A folder met a second time (a cycle, or a folder linked twice)
    // is added without its children, and so is any folder below level 64.
    void AddFolders(TreeControl& tree, NodeHandle parent, uint64_t location);
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
    // The modification time ("%d-%d-%d %d:%d:%d") and the information length
    // in decimal of the entry at location; false, texts untouched, when the
    // entry cannot be read or is no file, folder or device entry.
    bool GetTimeAndSize(uint64_t location, std::string& time, std::string& size);

    int GetPartitionKind() const { return partitionKind_; }
    // The highest UDF revision written to the volume (0x0102, 0x0150, 0x0201,
    // 0x0250, ...); 0 when the volume does not say.
    uint16_t GetUdfRevision() const { return udfRevision_; }
    uint32_t GetBlockSize() const { return blockSize_; }
    // The temporary file holding the VAT of a virtual volume; empty otherwise.
    const std::string& GetVatFilePath() const { return vat_.Path(); }

    // The first position of pattern in buffer, or -1 (also for empty input).
    static int FindBytes(const uint8_t* buffer, size_t length, const uint8_t* pattern, size_t patternLength);

private:
    struct Partition {
        int kind = kPlain;
        uint16_t number = 0;        // of its Partition Descriptor
        bool described = false;     // that descriptor was found
        uint64_t start = 0;         // absolute block
        uint32_t length = 0;        // in blocks
        // Sparable: packets moved to the spare area (partition-relative
        // packet -> absolute block).
        uint32_t packetLength = 0;
        std::vector<uint32_t> sparingTables;
        uint32_t sparingTableSize = 0;
        std::map<uint32_t, uint64_t> sparedPackets;
        // Metadata: where the metadata file (and its mirror) lie.
        uint32_t metadataFile = 0;
        uint32_t metadataMirror = 0;
        std::vector<Udf::Extent> metadataExtents;
    };
    struct PartitionDescriptor {
        uint64_t start = 0; // absolute block
        uint32_t length = 0;
    };
    struct EntryBlock {
        uint64_t location = 0;
        std::vector<uint8_t> bytes; // one logical block
        Udf::FileEntryView view;
    };
    using Sink = std::function<bool(const uint8_t*, size_t)>;

    // Volume (CAnaly_UDF.cpp)
    int ReadVolume(int32_t trackStart);
    bool HasRecognitionSequence(uint64_t trackByte);
    bool FindAnchor(int32_t trackStart, std::vector<uint8_t>& anchor);
    bool ReadDescriptorSequence(uint64_t location, uint32_t length, std::vector<uint8_t>& logicalVolume,
                                std::map<uint16_t, PartitionDescriptor>& partitionDescriptors);
    int ParsePartitionMaps(const uint8_t* logicalVolume, size_t length);
    int ReadUdfRevision(const uint8_t* logicalVolume, size_t length);
    void ReadTrackExtent(int32_t trackStart);
    bool FindFileSet(const uint8_t* logicalVolume);

    // Partitions (UdfPartition.cpp)
    bool PreparePartitions(const std::map<uint16_t, PartitionDescriptor>& partitionDescriptors);
    void LoadSparingTable(Partition& partition);
    bool LoadMetadataFile(Partition& partition);
    int LoadVat(uint16_t physicalRef);
    int MapVirtualBlock(uint32_t virtualBlock, uint32_t& partitionBlock);
    bool MapBlock(uint16_t partitionRef, uint32_t block, uint64_t& location);
    bool MapExtent(uint16_t partitionRef, uint32_t block, uint32_t length, std::vector<Udf::Extent>& extents);
    int PhysicalPartitionRef(uint16_t number) const;

    // Entries and directories (UdfDirectory.cpp)
    bool ReadBytes(uint64_t byteAddress, uint8_t* out, size_t length);
    bool ReadBlock(uint64_t location, std::vector<uint8_t>& block);
    bool ReadEntry(uint64_t location, EntryBlock& entry);
    bool LocateData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit,
                    std::vector<Udf::Extent>& extents);
    bool StreamData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit, const Sink& sink);
    bool ReadData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit, std::vector<uint8_t>& data);
    bool WalkDirectory(uint64_t location, std::vector<UdfDirEntry>& entries);
    void AddFolderLevel(TreeControl& tree, NodeHandle parent, uint64_t location, int depth,
                        std::set<uint64_t>& expanded);

    CDevCmdROM* drive_ = nullptr;
    uint8_t* descriptorBuffer_ = nullptr;
    int partitionKind_ = kPlain;
    uint16_t udfRevision_ = 0;
    uint32_t blockSize_ = 2048;
    uint64_t volumeBase_ = 0;       // absolute block that the volume's own addresses count from
    uint64_t endByte_ = 0;          // no read reaches this byte of the disc
    int64_t lastWrittenSector_ = -1;
    std::vector<Partition> partitions_; // in partition map order (the partition reference)
    uint16_t fileSetPartition_ = 0;     // where the File Entries of the file set lie
    uint64_t rootLocation_ = 0;
    UdfVatFile vat_;

    int64_t cachedSector_ = -1;         // the last 2048-byte sector read
    std::vector<uint8_t> sectorCache_;
};
