#include "drive/SectorSynth.h"

#include "common/ByteOrder.h"

#include <array>
#include <cstring>

namespace SectorSynth {
namespace {

struct Tables {
    std::array<uint32_t, 256> edc{};
    std::array<uint8_t, 256> eccForward{};
    std::array<uint8_t, 256> eccBackward{};

    Tables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t value = i;
            for (int bit = 0; bit < 8; ++bit)
                value = (value >> 1) ^ ((value & 1) ? 0xD8018001u : 0u);
            edc[i] = value;
            const uint8_t forward = uint8_t((i << 1) ^ ((i & 0x80) ? 0x11D : 0));
            eccForward[i] = forward;
            eccBackward[i ^ forward] = uint8_t(i);
        }
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

uint8_t ToBcd(int value) { return uint8_t(((value / 10) << 4) | (value % 10)); }

// Reed-Solomon product code over the 2340 bytes from the header on.
void ComputeEccBlock(const uint8_t* src, uint32_t majorCount, uint32_t minorCount, uint32_t majorMult,
                     uint32_t minorInc, uint8_t* dest)
{
    const Tables& t = GetTables();
    const uint32_t size = majorCount * minorCount;
    for (uint32_t major = 0; major < majorCount; ++major) {
        uint32_t index = (major >> 1) * majorMult + (major & 1);
        uint8_t eccA = 0, eccB = 0;
        for (uint32_t minor = 0; minor < minorCount; ++minor) {
            const uint8_t value = src[index];
            index += minorInc;
            if (index >= size)
                index -= size;
            eccA ^= value;
            eccB ^= value;
            eccA = t.eccForward[eccA];
        }
        eccA = t.eccBackward[t.eccForward[eccA] ^ eccB];
        dest[major] = eccA;
        dest[major + majorCount] = eccA ^ eccB;
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
    const Tables& t = GetTables();
    uint32_t edc = 0;
    for (uint32_t i = 0; i < length; ++i)
        edc = (edc >> 8) ^ t.edc[(edc ^ data[i]) & 0xFF];
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
