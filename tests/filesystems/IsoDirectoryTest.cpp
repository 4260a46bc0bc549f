// The user-data rule and directory records taken apart byte by byte.
#include "common/ByteOrder.h"
#include "filesystems/IsoDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct RawSector {
    uint8_t bytes[2352] = {};
    RawSector(uint8_t mode, uint8_t subMode)
    {
        std::memset(bytes + 1, 0xFF, 10);
        bytes[15] = mode;
        bytes[18] = bytes[22] = subMode;
    }
};

TEST(UserData, RawSectorsByTheirHeader)
{
    const RawSector mode1(1, 0);
    EXPECT_EQ(LocateUserData(mode1.bytes, 1).offset, 16u);
    EXPECT_EQ(LocateUserData(mode1.bytes, 1).size, 2048u);
    const RawSector form1(2, 0x08);
    EXPECT_EQ(LocateUserData(form1.bytes, 2).offset, 24u);
    EXPECT_EQ(LocateUserData(form1.bytes, 2).size, 2048u);
    const RawSector form2(2, 0x20);
    EXPECT_EQ(LocateUserData(form2.bytes, 2).offset, 24u);
    EXPECT_EQ(LocateUserData(form2.bytes, 2).size, 2324u);
    // The header's mode wins over the track's sector mode.
    EXPECT_EQ(LocateUserData(form1.bytes, 1).offset, 24u);
    EXPECT_EQ(LocateUserData(mode1.bytes, 2).offset, 16u);
}

TEST(UserData, CookedDataFromReadCdAllStartsAtZero)
{
    uint8_t cooked[2352] = {};
    cooked[18] = 0x7A; // a record's year byte, not a sub-mode
    EXPECT_EQ(LocateUserData(cooked, 2).offset, 0u);
    EXPECT_EQ(LocateUserData(cooked, 2).size, 2048u);
}

std::vector<uint8_t> Record(const std::string& name, uint8_t flags, uint32_t lba, uint32_t size)
{
    std::vector<uint8_t> r(33 + name.size() + (name.size() % 2 == 0 ? 1 : 0), 0);
    r[0] = uint8_t(r.size());
    PutLE32(&r[2], lba);
    PutLE32(&r[10], size);
    r[18] = 104;
    r[25] = flags;
    r[32] = uint8_t(name.size());
    std::memcpy(&r[33], name.data(), name.size());
    return r;
}

TEST(DirectoryRecord, FieldsAndBounds)
{
    const auto r = Record("README.TXT;1", 0, 30, 3000000000u);
    IsoDirEntry entry;
    ASSERT_TRUE(ParseIsoDirRecord(r.data(), r.size(), entry));
    EXPECT_EQ(entry.Lba(), 30u);
    EXPECT_EQ(entry.Size(), 3000000000u); // unsigned, never negative
    EXPECT_FALSE(entry.IsFolder());
    EXPECT_EQ(entry.recorded[0], 104);
    EXPECT_EQ(IsoEntryName(entry, false), "README.TXT");

    EXPECT_FALSE(ParseIsoDirRecord(r.data(), r.size() - 1, entry)); // record past the data
    auto shortName = r;
    shortName[32] = 200; // name past the record
    EXPECT_FALSE(ParseIsoDirRecord(shortName.data(), shortName.size(), entry));
    auto tiny = r;
    tiny[0] = 20;
    EXPECT_FALSE(ParseIsoDirRecord(tiny.data(), tiny.size(), entry));
}

TEST(DirectoryRecord, VersionSuffixIsCutFromFilesOnly)
{
    IsoDirEntry entry;
    auto folder = Record("DIR;1", 0x02, 20, 2048);
    ASSERT_TRUE(ParseIsoDirRecord(folder.data(), folder.size(), entry));
    EXPECT_EQ(IsoEntryName(entry, false), "DIR;1");
    auto second = Record("A.TXT;2", 0, 20, 1);
    ASSERT_TRUE(ParseIsoDirRecord(second.data(), second.size(), entry));
    EXPECT_EQ(IsoEntryName(entry, false), "A.TXT;2");
}

TEST(DirectoryRecord, LongJolietNamesAreNotCut)
{
    // 110 CJK characters: 220 bytes of UCS-2, 330 bytes of UTF-8.
    std::string ucs2;
    for (int i = 0; i < 110; ++i)
        ucs2 += std::string("\x65\xE5", 2);
    const std::string name = DecodeIsoIdentifier(reinterpret_cast<const uint8_t*>(ucs2.data()), ucs2.size(), true);
    EXPECT_EQ(name.size(), 330u);
    EXPECT_EQ(name.substr(0, 3), "\xE6\x97\xA5");
}

TEST(DirectoryRecord, JolietNamesKeepCharactersBeyondTheBasicPlane)
{
    // Two names that differ only in an emoji must not both become U+FFFD
    // pairs: extracted, the second would overwrite the first.
    const auto decode = [](const std::string& utf16) {
        return DecodeIsoIdentifier(reinterpret_cast<const uint8_t*>(utf16.data()), utf16.size(), true);
    };
    EXPECT_EQ(decode(std::string("\0a\xD8\x3D\xDE\x00", 6)), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(decode(std::string("\0a\xD8\x3D\xDE\x01", 6)), "a\xF0\x9F\x98\x81");
    // A half without its partner cannot be encoded.
    EXPECT_EQ(decode(std::string("\xD8\x3D\0b", 4)), "\xEF\xBF\xBD" "b");
    EXPECT_EQ(decode(std::string("\0b\xDE\x00", 4)), "b\xEF\xBF\xBD");
}

} // namespace
