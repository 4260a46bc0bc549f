// ECMA-167 / OSTA UDF descriptors as they lie in a block: descriptor tags,
// File Entries and Extended File Entries, allocation descriptors and
// timestamps. Every field is read only inside the buffer handed in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Udf {

enum TagId : uint16_t {
    kTagPrimaryVolume = 1,
    kTagAnchor = 2,
    kTagVolumePointer = 3,
    kTagPartition = 5,
    kTagLogicalVolume = 6,
    kTagTerminator = 8,
    kTagIntegrity = 9,
    kTagFileSet = 256,
    kTagFileIdentifier = 257,
    kTagAllocationExtent = 258,
    kTagIndirectEntry = 259,
    kTagFileEntry = 261,
    kTagExtendedFileEntry = 266,
};

enum AllocType { kShortAd = 0, kLongAd = 1, kExtendedAd = 2, kEmbedded = 3 };

enum FileType : uint8_t { kFileTypeDirectory = 4, kFileTypeVat = 248 };

// True when the 16-byte descriptor tag at the start of buffer carries id and
// a correct checksum.
bool IsTag(const uint8_t* buffer, size_t length, uint16_t id);

// A run of data in absolute blocks; an unrecorded run reads as zeros.
struct Extent {
    uint64_t location = 0;
    uint32_t length = 0; // bytes
    bool recorded = true;
};

// Where the fields of a File Entry or an Extended File Entry lie.
struct FileEntryView {
    uint16_t tag = 0;
    uint8_t fileType = 0;
    int allocType = 0;
    uint64_t infoLength = 0;
    size_t modificationTime = 0; // offset of the timestamp
    size_t adOffset = 0;         // allocation descriptors, or the embedded data
    size_t adLength = 0;
};

// False when the block holds no File Entry (tag 261) or Extended File Entry
// (tag 266), or its extended attributes and descriptors run past the block.
bool ParseFileEntry(const uint8_t* block, size_t length, FileEntryView& view);

// The allocation descriptor type of an entry's ICB flags; -1 for an empty buffer.
int GetAllocType(const uint8_t* entry, size_t length);

// One short, long or extended allocation descriptor.
struct AllocationDescriptor {
    uint32_t length = 0;     // low 30 bits of the extent length
    uint8_t extentType = 0;  // 0 recorded, 1 allocated only, 2 neither, 3 next extent of descriptors
    uint32_t block = 0;
    bool hasPartitionRef = false; // short descriptors lie in the partition of their entry
    uint16_t partitionRef = 0;
};

// Bytes per descriptor of allocType (0 for embedded data and unknown types).
size_t AllocationDescriptorSize(int allocType);
// Reads the descriptor at p; AllocationDescriptorSize(allocType) bytes must be there.
AllocationDescriptor ReadAllocationDescriptor(const uint8_t* p, int allocType);

// "%d-%d-%d %d:%d:%d": year, month, day, hour, minute, second.
std::string FormatTimestamp(const uint8_t* timestamp);

} // namespace Udf
