#include "drive/CdText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace testing_support;

namespace {

std::string TextAt(const FS_CDTEXT_INFO& info, int track, int field)
{
    return reinterpret_cast<const char*>(info.bytes + FS_CDTEXT_INFO::RecordOffset(track) + field);
}

std::unique_ptr<FS_CDTEXT_INFO> Decode(const std::vector<uint8_t>& packs)
{
    auto info = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(info->bytes, 0, sizeof info->bytes);
    DecodeCdTextPacks(packs.data(), packs.size(), *info);
    return info;
}

TEST(CdText, CrcMatchesRealPackFiles)
{
    for (const char* name : {"cdtext/libcdio-cdtext.cdt", "cdtext/libcdio-cdtext-krosis.cdt",
                             "cdtext/libcdio-cdtext-libburnia.cdt", "cue-toc/libcdio-cdtext/cdtext.cdt"}) {
        const std::string bytes = ReadFile(TestData(name));
        ASSERT_GE(bytes.size(), 18u) << name;
        for (size_t at = 0; at + 18 <= bytes.size(); at += 18) {
            const auto* pack = reinterpret_cast<const uint8_t*>(bytes.data() + at);
            EXPECT_EQ(CdTextPackCrc(pack), (pack[16] << 8) | pack[17]) << name << " pack " << at / 18;
        }
    }
}

TEST(CdText, EncodedPacksDecodeToTheSameTexts)
{
    const std::string longTitle = "A title that runs over several packs of twelve bytes";
    const CdTextItems items = {
        {{CdTextPack::kTitle, 0}, "Album"},          {{CdTextPack::kTitle, 3}, longTitle},
        {{CdTextPack::kTitle, 4}, "Short"},          {{CdTextPack::kPerformer, 0}, "Artist \xE9"},
        {{CdTextPack::kComposer, 4}, "Composer"},    {{CdTextPack::kUpcIsrc, 3}, "DEMUA9800001"},
    };
    const std::vector<uint8_t> packs = EncodeCdTextPacks(items, 3, 4);
    ASSERT_EQ(packs.size() % 18, 0u);
    for (size_t at = 0; at < packs.size(); at += 18) {
        EXPECT_EQ(CdTextPackCrc(&packs[at]), (packs[at + 16] << 8) | packs[at + 17]);
        EXPECT_EQ(packs[at + 2], at / 18); // sequence numbers run on
    }
    const auto info = Decode(packs);
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kTitle), "Album");
    EXPECT_EQ(TextAt(*info, 3, FS_CDTEXT_INFO::kTitle), longTitle);
    EXPECT_EQ(TextAt(*info, 4, FS_CDTEXT_INFO::kTitle), "Short");
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kArtist), "Artist \xC3\xA9");
    EXPECT_EQ(TextAt(*info, 4, FS_CDTEXT_INFO::kComposer), "Composer");
    EXPECT_EQ(TextAt(*info, 3, FS_CDTEXT_INFO::kIsrc), "DEMUA9800001");

    // The size information closes the block: three packs counting each type.
    const size_t count = packs.size() / 18;
    const uint8_t* info0 = &packs[(count - 3) * 18];
    EXPECT_EQ(info0[0], CdTextPack::kSizeInfo);
    EXPECT_EQ(info0[5], 3);  // first track
    EXPECT_EQ(info0[6], 4);  // last track
    EXPECT_EQ(packs[(count - 2) * 18 + 4 + 8], count - 1); // last sequence number of block 0
    EXPECT_EQ(packs[(count - 1) * 18 + 4 + 4], 0x09);      // block 0 is English
    int titlePacks = 0;
    for (size_t at = 0; at < packs.size(); at += 18)
        titlePacks += packs[at] == CdTextPack::kTitle;
    EXPECT_EQ(info0[4 + 4], titlePacks);
}

TEST(CdText, CharacterPositionCountsCharactersBeforeThePack)
{
    const std::vector<uint8_t> packs = EncodeCdTextPacks({{{CdTextPack::kTitle, 1}, std::string(30, 'x')}}, 1, 1);
    // Pack 0: the disc's empty text and 11 x; pack 1 continues track 1 at 11.
    ASSERT_GE(packs.size(), 3 * 18u);
    EXPECT_EQ(packs[1], 0);
    EXPECT_EQ(packs[18 + 1], 1);
    EXPECT_EQ(packs[18 + 3], 11);
}

TEST(CdText, NothingToEncode)
{
    EXPECT_TRUE(EncodeCdTextPacks({}, 1, 2).empty());
    EXPECT_TRUE(EncodeCdTextPacks({{{CdTextPack::kTitle, 1}, "x"}}, 0, 2).empty());
    // More text than one block holds is refused rather than cut.
    CdTextItems huge;
    for (int t = 1; t <= 99; ++t)
        huge[{CdTextPack::kTitle, t}] = std::string(100, 'a');
    EXPECT_TRUE(EncodeCdTextPacks(huge, 1, 99).empty());
}

} // namespace
