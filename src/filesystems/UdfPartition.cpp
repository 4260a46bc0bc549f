// Partitions: from a partition reference and block to an absolute block, for
// plain, sparable, virtual (VAT) and metadata partitions.
#include "filesystems/CAnaly_UDF.h"

#include "common/InputLimits.h"

#include "common/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {
// The VAT's File Entry is the last block written; on a CD-R a closed packet
// is followed by seven run-out, link and run-in blocks, so search a little.
constexpr uint64_t kVatSearchBlocks = 32;
constexpr size_t kVat150Trailer = 36;
constexpr size_t kVat200Header = 152;
constexpr size_t kVatImplementationUseLength = 2;
constexpr uint8_t kFileTypeUnspecified = 0;
constexpr uint32_t kUnusedVatEntry = 0xFFFFFFFF;

// Sparing table
constexpr size_t kSparingIdentifier = 17;
constexpr size_t kSparingEntryCount = 48;
constexpr size_t kSparingEntries = 56;
constexpr uint32_t kMaxSparingEntries = 0xFFFF;
constexpr uint32_t kSparingAvailable = 0xFFFFFFF0; // this and above: no packet moved here

constexpr uint8_t kFileTypeMetadata = 250;
constexpr uint8_t kFileTypeMetadataMirror = 251;
} // namespace

int CAnaly_UDF::PhysicalPartitionRef(uint16_t number) const
{
    for (size_t i = 0; i < partitions_.size(); ++i)
        if (partitions_[i].kind != kVirtual && partitions_[i].kind != kMetadata && partitions_[i].number == number &&
            partitions_[i].described)
            return int(i);
    return -1;
}

bool CAnaly_UDF::PreparePartitions(const std::map<uint16_t, PartitionDescriptor>& partitionDescriptors)
{
    for (Partition& partition : partitions_) {
        const auto descriptor = partitionDescriptors.find(partition.number);
        if (descriptor == partitionDescriptors.end())
            continue;
        partition.described = true;
        partition.start = descriptor->second.start;
        partition.length = descriptor->second.length;
    }
    for (size_t i = 0; i < partitions_.size(); ++i) {
        Partition& partition = partitions_[i];
        if (!partition.described)
            continue;
        if (partition.kind == kSparable) {
            LoadSparingTable(partition);
        } else if (partition.kind == kMetadata) {
            if (!LoadMetadataFile(partition))
                return false;
        } else if (partition.kind == kVirtual) {
            const int physical = PhysicalPartitionRef(partition.number);
            if (physical < 0 || LoadVat(uint16_t(physical)) != 0)
                return false;
        }
    }
    return true;
}

// The first sparing table that reads: which packets were moved where. A disc
// without a readable table is read as if nothing had been moved.
void CAnaly_UDF::LoadSparingTable(Partition& partition)
{
    const uint64_t size = std::min<uint64_t>(partition.sparingTableSize, kSparingEntries + 8ull * kMaxSparingEntries);
    std::vector<uint8_t> table(size_t((size + blockSize_ - 1) / blockSize_ * blockSize_));
    for (uint32_t location : partition.sparingTables) {
        if (table.size() < kSparingEntries || !ReadBytes((volumeBase_ + location) * blockSize_, table.data(), table.size()) ||
            std::memcmp(&table[kSparingIdentifier], "*UDF Sparing Table", 18) != 0)
            continue;
        const uint32_t entries = GetLE16(&table[kSparingEntryCount]);
        for (uint64_t i = 0; i < entries && kSparingEntries + 8 * (i + 1) <= table.size(); ++i) {
            const uint8_t* entry = &table[kSparingEntries + 8 * i];
            if (GetLE32(entry) < kSparingAvailable)
                partition.sparedPackets[GetLE32(entry)] = volumeBase_ + GetLE32(entry + 4);
        }
        return;
    }
}

// The metadata file (or its mirror) holds the metadata partition's blocks;
// its extents lie in the physical partition of the same number.
bool CAnaly_UDF::LoadMetadataFile(Partition& partition)
{
    const int physical = PhysicalPartitionRef(partition.number);
    if (physical < 0)
        return false;
    for (uint32_t block : {partition.metadataFile, partition.metadataMirror}) {
        uint64_t location = 0;
        EntryBlock entry;
        if (!MapBlock(uint16_t(physical), block, location) || !ReadEntry(location, entry) ||
            (entry.view.fileType != kFileTypeMetadata && entry.view.fileType != kFileTypeMetadataMirror) ||
            !LocateData(entry, uint16_t(physical), entry.view.infoLength, partition.metadataExtents))
            continue;
        uint64_t offset = 0;
        partition.metadataOffsets.clear();
        for (const Udf::Extent& extent : partition.metadataExtents) {
            partition.metadataOffsets.push_back(offset);
            offset += extent.length;
        }
        return true;
    }
    return false;
}

// Finds the VAT's File Entry near the last written block and copies its
// entries into the temporary file: a UDF 2.00 VAT (file type 248) after its
// header of 152 + L_IU bytes, a UDF 1.50 VAT (file type 0, its last 36 bytes
// naming it) without that trailer.
int CAnaly_UDF::LoadVat(uint16_t physicalRef)
{
    if (!drive_ || lastWrittenSector_ < 0 || !vat_.Create())
        return 1;
    const uint64_t lastBlock = uint64_t(lastWrittenSector_) * 2048 / blockSize_;
    std::vector<uint8_t> body;
    for (uint64_t k = 0; k < kVatSearchBlocks && k <= lastBlock; ++k) {
        EntryBlock entry;
        if (!ReadEntry(lastBlock - k, entry) ||
            (entry.view.fileType != Udf::kFileTypeVat && entry.view.fileType != kFileTypeUnspecified) ||
            !ReadData(entry, physicalRef, InputLimits::kMaxVatBytes, body))
            continue;
        size_t first = 0;
        size_t end = body.size();
        if (entry.view.fileType == Udf::kFileTypeVat) {
            if (body.size() < kVat200Header)
                continue;
            first = kVat200Header + GetLE16(&body[kVatImplementationUseLength]);
        } else {
            if (body.size() < kVat150Trailer || std::memcmp(&body[end - kVat150Trailer + 1], "*UDF Virtual Alloc Tbl", 22) != 0)
                continue;
            end -= kVat150Trailer;
        }
        if (first > end)
            continue;
        end = first + (end - first) / 4 * 4;
        return vat_.Append(body.data() + first, end - first) ? 0 : 1;
    }
    return 1;
}

int CAnaly_UDF::MapVirtualBlock(uint32_t virtualBlock, uint32_t& partitionBlock)
{
    uint32_t entry = 0;
    if (!vat_.Lookup(virtualBlock, entry) || entry == kUnusedVatEntry)
        return 1;
    partitionBlock = entry;
    return 0;
}

bool CAnaly_UDF::MapBlock(uint16_t partitionRef, uint32_t block, uint64_t& location)
{
    if (partitionRef >= partitions_.size() || !partitions_[partitionRef].described)
        return false;
    const Partition& partition = partitions_[partitionRef];
    switch (partition.kind) {
    case kSparable:
        if (partition.packetLength > 0) {
            const uint32_t packet = block - block % partition.packetLength;
            const auto spared = partition.sparedPackets.find(packet);
            if (spared != partition.sparedPackets.end()) {
                location = spared->second + (block - packet);
                return true;
            }
        }
        location = partition.start + block;
        return true;
    case kVirtual: {
        uint32_t partitionBlock = 0;
        if (MapVirtualBlock(block, partitionBlock) != 0)
            return false;
        location = partition.start + partitionBlock;
        return true;
    }
    case kMetadata: {
        const uint64_t offset = uint64_t(block) * blockSize_;
        const auto next = std::upper_bound(partition.metadataOffsets.begin(), partition.metadataOffsets.end(), offset);
        if (next == partition.metadataOffsets.begin())
            return false;
        const size_t index = size_t(next - partition.metadataOffsets.begin()) - 1;
        const Udf::Extent& extent = partition.metadataExtents[index];
        const uint64_t within = offset - partition.metadataOffsets[index];
        location = extent.location + within / blockSize_;
        return within < extent.length && extent.recorded;
    }
    default:
        location = partition.start + block;
        return true;
    }
}

// Appends the absolute extents of length bytes from block on: one extent on a
// plain partition, else as many as the blocks' mapping breaks it into.
bool CAnaly_UDF::MapExtent(uint16_t partitionRef, uint32_t block, uint32_t length, std::vector<Udf::Extent>& extents)
{
    if (partitionRef < partitions_.size() && partitions_[partitionRef].kind == kPlain) {
        Udf::Extent extent;
        if (!MapBlock(partitionRef, block, extent.location))
            return false;
        extent.length = length;
        extents.push_back(extent);
        return true;
    }
    const uint64_t blocks = (uint64_t(length) + blockSize_ - 1) / blockSize_;
    for (uint64_t i = 0; i < blocks; ++i) {
        uint64_t location = 0;
        if (!MapBlock(partitionRef, uint32_t(block + i), location))
            return false;
        const uint32_t piece = uint32_t(std::min<uint64_t>(blockSize_, length - i * blockSize_));
        if (i > 0 && extents.back().location + extents.back().length / blockSize_ == location)
            extents.back().length += piece;
        else
            extents.push_back({location, piece, true});
    }
    return true;
}
