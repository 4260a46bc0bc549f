// The Virtual Allocation Table and its temporary file; OSTA names; sizes and
// the small helpers of the UDF reader.
#include "UdfImageBuilder.h"
#include "UdfTestSupport.h"
#include "common/ByteOrder.h"
#include "common/TextCodec.h"
#include "explorer/MemoryControls.h"
#include "filesystems/OstaName.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace testing_support;
using namespace udf_test;
using Layout = UdfImageBuilder::Layout;

namespace {

std::filesystem::path BuildVatImage(const TempDir& dir, Layout layout, int files, bool embed = false,
                                    uint32_t vatEntries = 0)
{
    UdfImageBuilder::Options options;
    options.layout = layout;
    options.embedData = embed;
    options.vatEntries = vatEntries;
    UdfImageBuilder builder(options);
    for (int i = 0; i < files; ++i)
        builder.AddFile(UdfImageBuilder::kRoot, "file" + std::to_string(1000 + i), std::to_string(i));
    const std::vector<uint8_t> image = builder.Build();
    const std::filesystem::path path = dir / ("vat" + std::to_string(int(layout)) + std::to_string(files) + ".img");
    WriteFile(path, std::string(image.begin(), image.end()));
    return path;
}

TEST(UdfVat, TableOverSeveralSectorsReachesTheFileWhole)
{
    TempDir dir;
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(BuildVatImage(dir, Layout::Virtual200, 550, false, 600)));
    EXPECT_EQ(mounted.udf.GetPartitionKind(), CAnaly_UDF::kVirtual);
    const std::string vat = mounted.udf.GetVatFilePath();
    EXPECT_EQ(std::filesystem::path(vat).filename().string().rfind("VATtmp", 0), 0u);
    EXPECT_EQ(std::filesystem::path(vat).extension(), ".dat");
    EXPECT_EQ(std::filesystem::file_size(vat), 600u * 4);
    const std::vector<std::string> listed = ListTree(mounted.udf, mounted.udf.RootLocation());
    ASSERT_EQ(listed.size(), 550u);
    EXPECT_EQ(listed.back(), "file1549\t3");
    const auto last = FindEntry(mounted.udf, mounted.udf.RootLocation(), "file1549");
    ASSERT_TRUE(last);
    EXPECT_EQ(ReadWholeFile(mounted.udf, last->location), "549");
}

TEST(UdfVat, Udf150TableEmbeddedInItsEntry)
{
    TempDir dir;
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(BuildVatImage(dir, Layout::Virtual150, 3, true)));
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()),
              (std::vector<std::string>{"file1000\t1", "file1001\t1", "file1002\t1"}));
    // The FSD, the root and three files; the 36-byte trailer is not an entry.
    EXPECT_EQ(std::filesystem::file_size(mounted.udf.GetVatFilePath()), 5u * 4);
}

TEST(UdfVat, EachReaderOwnsItsFileUntilRemountOrDestruction)
{
    TempDir dir;
    const std::filesystem::path image = BuildVatImage(dir, Layout::Virtual200, 2);
    auto second = std::make_unique<MountedImage>();
    MountedImage first;
    ASSERT_TRUE(first.Mount(image));
    ASSERT_TRUE(second->Mount(image));
    const std::string firstPath = first.udf.GetVatFilePath();
    const std::string secondPath = second->udf.GetVatFilePath();
    EXPECT_NE(firstPath, secondPath);
    EXPECT_TRUE(std::filesystem::exists(firstPath));
    EXPECT_TRUE(std::filesystem::exists(secondPath));

    second.reset();
    EXPECT_FALSE(std::filesystem::exists(secondPath));

    ASSERT_TRUE(first.udf.Init(&first.drive, nullptr, 0));
    EXPECT_FALSE(std::filesystem::exists(firstPath));
    const std::string remounted = first.udf.GetVatFilePath();
    EXPECT_TRUE(std::filesystem::exists(remounted));

    // A volume without a VAT keeps no file.
    const std::filesystem::path plain = BuildVatImage(dir, Layout::Plain, 1);
    ASSERT_TRUE(first.drive.SetImageFile(plain.string()));
    ASSERT_TRUE(first.udf.Init(&first.drive, nullptr, 0));
    EXPECT_FALSE(std::filesystem::exists(remounted));
    EXPECT_TRUE(first.udf.GetVatFilePath().empty());
}

TEST(UdfVat, MissingTableFailsTheMount)
{
    TempDir dir;
    const std::filesystem::path path = BuildVatImage(dir, Layout::Virtual200, 1);
    std::string bytes = ReadFile(path);
    std::memset(&bytes[bytes.size() - 2048], 0, 2048); // the VAT's File Entry
    WriteFile(path, bytes);
    MountedImage mounted;
    EXPECT_FALSE(mounted.Mount(path));
}

TEST(UdfVat, EntryPastTheTableIsLeftOut)
{
    UdfImageBuilder::Options options;
    options.layout = Layout::Virtual200;
    UdfImageBuilder builder(options);
    builder.AddFile(UdfImageBuilder::kRoot, "a", "a");
    builder.AddFile(UdfImageBuilder::kRoot, "b", "b");
    std::vector<uint8_t> image = builder.Build();
    // The root's data: the parent's descriptor (40 bytes), then "a" (44).
    PutLE32(&image[builder.DataByte(UdfImageBuilder::kRoot) + 40 + 24], 99999);
    TempDir dir;
    WriteFile(dir / "v.img", std::string(image.begin(), image.end()));
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(dir / "v.img"));
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), (std::vector<std::string>{"b\t1"}));
}

TEST(UdfNames, NamesOfEveryLengthAndForm)
{
    UdfImageBuilder::Options options;
    options.fidImplementationUse = 32;
    UdfImageBuilder builder(options);
    const std::vector<std::string> names = {"a", "abcde", "abcdefghi", "Ünïcødé", "Жук", "smile 😀", "中文名"};
    for (const std::string& name : names)
        builder.AddFile(UdfImageBuilder::kRoot, name, name);
    const std::vector<uint8_t> image = builder.Build();
    TempDir dir;
    WriteFile(dir / "n.img", std::string(image.begin(), image.end()));
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(dir / "n.img"));
    std::vector<UdfDirEntry> entries;
    ASSERT_TRUE(mounted.udf.ReadDirectory(mounted.udf.RootLocation(), entries));
    ASSERT_EQ(entries.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(entries[i].name, names[i]);
        EXPECT_EQ(entries[i].size, names[i].size());
    }
}

TEST(UdfNames, DeletedAndParentEntriesAreNotListed)
{
    UdfImageBuilder builder(UdfImageBuilder::Options{});
    builder.AddFile(UdfImageBuilder::kRoot, "gone", "x");
    builder.AddFile(UdfImageBuilder::kRoot, "kept", "y");
    std::vector<uint8_t> image = builder.Build();
    image[builder.DataByte(UdfImageBuilder::kRoot) + 40 + 18] |= 0x04; // "gone": deleted
    TempDir dir;
    WriteFile(dir / "d.img", std::string(image.begin(), image.end()));
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(dir / "d.img"));
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), (std::vector<std::string>{"kept\t1"}));
}

TEST(UdfNames, OstaCompressedUnicode)
{
    const uint8_t latin[] = {8, 'c', 'a', 'f', 0xE9};
    EXPECT_EQ(DecodeOstaName(latin, sizeof latin), "café");
    const uint8_t wide[] = {16, 0x04, 0x16, 0xD8, 0x3D, 0xDE, 0x00, 0x00};
    EXPECT_EQ(DecodeOstaName(wide, 7), "Ж😀"); // an odd last byte is dropped
    const uint8_t lone[] = {16, 0xD8, 0x3D, 0x00, 0x41};
    EXPECT_EQ(DecodeOstaName(lone, sizeof lone), "\xEF\xBF\xBD" "A");
    const uint8_t zero[] = {8, 'a', 0, 'b'};
    EXPECT_EQ(DecodeOstaName(zero, sizeof zero), "a");
    const uint8_t unknown[] = {7, 'a'};
    EXPECT_EQ(DecodeOstaName(unknown, sizeof unknown), "");
    EXPECT_EQ(DecodeOstaName(latin, 0), "");

    uint8_t field[32] = {8, 'L', 'a', 'b', 'e', 'l'};
    field[31] = 6;
    EXPECT_EQ(DecodeOstaDString(field, sizeof field), "Label");
    field[31] = 200; // a length past the field is cut at the field
    EXPECT_EQ(DecodeOstaDString(field, sizeof field), "Label");
}

TEST(UdfSizes, SizeIsTheWholeInformationLength)
{
    UdfImageBuilder builder(UdfImageBuilder::Options{});
    const int big = builder.AddFile(UdfImageBuilder::kRoot, "three-gigabytes", "x");
    builder.SetDeclaredLength(big, 3000000000ull);
    const int huge = builder.AddFile(UdfImageBuilder::kRoot, "five-gigabytes", "y");
    builder.SetDeclaredLength(huge, 5000000000ull);
    const std::vector<uint8_t> image = builder.Build();
    TempDir dir;
    WriteFile(dir / "s.img", std::string(image.begin(), image.end()));
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(dir / "s.img"));
    MemoryList list;
    mounted.udf.FillList(list, mounted.udf.RootLocation());
    ASSERT_EQ(list.GetRowCount(), 2);
    std::map<std::string, std::string> sizes;
    for (int row = 0; row < 2; ++row)
        sizes[list.GetItemText(row, 0)] = list.GetItemText(row, 3);
    EXPECT_EQ(sizes["three-gigabytes"], "3000000000");
    EXPECT_EQ(sizes["five-gigabytes"], "5000000000");
    EXPECT_EQ(list.GetItemText(0, 1), "2024-2-29 13:5:9");
}

TEST(UdfHelpers, FindBytes)
{
    const uint8_t buffer[] = "*UDF Virtual Partition";
    const size_t length = sizeof buffer - 1;
    auto find = [&](const char* pattern) {
        return CAnaly_UDF::FindBytes(buffer, length, reinterpret_cast<const uint8_t*>(pattern), std::strlen(pattern));
    };
    EXPECT_EQ(find("Virtual"), 5);
    EXPECT_EQ(find("*UDF"), 0);
    EXPECT_EQ(find("Partition"), 13);
    EXPECT_EQ(find("Sparable"), -1);
    EXPECT_EQ(find(""), -1);
    EXPECT_EQ(CAnaly_UDF::FindBytes(buffer, 0, buffer, 1), -1);
    EXPECT_EQ(CAnaly_UDF::FindBytes(buffer, 3, buffer, 4), -1);
}

TEST(UdfHelpers, EntryLayoutsAndDescriptors)
{
    uint8_t entry[2048] = {};
    EXPECT_EQ(Udf::GetAllocType(entry, 0), -1);
    PutLE16(entry + 34, 0x0013);
    EXPECT_EQ(Udf::GetAllocType(entry, sizeof entry), 3);
    Udf::FileEntryView view;
    EXPECT_FALSE(Udf::ParseFileEntry(entry, sizeof entry, view)); // no tag
    SealDescriptorTag(entry, 266, 0);
    PutLE32(entry + 208, 8);  // L_EA
    PutLE32(entry + 212, 16); // L_AD
    ASSERT_TRUE(Udf::ParseFileEntry(entry, sizeof entry, view));
    EXPECT_EQ(view.adOffset, 224u);
    EXPECT_EQ(view.modificationTime, 92u);
    EXPECT_FALSE(Udf::ParseFileEntry(entry, 230, view)); // descriptors past the buffer

    uint8_t ad[20] = {};
    PutLE32(ad, 0xC0000800);
    PutLE32(ad + 4, 7);
    PutLE32(ad + 12, 9);
    PutLE16(ad + 16, 1);
    const Udf::AllocationDescriptor shortAd = Udf::ReadAllocationDescriptor(ad, Udf::kShortAd);
    EXPECT_EQ(shortAd.length, 0x800u);
    EXPECT_EQ(shortAd.extentType, 3);
    EXPECT_EQ(shortAd.block, 7u);
    EXPECT_FALSE(shortAd.hasPartitionRef);
    const Udf::AllocationDescriptor extended = Udf::ReadAllocationDescriptor(ad, Udf::kExtendedAd);
    EXPECT_EQ(extended.block, 9u);
    EXPECT_EQ(extended.partitionRef, 1);
}

} // namespace
