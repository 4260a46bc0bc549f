// The sense of a drive's last command: key, additional sense code and
// qualifier, decoded from fixed- or descriptor-format sense bytes.
#pragma once

#include <cstddef>
#include <cstdint>

struct SenseData_tag {
    uint32_t word = 0;      // response code of the sense data as returned
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
    uint8_t further[3] = {0, 0, 0};

    constexpr SenseData_tag() = default;
    // The further bytes come first, then key, ASC and ASCQ.
    constexpr SenseData_tag(uint8_t f0, uint8_t f1, uint8_t f2, uint8_t senseKey, uint8_t senseAsc, uint8_t senseAscq)
        : key(senseKey), asc(senseAsc), ascq(senseAscq), further{f0, f1, f2}
    {
    }

    bool operator==(const SenseData_tag& other) const
    {
        return key == other.key && asc == other.asc && ascq == other.ascq;
    }
    bool IsClear() const { return key == 0 && asc == 0 && ascq == 0; }
};
static_assert(sizeof(SenseData_tag) == 12);

// Decodes SPC sense data (response codes 70h/71h fixed, 72h/73h descriptor).
// Anything shorter or unknown yields an empty sense.
SenseData_tag DecodeSense(const uint8_t* sense, size_t length);

// Writes fixed-format sense (18 bytes) for key/ASC/ASCQ; used by targets
// that answer commands themselves.
void EncodeFixedSense(uint8_t* out18, uint8_t key, uint8_t asc, uint8_t ascq);

namespace Sense {
inline constexpr SenseData_tag NotReadyNoMedium{0, 0, 0, 0x02, 0x3A, 0x00};
inline constexpr SenseData_tag UnrecoveredReadError{0, 0, 0, 0x03, 0x11, 0x00};
inline constexpr SenseData_tag LbaOutOfRange{0, 0, 0, 0x05, 0x21, 0x00};
inline constexpr SenseData_tag InvalidOpcode{0, 0, 0, 0x05, 0x20, 0x00};
inline constexpr SenseData_tag InvalidFieldInCdb{0, 0, 0, 0x05, 0x24, 0x00};
inline constexpr SenseData_tag IncompatibleFormat{0, 0, 0, 0x05, 0x64, 0x00};
} // namespace Sense
