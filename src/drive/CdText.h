// CD-Text packs (18 bytes each: type, track, sequence, block/position,
// 12 text bytes, CRC) as READ TOC format 5 returns them.
#pragma once

#include "drive/MmcRecords.h"

#include <cstddef>
#include <cstdint>

// Fills the per-track texts of block 0 into info (which the caller zeroed).
void DecodeCdTextPacks(const uint8_t* packs, size_t length, FS_CDTEXT_INFO& info);
