// The pass-through below the MMC command layer: one command block in, data
// and sense out. Real drives use SG_IO; images and tests answer the same
// command blocks themselves.
#pragma once

#include "drive/SenseData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class DataDirection { None, FromDevice, ToDevice };

struct ScsiCommand {
    std::array<uint8_t, 16> cdb{};
    uint8_t cdbLength = 0;
    DataDirection direction = DataDirection::None;
    uint8_t* data = nullptr;
    uint32_t dataLength = 0;
    uint32_t timeoutMs = 30000;
};

// Status codes returned by the drive-command layer; 0 is success.
namespace DriveStatus {
inline constexpr uint32_t Good = 0;
inline constexpr uint32_t CheckCondition = 2; // sense data tells why
inline constexpr uint32_t TransportError = 0x100; // the command never reached a drive
inline constexpr uint32_t InvalidArgument = 0x101;
} // namespace DriveStatus

struct ScsiResult {
    uint32_t status = DriveStatus::Good;
    SenseData_tag sense;
    std::vector<uint8_t> senseBytes; // all the sense the device returned, for logs and vendor fields
    uint32_t transferred = 0;
};

class ScsiTransport {
public:
    virtual ~ScsiTransport() = default;
    virtual ScsiResult Execute(const ScsiCommand& command) = 0;
};
