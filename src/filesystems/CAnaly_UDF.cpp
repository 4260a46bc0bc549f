// Mounting: the anchor, the volume descriptor sequence, the partition maps
// and the file set.
#include "filesystems/CAnaly_UDF.h"

#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "drive/CDevCmdROM.h"
#include "drive/MmcRecords.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kSectorSize = 2048;
// 2048 first: the block size of nearly every optical disc.
constexpr uint32_t kBlockSizes[] = {2048, 512, 1024, 4096};
constexpr uint64_t kRecognitionStart = 32768;
constexpr int kMaxRecognitionDescriptors = 16;
constexpr uint32_t kAnchorBlock = 256;
constexpr uint32_t kUnclosedAnchorBlock = 512; // a CD-R whose session is still open
// Without a track size from the drive, reads stop at the largest disc (BD-XL).
constexpr uint64_t kUnknownDiscBytes = 128ull << 30;

// Anchor Volume Descriptor Pointer
constexpr size_t kAnchorMainLength = 16;
constexpr size_t kAnchorReserveLength = 24;
constexpr size_t kTagLocation = 12;
// Volume Descriptor Pointer
constexpr size_t kNextSequenceLength = 20;
// Partition Descriptor
constexpr size_t kPartitionNumber = 22;
constexpr size_t kPartitionStart = 188;
constexpr size_t kPartitionLength = 192;
// Logical Volume Descriptor
constexpr size_t kDomainIdentifier = 216;
constexpr size_t kFileSetLocation = 248; // long_ad
constexpr size_t kMapTableLength = 264;
constexpr size_t kIntegrityExtent = 432;
constexpr size_t kPartitionMaps = 440;
// Logical Volume Integrity Descriptor
constexpr size_t kNextIntegrityExtent = 32;
constexpr size_t kIntegrityPartitions = 72;
constexpr size_t kIntegrityWriteRevision = 124; // + 8 per partition
// File Set Descriptor
constexpr size_t kRootIcb = 400; // long_ad

// Type 2 partition map
constexpr size_t kMapIdentifier = 4;
constexpr size_t kMapIdentifierLength = 32;
constexpr size_t kMapPartitionNumber = 38;
constexpr size_t kSparingPacketLength = 40;
constexpr size_t kSparingTableCount = 42;
constexpr size_t kSparingTableSize = 44;
constexpr size_t kSparingTableLocations = 48;
constexpr size_t kMetadataFileLocation = 40;
constexpr size_t kMetadataMirrorLocation = 44;
constexpr size_t kType2MapLength = 64;

bool Contains(const uint8_t* field, size_t length, const char* text)
{
    return CAnaly_UDF::FindBytes(field, length, reinterpret_cast<const uint8_t*>(text), std::strlen(text)) >= 0;
}
} // namespace

CAnaly_UDF::CAnaly_UDF() = default;
CAnaly_UDF::~CAnaly_UDF() = default;

bool CAnaly_UDF::Init(CDevCmdROM* drive, uint8_t* descriptorBuffer, int32_t trackStart)
{
    drive_ = nullptr;
    descriptorBuffer_ = descriptorBuffer;
    vat_.Remove();
    partitions_.clear();
    partitionKind_ = kPlain;
    udfRevision_ = 0;
    blockSize_ = kSectorSize;
    volumeBase_ = 0;
    fileSetPartition_ = 0;
    rootLocation_ = 0;
    cachedSector_ = -1;
    if (!drive || drive->TestUnitReady() != 0 || trackStart < 0)
        return false;
    drive_ = drive;
    if (ReadVolume(trackStart) != 0) {
        drive_ = nullptr;
        vat_.Remove();
        return false;
    }
    return true;
}

uint64_t CAnaly_UDF::RootLocation() const { return rootLocation_; }

int CAnaly_UDF::FindBytes(const uint8_t* buffer, size_t length, const uint8_t* pattern, size_t patternLength)
{
    if (length == 0 || patternLength == 0 || patternLength > length)
        return -1;
    const uint8_t* found = std::search(buffer, buffer + length, pattern, pattern + patternLength);
    return found == buffer + length ? -1 : int(found - buffer);
}

void CAnaly_UDF::ReadTrackExtent(int32_t trackStart)
{
    endByte_ = uint64_t(trackStart) * kSectorSize + kUnknownDiscBytes;
    lastWrittenSector_ = -1;
    TRACK_INFO track{};
    if (drive_->ReadTrackInfo(track, 0, uint32_t(trackStart)) != 0)
        return;
    const uint64_t end = uint64_t(GetBE32(&track.bytes[8])) + GetBE32(&track.bytes[24]);
    if (end <= uint64_t(trackStart))
        return;
    endByte_ = end * kSectorSize;
    lastWrittenSector_ = int64_t(end) - 1;
    // An open track of a packet-written disc ends at its next writable address.
    const uint32_t nextWritable = GetBE32(&track.bytes[12]);
    if ((track.bytes[7] & 0x01) && nextWritable > uint32_t(trackStart) && nextWritable <= end)
        lastWrittenSector_ = int64_t(nextWritable) - 1;
}

// The volume recognition sequence from byte 32768 of the track: one
// descriptor per block of the volume (2048 bytes for smaller blocks), an NSR
// descriptor among them before the terminating one.
bool CAnaly_UDF::HasRecognitionSequence(uint64_t trackByte)
{
    const uint32_t step = std::max(blockSize_, kSectorSize);
    uint8_t header[6];
    for (int i = 0; i < kMaxRecognitionDescriptors; ++i) {
        if (!ReadBytes(trackByte + kRecognitionStart + uint64_t(i) * step, header, sizeof header))
            return false;
        const char* identifier = reinterpret_cast<const char*>(header + 1);
        if (std::memcmp(identifier, "NSR02", 5) == 0 || std::memcmp(identifier, "NSR03", 5) == 0)
            return true;
        if (std::memcmp(identifier, "TEA01", 5) == 0 || header[1] == 0)
            return false;
    }
    return false;
}

// The anchor at block 256 of the volume, else at 512 (an unclosed CD-R), else
// at the track's last block or 256 blocks before it. The block size is the
// one whose anchor names its own block in its tag and whose recognition
// sequence is laid out in its blocks; failing that, the first anchor whose
// tag names its block, or a 2048-byte anchor at 256 or 512 whatever it names.
// The volume's addresses count from the disc's start, or from the track's
// when the anchor says so.
bool CAnaly_UDF::FindAnchor(int32_t trackStart, std::vector<uint8_t>& anchor)
{
    const uint64_t trackByte = uint64_t(trackStart) * kSectorSize;
    enum class Check { LocationAndSequence, Location, TagOnly };
    for (Check check : {Check::LocationAndSequence, Check::Location, Check::TagOnly}) {
        for (uint32_t blockSize : kBlockSizes) {
            if (trackByte % blockSize != 0 || (check == Check::TagOnly && blockSize != kSectorSize))
                continue;
            blockSize_ = blockSize;
            if (check == Check::LocationAndSequence && !HasRecognitionSequence(trackByte))
                continue;
            const uint64_t trackBlock = trackByte / blockSize;
            const uint64_t trackBlocks = endByte_ / blockSize - trackBlock;
            std::vector<uint64_t> candidates = {kAnchorBlock, kUnclosedAnchorBlock};
            if (check != Check::TagOnly && trackBlocks > kAnchorBlock + 1 && lastWrittenSector_ >= 0) {
                candidates.push_back(trackBlocks - 1 - kAnchorBlock);
                candidates.push_back(trackBlocks - 1);
            }
            for (uint64_t relative : candidates) {
                if (!ReadBlock(trackBlock + relative, anchor) ||
                    !Udf::IsTag(anchor.data(), anchor.size(), Udf::kTagAnchor))
                    continue;
                const uint32_t tagLocation = GetLE32(&anchor[kTagLocation]);
                if (check == Check::TagOnly || tagLocation == trackBlock + relative) {
                    volumeBase_ = 0;
                    return true;
                }
                if (tagLocation == relative) {
                    volumeBase_ = trackBlock;
                    return true;
                }
            }
        }
    }
    blockSize_ = kSectorSize;
    return false;
}

int CAnaly_UDF::ReadVolume(int32_t trackStart)
{
    ReadTrackExtent(trackStart);
    std::vector<uint8_t> anchor;
    if (!FindAnchor(trackStart, anchor))
        return 1;
    std::vector<uint8_t> logicalVolume;
    std::map<uint16_t, PartitionDescriptor> partitionDescriptors;
    // The reserve sequence stands in for a main sequence that cannot be read.
    bool found = false;
    for (size_t extent : {kAnchorMainLength, kAnchorReserveLength}) {
        found = ReadDescriptorSequence(volumeBase_ + GetLE32(&anchor[extent + 4]), GetLE32(&anchor[extent]),
                                       logicalVolume, partitionDescriptors);
        if (found)
            break;
    }
    if (!found)
        return 1;
    ReadUdfRevision(logicalVolume.data(), logicalVolume.size());
    partitionKind_ = ParsePartitionMaps(logicalVolume.data(), logicalVolume.size());
    if (!PreparePartitions(partitionDescriptors) || !FindFileSet(logicalVolume.data()))
        return 1;
    return 0;
}

// Walks one volume descriptor sequence: the first Primary Volume Descriptor
// goes to the descriptor buffer, every Partition Descriptor is kept by its
// number, the first Logical Volume Descriptor is taken. True when the
// sequence gave a logical volume and a partition.
bool CAnaly_UDF::ReadDescriptorSequence(uint64_t location, uint32_t length, std::vector<uint8_t>& logicalVolume,
                                        std::map<uint16_t, PartitionDescriptor>& partitionDescriptors)
{
    bool primaryCopied = false;
    std::vector<uint8_t> block;
    uint32_t budget = uint32_t(InputLimits::kMaxVolumeDescriptors);
    for (int extent = 0; extent < InputLimits::kMaxSequenceExtents; ++extent) {
        const uint32_t count = std::max<uint32_t>(1, length / blockSize_);
        bool followPointer = false;
        for (uint32_t i = 0; i < count && budget > 0 && !followPointer; ++i, --budget) {
            if (!ReadBlock(location + i, block))
                break;
            const uint16_t tag = GetLE16(block.data());
            if (!Udf::IsTag(block.data(), block.size(), tag) || tag == Udf::kTagTerminator || tag == 0)
                break;
            if (tag == Udf::kTagPrimaryVolume && !primaryCopied && descriptorBuffer_) {
                std::memset(descriptorBuffer_, 0, kSectorSize);
                std::memcpy(descriptorBuffer_, block.data(), std::min<size_t>(block.size(), kSectorSize));
                primaryCopied = true;
            } else if (tag == Udf::kTagPartition) {
                partitionDescriptors.emplace(GetLE16(&block[kPartitionNumber]),
                                             PartitionDescriptor{volumeBase_ + GetLE32(&block[kPartitionStart]),
                                                                 GetLE32(&block[kPartitionLength])});
            } else if (tag == Udf::kTagLogicalVolume && logicalVolume.empty()) {
                logicalVolume = block;
            } else if (tag == Udf::kTagVolumePointer) {
                length = GetLE32(&block[kNextSequenceLength]);
                location = volumeBase_ + GetLE32(&block[kNextSequenceLength + 4]);
                followPointer = true;
            }
        }
        if (!followPointer)
            break;
    }
    return !logicalVolume.empty() && !partitionDescriptors.empty();
}

// The highest revision written, from the last integrity descriptor of the
// volume's integrity sequence, else from the logical volume's domain.
int CAnaly_UDF::ReadUdfRevision(const uint8_t* logicalVolume, size_t length)
{
    if (length < kPartitionMaps)
        return 1;
    uint32_t extentLength = GetLE32(logicalVolume + kIntegrityExtent);
    uint64_t location = volumeBase_ + GetLE32(logicalVolume + kIntegrityExtent + 4);
    std::vector<uint8_t> block;
    uint16_t revision = 0;
    int budget = InputLimits::kMaxVolumeDescriptors;
    while (extentLength > 0 && budget > 0) {
        const uint32_t count = std::max<uint32_t>(1, extentLength / blockSize_);
        extentLength = 0;
        for (uint32_t i = 0; i < count && budget > 0; ++i, --budget) {
            if (!ReadBlock(location + i, block) || !Udf::IsTag(block.data(), block.size(), Udf::kTagIntegrity))
                break;
            const uint64_t field = kIntegrityWriteRevision + 8ull * GetLE32(&block[kIntegrityPartitions]);
            if (field + 2 <= block.size())
                revision = GetLE16(&block[field]);
            const uint32_t nextLength = GetLE32(&block[kNextIntegrityExtent]);
            if (nextLength > 0) {
                extentLength = nextLength;
                location = volumeBase_ + GetLE32(&block[kNextIntegrityExtent + 4]);
                break;
            }
        }
    }
    if (revision == 0 && Contains(logicalVolume + kDomainIdentifier, 24, "*OSTA UDF Compliant"))
        revision = GetLE16(logicalVolume + kDomainIdentifier + 24);
    udfRevision_ = revision;
    return revision != 0 ? 0 : 1;
}

// One entry per partition map, in map order (the partition reference of
// allocation descriptors); the result is the kind of the first type 2 map.
int CAnaly_UDF::ParsePartitionMaps(const uint8_t* logicalVolume, size_t length)
{
    if (!logicalVolume || length <= kPartitionMaps)
        return kPlain;
    const uint64_t end = std::min<uint64_t>(length, kPartitionMaps + uint64_t(GetLE32(logicalVolume + kMapTableLength)));
    int kind = kPlain;
    bool sawType2 = false;
    for (uint64_t position = kPartitionMaps; position + 2 <= end;) {
        const uint8_t* map = logicalVolume + position;
        const uint8_t type = map[0];
        const uint8_t mapLength = map[1];
        if (type == 0 || mapLength < 2 || position + mapLength > end)
            break;
        Partition partition;
        partition.number = 0xFFFF; // no descriptor carries it: the map stays unusable
        if (type == 1 && mapLength >= 6) {
            partition.number = GetLE16(map + 4);
        } else if (type == 2 && mapLength >= kType2MapLength) {
            const uint8_t* identifier = map + kMapIdentifier;
            partition.number = GetLE16(map + kMapPartitionNumber);
            if (Contains(identifier, kMapIdentifierLength, "Virtual")) {
                partition.kind = kVirtual;
            } else if (Contains(identifier, kMapIdentifierLength, "Sparable")) {
                partition.kind = kSparable;
                partition.packetLength = GetLE16(map + kSparingPacketLength);
                partition.sparingTableSize = GetLE32(map + kSparingTableSize);
                const int tables = std::min<int>(map[kSparingTableCount], 4);
                for (int i = 0; i < tables; ++i)
                    partition.sparingTables.push_back(GetLE32(map + kSparingTableLocations + 4 * i));
            } else if (Contains(identifier, kMapIdentifierLength, "Metadata")) {
                partition.kind = kMetadata;
                partition.metadataFile = GetLE32(map + kMetadataFileLocation);
                partition.metadataMirror = GetLE32(map + kMetadataMirrorLocation);
            } else {
                partition.number = 0xFFFF;
            }
            if (!sawType2)
                kind = partition.kind;
            sawType2 = true;
        }
        partitions_.push_back(partition);
        position += mapLength;
    }
    return kind;
}

// The File Set Descriptor named by the logical volume, and its root folder.
bool CAnaly_UDF::FindFileSet(const uint8_t* logicalVolume)
{
    uint64_t location = 0;
    std::vector<uint8_t> fileSet;
    if (!MapBlock(GetLE16(logicalVolume + kFileSetLocation + 8), GetLE32(logicalVolume + kFileSetLocation + 4),
                  location) ||
        !ReadBlock(location, fileSet) || !Udf::IsTag(fileSet.data(), fileSet.size(), Udf::kTagFileSet) ||
        fileSet.size() < kRootIcb + 16)
        return false;
    fileSetPartition_ = GetLE16(&fileSet[kRootIcb + 8]);
    return MapBlock(fileSetPartition_, GetLE32(&fileSet[kRootIcb + 4]), rootLocation_);
}
