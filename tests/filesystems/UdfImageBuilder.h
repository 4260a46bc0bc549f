// Writes small UDF images with exactly the structures a test asks for: plain,
// sparable, virtual (VAT 1.50 and 2.00) and metadata partitions, File or
// Extended File Entries, data split into several extents and continued in
// Allocation Extent Descriptors, any logical block size. Tests patch the
// result to make it hostile.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class UdfImageBuilder {
public:
    enum class Layout { Plain, Sparable, Virtual150, Virtual200, Metadata };
    struct Options {
        uint32_t blockSize = 2048;
        Layout layout = Layout::Plain;
        bool extendedEntries = false;  // Extended File Entries (tag 266)
        uint32_t maxExtentBlocks = 0;  // data split into extents this long, a free block between them
        uint32_t descriptorsInEntry = 0; // more descriptors go to an Allocation Extent Descriptor
        bool embedData = false;        // data that fits is kept in the File Entry
        uint16_t fidImplementationUse = 0;
        uint32_t vatEntries = 0;       // at least this many VAT entries (unused ones 0xFFFFFFFF)
        uint16_t revision = 0x0201;
        std::string label = "CRAFTED";
        uint32_t spareBlocks = 64;     // sparable: size of the spare area
    };
    static constexpr int kRoot = 0;
    static constexpr uint64_t kPartitionStart = 264; // absolute block

    explicit UdfImageBuilder(Options options);

    int AddFolder(int parent, const std::string& name);
    int AddFile(int parent, const std::string& name, std::string data);
    // A further identifier for an existing entry (a hard link, or a cycle).
    void AddLink(int parent, const std::string& name, int target, bool asFolder);
    // Information length recorded instead of the data's size.
    void SetDeclaredLength(int entry, uint64_t length);

    std::vector<uint8_t> Build();

    // After Build: the absolute block of an entry's File Entry (its location
    // as the reader reports it) and the absolute byte of its data.
    uint64_t EntryLocation(int entry) const { return entries_[size_t(entry)].feAbsolute; }
    uint64_t DataByte(int entry) const { return entries_[size_t(entry)].dataByte; }
    // Sparable: moves the packet holding this entry's File Entry to the spare
    // area and records it in the sparing table. Call before Build.
    void SpareEntryPacket(int entry) { sparedEntry_ = entry; }

private:
    struct Link {
        std::string name;
        int target;
        bool folder;
    };
    struct Entry {
        bool folder = false;
        int parent = 0;
        std::string data;
        uint64_t declaredLength = UINT64_MAX;
        std::vector<Link> children;
        // Layout
        uint32_t icbBlock = 0;     // as FIDs name it (partition, virtual or metadata block)
        uint32_t feBlock = 0;      // in the entry's own space (partition or metadata block)
        uint64_t feAbsolute = 0;
        uint64_t dataByte = 0;
    };
    struct Run {
        uint32_t block; // in the space of the descriptor
        uint32_t length;
    };

    uint8_t* Block(uint64_t absolute);
    uint64_t PhysicalAbsolute(uint32_t partitionBlock) const { return kPartitionStart + partitionBlock; }
    uint64_t MetadataAbsolute(uint32_t metadataBlock) const;
    uint64_t EntrySpaceAbsolute(uint32_t block) const;
    std::vector<Run> Allocate(uint32_t& next, uint64_t bytes) const;
    std::string FolderIdentifiers(const Entry& folder, int self) const;
    void WriteEntry(int index, const std::string& content);
    void WriteVolumeStructures(uint32_t partitionLength);
    void WriteVat();
    void ApplySparing();

    Options options_;
    std::vector<Entry> entries_;
    std::vector<uint8_t> image_;
    int sparedEntry_ = -1;
    // Allocation state
    uint32_t nextPhysical_ = 0;
    uint32_t nextEntrySpace_ = 0;
    uint32_t metadataFirstRun_ = 0; // metadata blocks in the first physical run
    uint32_t metadataRunStart_[2] = {0, 0};
    uint32_t sparingTable_ = 0;     // absolute block
    uint32_t spareArea_ = 0;        // absolute block
};

// UTF-8 to an OSTA CS0 identifier: 8-bit when every character fits, else 16-bit.
std::string EncodeOstaName(const std::string& utf8);
