// CD-Text packs (18 bytes each: type, track, sequence, block/position,
// 12 text bytes, CRC) as READ TOC format 5 returns them.
#pragma once

#include "drive/MmcRecords.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace CdTextPack {
inline constexpr size_t kSize = 18;
inline constexpr uint8_t kTitle = 0x80;
inline constexpr uint8_t kPerformer = 0x81;
inline constexpr uint8_t kSongwriter = 0x82;
inline constexpr uint8_t kComposer = 0x83;
inline constexpr uint8_t kArranger = 0x84;
inline constexpr uint8_t kMessage = 0x85;
inline constexpr uint8_t kDiscId = 0x86;
inline constexpr uint8_t kUpcIsrc = 0x8E; // track 0: the disc's UPC/EAN
inline constexpr uint8_t kSizeInfo = 0x8F;
} // namespace CdTextPack

// Texts of one language block, keyed by (pack type, track); track 0 is the disc.
using CdTextItems = std::map<std::pair<uint8_t, int>, std::string>;

// Fills the per-track texts of block 0 into info (which the caller zeroed).
void DecodeCdTextPacks(const uint8_t* packs, size_t length, FS_CDTEXT_INFO& info);

// Block 0 (English, ISO 8859-1) for tracks firstTrack..lastTrack, with CRCs
// and the size information packs; empty when items holds no text.
std::vector<uint8_t> EncodeCdTextPacks(const CdTextItems& items, int firstTrack, int lastTrack);

// The CRC a pack carries in its last two bytes, over its first 16.
uint16_t CdTextPackCrc(const uint8_t* pack);
