// Entries and directories: reading File Entries, following their allocation
// descriptors through every extent, walking File Identifier Descriptors.
#include "filesystems/CAnaly_UDF.h"

#include "common/InputLimits.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "filesystems/OstaName.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint32_t kSectorSize = 2048;
constexpr uint32_t kMaxSectorsPerRead = 32;
constexpr size_t kChunkSize = kMaxSectorsPerRead * kSectorSize;

// Indirect Entry: the ICB it leads to (long_ad).
constexpr size_t kIndirectIcb = 36;
// Allocation Extent Descriptor: its descriptors' length and the descriptors.
constexpr size_t kContinuationLength = 20;
constexpr size_t kContinuationDescriptors = 24;

// File Identifier Descriptor
constexpr size_t kFidCharacteristics = 18;
constexpr size_t kFidIdentifierLength = 19;
constexpr size_t kFidIcb = 20; // long_ad
constexpr size_t kFidImplementationUseLength = 36;
constexpr size_t kFidFixedPart = 38;
constexpr uint8_t kFidDirectory = 0x02;
constexpr uint8_t kFidDeleted = 0x04;
constexpr uint8_t kFidParent = 0x08;
} // namespace

bool CAnaly_UDF::ReadBytes(uint64_t byteAddress, uint8_t* out, size_t length)
{
    if (!drive_ || byteAddress > endByte_ || length > endByte_ - byteAddress)
        return false;
    while (length > 0) {
        const uint64_t sector = byteAddress / kSectorSize;
        const size_t offset = size_t(byteAddress % kSectorSize);
        size_t done = 0;
        if (offset == 0 && length >= kSectorSize) {
            // Whole sectors go straight to the caller.
            const uint32_t count = uint32_t(std::min<uint64_t>(length / kSectorSize, kMaxSectorsPerRead));
            if (sector + count > uint64_t(INT32_MAX))
                return false;
            done = size_t(count) * kSectorSize;
            std::memset(out, 0, done);
            if (drive_->ReadCD_10(out, uint32_t(done), count, int32_t(sector)) != 0)
                return false;
        } else {
            if (cachedSector_ != int64_t(sector)) {
                cachedSector_ = -1;
                sectorCache_.assign(kSectorSize, 0);
                if (sector > uint64_t(INT32_MAX) ||
                    drive_->ReadCD_10(sectorCache_.data(), kSectorSize, 1, int32_t(sector)) != 0)
                    return false;
                cachedSector_ = int64_t(sector);
            }
            done = std::min<size_t>(kSectorSize - offset, length);
            std::memcpy(out, &sectorCache_[offset], done);
        }
        out += done;
        length -= done;
        byteAddress += done;
    }
    return true;
}

bool CAnaly_UDF::ReadBlock(uint64_t location, std::vector<uint8_t>& block)
{
    block.assign(blockSize_, 0);
    return location <= endByte_ / blockSize_ && ReadBytes(location * blockSize_, block.data(), blockSize_);
}

// The File Entry or Extended File Entry at location, through Indirect Entries.
bool CAnaly_UDF::ReadEntry(uint64_t location, EntryBlock& entry)
{
    for (int hop = 0; hop <= InputLimits::kMaxEntryIndirections; ++hop) {
        if (!ReadBlock(location, entry.bytes))
            return false;
        entry.location = location;
        if (Udf::ParseFileEntry(entry.bytes.data(), entry.bytes.size(), entry.view))
            return true;
        if (!Udf::IsTag(entry.bytes.data(), entry.bytes.size(), Udf::kTagIndirectEntry) ||
            !MapBlock(GetLE16(&entry.bytes[kIndirectIcb + 8]), GetLE32(&entry.bytes[kIndirectIcb + 4]), location))
            return false;
    }
    return false;
}

// Every extent of the entry's data, up to limit bytes, following the
// descriptors into their continuation extents. Short descriptors lie in
// partitionRef, the partition of the entry. Embedded data has no extents.
bool CAnaly_UDF::LocateData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit,
                            std::vector<Udf::Extent>& extents)
{
    extents.clear();
    const int type = entry.view.allocType;
    if (type == Udf::kEmbedded)
        return true;
    const size_t descriptorSize = Udf::AllocationDescriptorSize(type);
    if (descriptorSize == 0)
        return false;
    const uint64_t wanted = std::min(limit, entry.view.infoLength);
    const uint8_t* area = entry.bytes.data() + entry.view.adOffset;
    size_t areaLength = entry.view.adLength;
    std::vector<uint8_t> continuation;
    int continuations = 0;
    uint64_t covered = 0;
    for (size_t position = 0; covered < wanted;) {
        if (position + descriptorSize > areaLength)
            break;
        const Udf::AllocationDescriptor ad = Udf::ReadAllocationDescriptor(area + position, type);
        position += descriptorSize;
        if (ad.length == 0)
            break;
        const uint16_t ref = ad.hasPartitionRef ? ad.partitionRef : partitionRef;
        if (ad.extentType == 3) {
            uint64_t location = 0;
            if (++continuations > InputLimits::kMaxExtentContinuations || !MapBlock(ref, ad.block, location) ||
                !ReadBlock(location, continuation) ||
                !Udf::IsTag(continuation.data(), continuation.size(), Udf::kTagAllocationExtent))
                return false;
            area = continuation.data() + kContinuationDescriptors;
            areaLength = std::min<size_t>(GetLE32(&continuation[kContinuationLength]),
                                          continuation.size() - kContinuationDescriptors);
            position = 0;
            continue;
        }
        const uint32_t length = uint32_t(std::min<uint64_t>(ad.length, wanted - covered));
        if (ad.extentType == 0) {
            if (!MapExtent(ref, ad.block, length, extents))
                return false;
        } else {
            extents.push_back({0, length, false});
        }
        covered += length;
        if (extents.size() > InputLimits::kMaxFileExtents)
            return false;
    }
    return true;
}

// Hands the entry's data to sink in pieces, up to its information length or
// limit: the embedded bytes, or every extent in order, unrecorded ones as
// zeros. False when a read fails, the descriptors end early or sink stops.
bool CAnaly_UDF::StreamData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit, const Sink& sink)
{
    uint64_t remaining = std::min(limit, entry.view.infoLength);
    if (entry.view.allocType == Udf::kEmbedded) {
        const size_t length = size_t(std::min<uint64_t>(remaining, entry.view.adLength));
        return (length == 0 || sink(entry.bytes.data() + entry.view.adOffset, length)) && length == remaining;
    }
    std::vector<Udf::Extent> extents;
    if (!LocateData(entry, partitionRef, remaining, extents))
        return false;
    std::vector<uint8_t> chunk;
    for (const Udf::Extent& extent : extents) {
        for (uint64_t done = 0; done < extent.length && remaining > 0;) {
            const size_t piece = size_t(std::min<uint64_t>({kChunkSize, extent.length - done, remaining}));
            chunk.assign(piece, 0);
            if (extent.recorded && !ReadBytes(extent.location * blockSize_ + done, chunk.data(), piece))
                return false;
            if (!sink(chunk.data(), piece))
                return false;
            done += piece;
            remaining -= piece;
        }
    }
    return remaining == 0;
}

bool CAnaly_UDF::ReadData(const EntryBlock& entry, uint16_t partitionRef, uint64_t limit, std::vector<uint8_t>& data)
{
    data.clear();
    return StreamData(entry, partitionRef, limit, [&data](const uint8_t* bytes, size_t length) {
        data.insert(data.end(), bytes, bytes + length);
        return true;
    });
}

// The named entries of the folder at location, in descriptor order; deleted
// entries and the parent entry are passed over. Entries read before a
// damaged descriptor or a failed read stay.
bool CAnaly_UDF::WalkDirectory(uint64_t location, std::vector<UdfDirEntry>& entries)
{
    entries.clear();
    EntryBlock folder;
    if (!drive_ || !ReadEntry(location, folder))
        return false;
    std::vector<uint8_t> data;
    const bool complete = ReadData(folder, fileSetPartition_, std::min(endByte_, InputLimits::kMaxDirectoryBytes), data);
    size_t position = 0;
    while (position + kFidFixedPart <= data.size() && entries.size() < InputLimits::kMaxFolderEntries) {
        const uint8_t* fid = &data[position];
        if (GetLE16(fid) == 0)
            break; // zeros after the last descriptor
        if (!Udf::IsTag(fid, data.size() - position, Udf::kTagFileIdentifier))
            return false;
        const uint8_t characteristics = fid[kFidCharacteristics];
        const size_t nameLength = fid[kFidIdentifierLength];
        const size_t implementationUse = GetLE16(fid + kFidImplementationUseLength);
        const size_t length = kFidFixedPart + implementationUse + nameLength;
        if (length > data.size() - position)
            return false;
        if (nameLength > 0 && !(characteristics & (kFidParent | kFidDeleted))) {
            UdfDirEntry entry;
            entry.name = DecodeOstaName(fid + kFidFixedPart + implementationUse, nameLength);
            entry.isFolder = (characteristics & kFidDirectory) != 0;
            if (!entry.name.empty() &&
                MapBlock(GetLE16(fid + kFidIcb + 8), GetLE32(fid + kFidIcb + 4), entry.location))
                entries.push_back(std::move(entry));
        }
        position += (length + 3) & ~size_t(3);
    }
    return complete;
}

bool CAnaly_UDF::ReadDirectory(uint64_t location, std::vector<UdfDirEntry>& entries)
{
    const bool complete = WalkDirectory(location, entries);
    for (UdfDirEntry& entry : entries) {
        EntryBlock block;
        if (ReadEntry(entry.location, block))
            entry.size = block.view.infoLength;
    }
    return complete;
}

bool CAnaly_UDF::ReadFileContents(uint64_t location, const std::function<bool(const uint8_t*, size_t)>& sink)
{
    EntryBlock entry;
    if (!drive_ || !ReadEntry(location, entry))
        return false;
    // No file holds more than the disc can.
    return StreamData(entry, fileSetPartition_, endByte_, sink);
}

bool CAnaly_UDF::GetTimeAndSize(uint64_t location, std::string& time, std::string& size)
{
    EntryBlock entry;
    if (!drive_ || !ReadEntry(location, entry))
        return false;
    const uint8_t type = entry.view.fileType;
    // Unspecified, folders, files, devices, FIFOs, sockets and symbolic links.
    if (!(type == 0 || (type >= Udf::kFileTypeDirectory && type <= 10) || type == 12))
        return false;
    time = Udf::FormatTimestamp(&entry.bytes[entry.view.modificationTime]);
    size = std::to_string(entry.view.infoLength);
    return true;
}
