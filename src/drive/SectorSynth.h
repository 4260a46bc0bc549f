// Builds raw 2352-byte CD sectors as a drive returns them: sync pattern,
// header, and for Mode 1 and Mode 2 Form 1 the EDC and the P/Q ECC.
#pragma once

#include <cstdint>

namespace SectorSynth {

inline constexpr uint8_t kSync[12] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// Writes sync and header (BCD MSF of lba + 150, mode byte) into raw[0..15].
void WriteHeader(uint8_t* raw, int32_t lba, uint8_t mode);

// raw[16..2063] already holds the user data; fills header, EDC and ECC.
void CompleteMode1(uint8_t* raw, int32_t lba);

// raw[16..2351] holds sub-header and data (2336 bytes); fills the header and,
// for Form 1 (sub-header bit 5 of byte 2 clear), EDC and ECC; for Form 2 the
// EDC over 2332 bytes.
void CompleteMode2(uint8_t* raw, int32_t lba);

uint32_t ComputeEdc(const uint8_t* data, uint32_t length);

} // namespace SectorSynth
