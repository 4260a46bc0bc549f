#include "drive/SectorSynth.h"

#include "common/ByteOrder.h"

#include <array>
#include <cstring>

namespace SectorSynth {
namespace {

struct Tables {
    // edc[k][i]: the CRC of byte i followed by k zero bytes, for eight
    // bytes a step.
    std::array<std::array<uint32_t, 256>, 8> edc{};
    std::array<uint8_t, 256> eccForward{};
    std::array<uint8_t, 256> eccBackward{};

    Tables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i;
            for (int bit = 0; bit < 8; ++bit)
                value = (value >> 1) ^ ((value & 1) ? 0xD8018001u : 0u);
            edc[0][i] = value;
            const uint8_t forward = uint8_t((i << 1) ^ ((i & 0x80) ? 0x11D : 0));
            eccForward[i] = forward;
            eccBackward[i ^ forward] = uint8_t(i);
        }
        for (size_t k = 1; k < edc.size(); ++k)
            for (uint32_t i = 0; i < 256; ++i)
                edc[k][i] = (edc[k - 1][i] >> 8) ^ edc[0][edc[k - 1][i] & 0xFF];
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

uint8_t ToBcd(int value) { return uint8_t(((value / 10) << 4) | (value % 10)); }

// Reed-Solomon product code over the 2340 bytes from the header on. The
// majors come in pairs (both byte planes of a word), computed side by side
// so that their table look-ups overlap.
void ComputeEccBlock(const uint8_t* src, uint32_t majorCount, uint32_t minorCount, uint32_t majorMult,
                     uint32_t minorInc, uint8_t* dest)
{
    const Tables& t = GetTables();
    const uint32_t size = majorCount * minorCount;
    for (uint32_t major = 0; major < majorCount; major += 2) {
        uint32_t index = (major >> 1) * majorMult;
        uint8_t eccA0 = 0, eccB0 = 0, eccA1 = 0, eccB1 = 0;
        for (uint32_t minor = 0; minor < minorCount; ++minor) {
            const uint8_t value0 = src[index];
            const uint8_t value1 = src[index + 1];
            index += minorInc;
            if (index >= size)
                index -= size;
            eccB0 ^= value0;
            eccB1 ^= value1;
            eccA0 = t.eccForward[eccA0 ^ value0];
            eccA1 = t.eccForward[eccA1 ^ value1];
        }
        eccA0 = t.eccBackward[t.eccForward[eccA0] ^ eccB0];
        eccA1 = t.eccBackward[t.eccForward[eccA1] ^ eccB1];
        dest[major] = eccA0;
        dest[major + 1] = eccA1;
        dest[major + majorCount] = eccA0 ^ eccB0;
        dest[major + 1 + majorCount] = eccA1 ^ eccB1;
    }
}

void WriteEcc(uint8_t* raw)
{
    ComputeEccBlock(raw + 12, 86, 24, 2, 86, raw + 2076);
    ComputeEccBlock(raw + 12, 52, 43, 86, 88, raw + 2248);
}

} // namespace

uint32_t ComputeEdc(const uint8_t* data, uint32_t length)
{
    const auto& t = GetTables().edc;
    uint32_t edc = 0;
    for (; length >= 8; data += 8, length -= 8) {
        const uint32_t low = edc ^ GetLE32(data);
        const uint32_t high = GetLE32(data + 4);
        edc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; length > 0; ++data, --length)
        edc = (edc >> 8) ^ t[0][(edc ^ *data) & 0xFF];
    return edc;
}

void WriteHeader(uint8_t* raw, int32_t lba, uint8_t mode)
{
    std::memcpy(raw, kSync, sizeof kSync);
    int32_t address = lba + 150;
    if (address < 0)
        address += 450000; // before the program area: 90:00:00 and above
    raw[12] = ToBcd((address / 4500) % 100);
    raw[13] = ToBcd((address / 75) % 60);
    raw[14] = ToBcd(address % 75);
    raw[15] = mode;
}

void CompleteMode1(uint8_t* raw, int32_t lba)
{
    WriteHeader(raw, lba, 1);
    PutLE32(raw + 2064, ComputeEdc(raw, 2064));
    std::memset(raw + 2068, 0, 8);
    WriteEcc(raw);
}

void CompleteMode2(uint8_t* raw, int32_t lba)
{
    WriteHeader(raw, lba, 2);
    const bool form2 = (raw[18] & 0x20) != 0;
    if (form2) {
        PutLE32(raw + 2348, ComputeEdc(raw + 16, 2332));
        return;
    }
    PutLE32(raw + 2072, ComputeEdc(raw + 16, 2056));
    // Form 1 ECC is computed with the header address taken as zero.
    uint8_t header[4];
    std::memcpy(header, raw + 12, 4);
    std::memset(raw + 12, 0, 4);
    WriteEcc(raw);
    std::memcpy(raw + 12, header, 4);
}

} // namespace SectorSynth
