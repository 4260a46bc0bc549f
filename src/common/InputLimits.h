// How far Morvik follows what a disc or an image file claims. Every reader
// stops at these bounds quietly, as it does at a failed read: whatever was
// read before the bound is shown, the rest of that branch is left out. No
// real disc comes near any of them; a damaged or hostile one must not
// exhaust the stack, the memory or the user's patience.
#pragma once

#include <cstddef>
#include <cstdint>

namespace InputLimits {

// Folder levels below a file system's root that are walked (tree, list,
// extraction).
inline constexpr int kMaxFolderDepth = 64;
// Entries taken from one folder; the rest of a longer folder is passed over.
inline constexpr size_t kMaxFolderEntries = size_t(1) << 18;
// Bytes of one UDF folder's data held in memory at once.
inline constexpr uint64_t kMaxDirectoryBytes = uint64_t(64) << 20;
// Bytes of a UDF Virtual Allocation Table.
inline constexpr uint64_t kMaxVatBytes = uint64_t(64) << 20;
// Extents, allocation-descriptor continuations and indirect entries
// followed for one UDF file.
inline constexpr size_t kMaxFileExtents = size_t(1) << 20;
inline constexpr int kMaxExtentContinuations = 4096;
inline constexpr int kMaxEntryIndirections = 8;

// Volume descriptors looked at: ISO 9660 descriptors before the
// terminator, UDF descriptors in a sequence, the extents a sequence may
// continue into, and the logical volume integrity descriptors followed.
inline constexpr int kMaxVolumeDescriptors = 64;
inline constexpr int kMaxSequenceExtents = 8;

// A CUE, cdrdao TOC or CloneCD sheet's size, and the entries a CloneCD
// sheet may number.
inline constexpr uint64_t kMaxSheetBytes = uint64_t(1) << 20;
inline constexpr int kMaxSheetEntries = 1000;
// An Alcohol descriptor's size and the length of a file name in it.
inline constexpr uint64_t kMaxDescriptorBytes = uint64_t(16) << 20;
inline constexpr size_t kMaxDescriptorNameLength = 1024;
// The chunks of a Nero image's chain and the size of one chunk.
inline constexpr int kMaxNrgChunks = 1024;
inline constexpr uint32_t kMaxNrgChunkBytes = uint32_t(1) << 20;
// Sectors an image sheet may describe: 100 minutes of CD.
inline constexpr int64_t kMaxSheetSectors = 100 * 60 * 75;

} // namespace InputLimits
