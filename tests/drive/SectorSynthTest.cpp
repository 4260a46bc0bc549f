// Synthesised raw sectors match those a real mastering tool wrote.
#include "drive/SectorSynth.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testing_support;

namespace {

void ExpectResynthesised(const std::string& relative, void (*complete)(uint8_t*, int32_t), size_t keepFrom,
                         size_t keepTo)
{
    const std::string raw = ReadFile(TestData(relative));
    ASSERT_GT(raw.size(), 2352u * 10) << relative;
    for (size_t lba = 0; lba < raw.size() / 2352; ++lba) {
        const auto* original = reinterpret_cast<const uint8_t*>(raw.data() + lba * 2352);
        uint8_t sector[2352] = {};
        std::memcpy(sector + keepFrom, original + keepFrom, keepTo - keepFrom);
        complete(sector, int32_t(lba));
        ASSERT_EQ(std::memcmp(sector, original, 2352), 0) << relative << " sector " << lba;
    }
}

TEST(SectorSynth, Mode1MatchesAMasteredImage)
{
    // Only the 2048 user bytes are kept; header, EDC and both ECC layers are rebuilt.
    ExpectResynthesised("cue-toc/libcdio/isofs-m1.bin", SectorSynth::CompleteMode1, 16, 2064);
}

TEST(SectorSynth, Mode2FormsMatchAMasteredImage)
{
    // Sub-header and user data kept (2048 for Form 1, 2324 for Form 2).
    const std::string raw = ReadFile(TestData("cue-toc/generated-vcdimager/vcd2-2352.bin"));
    int form2 = 0;
    for (size_t lba = 0; lba < raw.size() / 2352; ++lba) {
        const auto* original = reinterpret_cast<const uint8_t*>(raw.data() + lba * 2352);
        const bool isForm2 = (original[18] & 0x20) != 0;
        form2 += isForm2;
        uint8_t sector[2352] = {};
        std::memcpy(sector + 16, original + 16, isForm2 ? 2332 : 2056);
        SectorSynth::CompleteMode2(sector, int32_t(lba));
        ASSERT_EQ(std::memcmp(sector, original, 2352), 0) << "sector " << lba;
    }
    EXPECT_GT(form2, 0);
}

TEST(SectorSynth, EdcOfOddLengths)
{
    // The eight-byte steps and the byte-wise tail agree.
    uint8_t data[37];
    for (size_t i = 0; i < sizeof data; ++i)
        data[i] = uint8_t(i * 29 + 7);
    uint32_t bytewise = 0;
    for (uint32_t length = 0; length <= sizeof data; ++length) {
        EXPECT_EQ(SectorSynth::ComputeEdc(data, length), bytewise) << length;
        if (length < sizeof data) {
            uint32_t edc = bytewise ^ data[length];
            for (int bit = 0; bit < 8; ++bit)
                edc = (edc >> 1) ^ ((edc & 1) ? 0xD8018001u : 0u);
            bytewise = edc;
        }
    }
}

} // namespace
