// One function per SCSI/MMC command: each builds its command block and hands
// it to a transport. Nothing here knows whether a drive or an image answers.
#pragma once

#include "drive/ScsiTransport.h"

#include <cstdint>

namespace Mmc {

namespace Opcode {
inline constexpr uint8_t TestUnitReady = 0x00;
inline constexpr uint8_t Inquiry = 0x12;
inline constexpr uint8_t StartStopUnit = 0x1B;
inline constexpr uint8_t PreventAllowMediumRemoval = 0x1E;
inline constexpr uint8_t Read10 = 0x28;
inline constexpr uint8_t ReadTocPmaAtip = 0x43;
inline constexpr uint8_t GetConfiguration = 0x46;
inline constexpr uint8_t ReadDiscInformation = 0x51;
inline constexpr uint8_t ReadTrackInformation = 0x52;
inline constexpr uint8_t ModeSense10 = 0x5A;
inline constexpr uint8_t ReadCd = 0xBE;
} // namespace Opcode

// READ TOC/PMA/ATIP formats used here.
namespace TocFormat {
inline constexpr uint8_t Formatted = 0;
inline constexpr uint8_t Raw = 2;
inline constexpr uint8_t CdText = 5;
} // namespace TocFormat

// Byte 9 of READ CD: which parts of each sector are returned.
namespace ReadCdFields {
inline constexpr uint8_t UserData = 0x10;
inline constexpr uint8_t FullRaw = 0xF8; // sync, all headers, user data, EDC/ECC
} // namespace ReadCdFields

inline constexpr uint32_t kCookedSectorSize = 2048;
inline constexpr uint32_t kRawSectorSize = 2352;

ScsiResult TestUnitReady(ScsiTransport& t);
ScsiResult Inquiry(ScsiTransport& t, uint8_t* buffer, uint8_t length);
ScsiResult ReadToc(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t format, uint8_t trackOrSession,
                   bool msf = false);
ScsiResult ReadDiscInformation(ScsiTransport& t, uint8_t* buffer, uint16_t length);
// addressType 1: the number is a track number; 0: an LBA within the track.
ScsiResult ReadTrackInformation(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t addressType,
                                uint32_t number);
// requestType 0: all features; 1: the current ones; 2: the one named.
ScsiResult GetConfiguration(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t requestType = 0,
                            uint16_t startingFeature = 0);
ScsiResult ModeSense10(ScsiTransport& t, uint8_t* buffer, uint16_t length, uint8_t pageCode);
ScsiResult Read10(ScsiTransport& t, uint8_t* buffer, uint32_t lba, uint16_t count);
ScsiResult ReadCd(ScsiTransport& t, uint8_t* buffer, uint32_t bytesPerSector, uint32_t lba, uint32_t count,
                  uint8_t fields);
ScsiResult PreventAllowMediumRemoval(ScsiTransport& t, bool prevent);
ScsiResult StartStopUnit(ScsiTransport& t, bool loadEject, bool start);

} // namespace Mmc
