// The rows of the volume view for hand-made descriptors.
#include "common/ByteOrder.h"
#include "explorer/MemoryControls.h"
#include "filesystems/VolumeInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace {

struct Descriptor {
    uint8_t bytes[2048] = {};
    void Put(size_t offset, const std::string& text) { std::memcpy(bytes + offset, text.data(), text.size()); }
    void Pad(size_t offset, size_t width, const std::string& text)
    {
        std::memset(bytes + offset, ' ', width);
        Put(offset, text);
    }
};

std::vector<std::pair<std::string, std::string>> Rows(const Descriptor& d, int code, size_t length = 2048)
{
    MemoryList list;
    VolumeInfo::InsertColumns(list);
    VolumeInfo::Show(list, d.bytes, length, code);
    std::vector<std::pair<std::string, std::string>> rows;
    for (int r = 0; r < list.GetRowCount(); ++r)
        rows.emplace_back(list.GetItemText(r, 0), list.GetItemText(r, 1));
    return rows;
}

Descriptor IsoPrimary()
{
    Descriptor d;
    d.bytes[0] = 1;
    d.Put(1, "CD001");
    d.Pad(40, 32, "  MY VOLUME");
    PutLE32(d.bytes + 80, 1234);
    PutLE16(d.bytes + 120, 1);
    PutLE32(d.bytes + 132, 10);
    d.Pad(574, 128, "*GENISOIMAGE");
    d.Put(813, "2004071510050900");
    d.Put(830, "0000000000000000");
    return d;
}

TEST(VolumeInfo, IsoRowsInDescriptorOrder)
{
    const auto rows = Rows(IsoPrimary(), 1);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Standard Identifier", "CD001"},
        {"ISO Volume Identifier", "MY VOLUME" + std::string(21, ' ')},
        {"Volume Space Size", "1234"},
        {"Volume Set Size", "1"},
        {"Path Table Size", "10"},
        {"Application Identifier", "GENISOIMAGE" + std::string(116, ' ')},
        {"Volume Creation Date and Time", "2004-7-15 10:5:9"},
        {"Volume Modification Date and Time", "0-0-0 0:0:0"},
    };
    EXPECT_EQ(rows, expected);
}

TEST(VolumeInfo, JolietIdentifiersAreDecodedFromUcs2)
{
    Descriptor d = IsoPrimary();
    d.bytes[0] = 2;
    d.Put(88, "%/E");
    std::memset(d.bytes + 40, 0, 32);
    const uint8_t ucs2[] = {0, 'V', 0, 'o', 0, 'l', 0x00, 0xDC, 0, ' '}; // "Vol\u00DC "
    std::memcpy(d.bytes + 40, ucs2, sizeof ucs2);
    const auto rows = Rows(d, 1);
    EXPECT_EQ(rows[1].second, "Vol\xC3\x9C ");
}

TEST(VolumeInfo, LeadingFillIsSkipped)
{
    const uint8_t zeros[8] = {};
    EXPECT_FALSE(VolumeInfo::SkipLeadingFill(zeros, sizeof zeros).has_value());
    const uint8_t text[] = {0, 0, ' ', '*', '-', 'A', 'b', ' ', 0, 'x'};
    EXPECT_EQ(VolumeInfo::SkipLeadingFill(text, sizeof text), "Ab ");
    const uint8_t underscore[] = {'_', 'X', 0};
    EXPECT_EQ(VolumeInfo::SkipLeadingFill(underscore, sizeof underscore), "_X");
    const uint8_t high[] = {0xC3, 0x9C, 'Z', 0};
    EXPECT_EQ(VolumeInfo::SkipLeadingFill(high, sizeof high), "Z");
}

TEST(VolumeInfo, UdfRows)
{
    Descriptor d;
    d.Put(24, std::string("\x08MYDISC", 7));
    d.bytes[55] = 7; // dstring length
    const uint8_t ucs2[] = {16, 0, 'S', 0x00, 0xE9, 0, 't'};
    std::memcpy(d.bytes + 72, ucs2, sizeof ucs2);
    d.Put(200, std::string("\0OSTA Compressed Unicode", 24));
    d.Put(344, "*mkudffs");
    PutLE16(d.bytes + 378, 2004);
    const uint8_t when[] = {7, 15, 10, 5, 9};
    std::memcpy(d.bytes + 380, when, sizeof when);
    d.Put(420, "*Linux UDFFS");
    const auto rows = Rows(d, 2);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"UDF Volume Identifier", "MYDISC"},
        {"Volume Set Identifier", "S\xC3\xA9t"},
        {"Descriptor Character Set", "OSTA Compressed Unicode"},
        {"Explanatory Character Set", ""},
        {"Application Identifier", "mkudffs"},
        {"Recording Date and Time", "2004-7-15 10:5:9"},
        {"Implementation Use", "Linux UDFFS"},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(Rows(d, 3), expected);
}

TEST(VolumeInfo, CodesAndLengthsThatShowNothing)
{
    const Descriptor d = IsoPrimary();
    EXPECT_TRUE(Rows(d, 0).empty());
    EXPECT_TRUE(Rows(d, 1, 4096).empty());
    // A short buffer shows its fields; those beyond it read as zeros.
    const auto rows = Rows(d, 1, 100);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].second, "CD001");
    EXPECT_EQ(rows[4].second, "0");

    MemoryList list;
    list.InsertColumn(0, "x", 10);
    list.InsertRow("kept", 0, 0);
    VolumeInfo::Show(list, nullptr, 2048, 1);
    VolumeInfo::Show(list, d.bytes, 0, 1);
    EXPECT_EQ(list.GetRowCount(), 1);
}

} // namespace
