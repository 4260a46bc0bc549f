#include "drive/SenseData.h"

#include <cstring>

SenseData_tag DecodeSense(const uint8_t* sense, size_t length)
{
    SenseData_tag result;
    if (sense == nullptr || length < 1)
        return result;
    const uint8_t responseCode = sense[0] & 0x7F;
    result.word = responseCode;
    if ((responseCode == 0x70 || responseCode == 0x71) && length >= 14) {
        result.key = sense[2] & 0x0F;
        result.asc = sense[12];
        result.ascq = sense[13];
    } else if ((responseCode == 0x72 || responseCode == 0x73) && length >= 4) {
        result.key = sense[1] & 0x0F;
        result.asc = sense[2];
        result.ascq = sense[3];
    }
    return result;
}

void EncodeFixedSense(uint8_t* out18, uint8_t key, uint8_t asc, uint8_t ascq)
{
    std::memset(out18, 0, 18);
    out18[0] = 0x70;
    out18[2] = key & 0x0F;
    out18[7] = 10; // additional sense length
    out18[12] = asc;
    out18[13] = ascq;
}
