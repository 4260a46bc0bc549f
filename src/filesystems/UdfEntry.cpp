#include "filesystems/UdfEntry.h"

#include "common/ByteOrder.h"

#include <cstdio>

namespace Udf {

namespace {
constexpr size_t kTagSize = 16;

// Field offsets of the two entry layouts (ECMA-167 4/14.9 and 4/14.17).
struct EntryLayout {
    size_t modificationTime;
    size_t eaLength;
    size_t adLength;
    size_t extendedAttributes;
};
constexpr EntryLayout kFileEntry{84, 168, 172, 176};
constexpr EntryLayout kExtendedFileEntry{92, 208, 212, 216};
constexpr size_t kIcbFileType = 27;
constexpr size_t kIcbFlags = 34;
constexpr size_t kInformationLength = 56;
} // namespace

bool IsTag(const uint8_t* buffer, size_t length, uint16_t id)
{
    if (length < kTagSize || GetLE16(buffer) != id)
        return false;
    uint8_t sum = 0;
    for (size_t i = 0; i < kTagSize; ++i)
        if (i != 4)
            sum = uint8_t(sum + buffer[i]);
    return sum == buffer[4];
}

bool ParseFileEntry(const uint8_t* block, size_t length, FileEntryView& view)
{
    const EntryLayout* layout = nullptr;
    if (IsTag(block, length, kTagFileEntry))
        layout = &kFileEntry;
    else if (IsTag(block, length, kTagExtendedFileEntry))
        layout = &kExtendedFileEntry;
    if (!layout || length < layout->extendedAttributes)
        return false;
    const uint64_t eaLength = GetLE32(block + layout->eaLength);
    const uint64_t adLength = GetLE32(block + layout->adLength);
    if (layout->extendedAttributes + eaLength + adLength > length)
        return false;
    view.tag = GetLE16(block);
    view.fileType = block[kIcbFileType];
    view.allocType = GetAllocType(block, length);
    view.infoLength = GetLE64(block + kInformationLength);
    view.modificationTime = layout->modificationTime;
    view.adOffset = size_t(layout->extendedAttributes + eaLength);
    view.adLength = size_t(adLength);
    return true;
}

int GetAllocType(const uint8_t* entry, size_t length)
{
    if (length < kIcbFlags + 2)
        return -1;
    return GetLE16(entry + kIcbFlags) & 7;
}

size_t AllocationDescriptorSize(int allocType)
{
    switch (allocType) {
    case kShortAd:
        return 8;
    case kLongAd:
        return 16;
    case kExtendedAd:
        return 20;
    default:
        return 0;
    }
}

AllocationDescriptor ReadAllocationDescriptor(const uint8_t* p, int allocType)
{
    AllocationDescriptor ad;
    const uint32_t lengthField = GetLE32(p);
    ad.length = lengthField & 0x3FFFFFFF;
    ad.extentType = uint8_t(lengthField >> 30);
    switch (allocType) {
    case kShortAd:
        ad.block = GetLE32(p + 4);
        break;
    case kLongAd:
        ad.block = GetLE32(p + 4);
        ad.partitionRef = GetLE16(p + 8);
        ad.hasPartitionRef = true;
        break;
    case kExtendedAd:
        ad.block = GetLE32(p + 12);
        ad.partitionRef = GetLE16(p + 16);
        ad.hasPartitionRef = true;
        break;
    default:
        break;
    }
    return ad;
}

std::string FormatTimestamp(const uint8_t* timestamp)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", int(GetLE16(timestamp + 2)), timestamp[4], timestamp[5],
                  timestamp[6], timestamp[7], timestamp[8]);
    return text;
}

} // namespace Udf
