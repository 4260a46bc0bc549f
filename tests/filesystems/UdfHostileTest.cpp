// Damaged and hostile UDF volumes: cycles, deep trees, absurd lengths,
// descriptors running past their data, truncated images, moved anchors.
#include "UdfImageBuilder.h"
#include "UdfTestSupport.h"
#include "common/ByteOrder.h"
#include "explorer/MemoryControls.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace testing_support;
using namespace udf_test;

namespace {

constexpr uint32_t kBlock = 2048;
constexpr size_t kFeInformationLength = 56;
constexpr size_t kFeEaLength = 168;
constexpr size_t kFeDescriptors = 176;

class HostileVolume : public ::testing::Test {
protected:
    HostileVolume() : builder(UdfImageBuilder::Options{}) {}

    // Builds, lets patch change the image, mounts it.
    void Mount(const std::function<void(std::vector<uint8_t>&)>& patch = {})
    {
        image = builder.Build();
        if (patch)
            patch(image);
        WriteFile(dir / "hostile.img", std::string(image.begin(), image.end()));
        ASSERT_TRUE(mounted.Mount(dir / "hostile.img"));
    }
    uint8_t* EntryBytes(int entry) { return &image[builder.EntryLocation(entry) * kBlock]; }
    uint8_t* Data(int entry) { return &image[builder.DataByte(entry)]; }

    UdfImageBuilder builder;
    std::vector<uint8_t> image;
    TempDir dir;
    MountedImage mounted;
};

TEST_F(HostileVolume, FolderCyclesAreShownButNotWalkedAgain)
{
    const int sub = builder.AddFolder(UdfImageBuilder::kRoot, "sub");
    builder.AddLink(sub, "back", UdfImageBuilder::kRoot, true);
    builder.AddLink(UdfImageBuilder::kRoot, "self", UdfImageBuilder::kRoot, true);
    builder.AddLink(sub, "again", sub, true);
    Mount();
    MemoryTree tree;
    const NodeHandle track = tree.InsertNode(kNoNode, "DATA TRACK 1(UDF)", 4, 4);
    ASSERT_EQ(mounted.udf.FillTree(tree, track), 0);
    std::vector<std::string> paths;
    ForEachNode(tree, track, [&](NodeHandle node, int depth) {
        if (depth > 0)
            paths.push_back(NodePath(tree, node));
    });
    EXPECT_EQ(paths, (std::vector<std::string>{"DATA TRACK 1(UDF)/sub", "DATA TRACK 1(UDF)/sub/back",
                                               "DATA TRACK 1(UDF)/sub/again", "DATA TRACK 1(UDF)/self"}));
}

TEST_F(HostileVolume, TreeStopsAtLevel64)
{
    int folder = UdfImageBuilder::kRoot;
    for (int level = 0; level < 80; ++level)
        folder = builder.AddFolder(folder, "L" + std::to_string(level));
    Mount();
    MemoryTree tree;
    const NodeHandle track = tree.InsertNode(kNoNode, "DATA TRACK 1(UDF)", 4, 4);
    ASSERT_EQ(mounted.udf.FillTree(tree, track), 0);
    int deepest = 0;
    ForEachNode(tree, track, [&](NodeHandle, int depth) { deepest = std::max(deepest, depth); });
    EXPECT_EQ(deepest, 64);
}

TEST_F(HostileVolume, HugeDescriptorLengthsAreBoundedByTheDisc)
{
    const int folder = builder.AddFolder(UdfImageBuilder::kRoot, "folder");
    builder.AddFile(folder, "inside", "x");
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", std::string(5000, 'f'));
    Mount([&](std::vector<uint8_t>& bytes) {
        (void)bytes;
        // A folder of 1 GiB unrecorded, a file of 1 GiB recorded from its block on.
        PutLE32(EntryBytes(folder) + kFeDescriptors, 0x7FFFFFFF);
        PutLE32(EntryBytes(folder) + kFeInformationLength, 0xFFFFFFFF);
        PutLE32(EntryBytes(folder) + kFeInformationLength + 4, 0x7FFFFFFF);
        PutLE32(EntryBytes(file) + kFeDescriptors, 0x3FFFFFFF);
        PutLE32(EntryBytes(file) + kFeInformationLength, 0x40000000);
    });
    std::vector<UdfDirEntry> entries;
    mounted.udf.ReadDirectory(builder.EntryLocation(folder), entries);
    EXPECT_TRUE(entries.empty());
    uint64_t streamed = 0;
    EXPECT_FALSE(mounted.udf.ReadFileContents(builder.EntryLocation(file), [&](const uint8_t*, size_t length) {
        streamed += length;
        return true;
    }));
    EXPECT_LE(streamed, image.size());
    // The rest of the volume still lists.
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()),
              (std::vector<std::string>{"file\t1073741824", "folder/"}));
}

TEST_F(HostileVolume, IdentifierRunningPastTheFolderEndsTheWalk)
{
    const int folder = builder.AddFolder(UdfImageBuilder::kRoot, "folder");
    builder.AddFile(folder, "first", "1");
    builder.AddFile(folder, "second", "2");
    Mount([&](std::vector<uint8_t>&) {
        // The third descriptor (after the parent's and "first") claims a huge
        // implementation use field.
        const size_t parent = 40;
        const size_t first = (38 + 6 + 3) & ~size_t(3);
        PutLE16(Data(folder) + parent + first + 36, 0xFFFF);
    });
    std::vector<UdfDirEntry> entries;
    EXPECT_FALSE(mounted.udf.ReadDirectory(builder.EntryLocation(folder), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "first");
}

TEST_F(HostileVolume, ContinuationPointingToItselfStops)
{
    UdfImageBuilder::Options options;
    options.maxExtentBlocks = 1;
    options.descriptorsInEntry = 1;
    builder = UdfImageBuilder(options);
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", std::string(10 * kBlock, 'c'));
    Mount([&](std::vector<uint8_t>&) {
        // The entry's second descriptor leads to the continuation block;
        // make that block continue into itself.
        const uint8_t* continuation = EntryBytes(file) + kFeDescriptors + 8;
        const uint32_t block = GetLE32(continuation + 4);
        uint8_t* aed = &image[(UdfImageBuilder::kPartitionStart + block) * kBlock];
        PutLE32(aed + 24, (3u << 30) | kBlock);
        PutLE32(aed + 28, block);
    });
    EXPECT_FALSE(mounted.udf.ReadFileContents(builder.EntryLocation(file), [](const uint8_t*, size_t) { return true; }));
}

TEST_F(HostileVolume, EntryWhoseAttributesLeaveTheBlockIsNoEntry)
{
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", "data");
    Mount([&](std::vector<uint8_t>&) { PutLE32(EntryBytes(file) + kFeEaLength, 0xFFFFFFF0); });
    std::string time = "untouched";
    std::string size = "untouched";
    EXPECT_FALSE(mounted.udf.GetTimeAndSize(builder.EntryLocation(file), time, size));
    EXPECT_EQ(time, "untouched");
    MemoryList list;
    mounted.udf.FillList(list, mounted.udf.RootLocation());
    ASSERT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 1), "");
    EXPECT_EQ(list.GetItemText(0, 3), "");
    EXPECT_EQ(list.GetItemText(0, 2), "File");
}

TEST_F(HostileVolume, TruncatedImageListsWhatIsThere)
{
    const int folder = builder.AddFolder(UdfImageBuilder::kRoot, "folder");
    builder.AddFile(folder, "file", std::string(9000, 'z'));
    image = builder.Build();
    // Up to the root's File Entry: the folders' data is missing.
    image.resize((UdfImageBuilder::kPartitionStart + 3) * kBlock);
    WriteFile(dir / "cut.img", std::string(image.begin(), image.end()));
    if (!mounted.Mount(dir / "cut.img"))
        return;
    EXPECT_TRUE(ListTree(mounted.udf, mounted.udf.RootLocation()).empty());
    MemoryTree tree;
    EXPECT_EQ(mounted.udf.FillTree(tree, tree.InsertNode(kNoNode, "DATA TRACK 1(UDF)", 4, 4)), 0);
}

TEST_F(HostileVolume, AnchorAtTheLastBlockStandsInForBlock256)
{
    builder.AddFile(UdfImageBuilder::kRoot, "file", "data");
    Mount([](std::vector<uint8_t>& bytes) { std::memset(&bytes[256 * kBlock], 0, kBlock); });
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), (std::vector<std::string>{"file\t4"}));
}

TEST_F(HostileVolume, AnchorAt512OfAnUnclosedDisc)
{
    builder.AddFile(UdfImageBuilder::kRoot, "file", "data");
    Mount([](std::vector<uint8_t>& bytes) {
        std::vector<uint8_t> anchor(&bytes[256 * kBlock], &bytes[257 * kBlock]);
        std::memset(&bytes[bytes.size() - kBlock], 0, kBlock);
        std::memset(&bytes[256 * kBlock], 0, kBlock);
        bytes.resize(std::max<size_t>(bytes.size(), 600 * kBlock));
        SealDescriptorTag(anchor.data(), 2, 512);
        std::memcpy(&bytes[512 * kBlock], anchor.data(), kBlock);
    });
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), (std::vector<std::string>{"file\t4"}));
}

TEST_F(HostileVolume, ReserveSequenceStandsInForAnUnreadableMainSequence)
{
    builder.AddFile(UdfImageBuilder::kRoot, "file", "data");
    Mount([](std::vector<uint8_t>& bytes) {
        const size_t blocks = bytes.size() / kBlock;
        const size_t reserve = blocks - 8; // free blocks at the partition's end
        std::memcpy(&bytes[reserve * kBlock], &bytes[257 * kBlock], 4 * kBlock);
        std::memset(&bytes[257 * kBlock], 0, 4 * kBlock);
        for (size_t anchor : {size_t(256), blocks - 1}) {
            PutLE32(&bytes[anchor * kBlock + 28], uint32_t(reserve));
            SealDescriptorTag(&bytes[anchor * kBlock], 2, uint32_t(anchor));
        }
    });
    EXPECT_EQ(mounted.VolumeIdentifier(), "CRAFTED");
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), (std::vector<std::string>{"file\t4"}));
}

TEST(UdfDrive, NotReadyDriveMountsNothing)
{
    CDevCmdROM drive; // the image entry without an image
    CAnaly_UDF udf;
    EXPECT_FALSE(udf.Init(&drive, nullptr, 0));
    EXPECT_FALSE(udf.Init(nullptr, nullptr, 0));
    MemoryTree tree;
    EXPECT_EQ(udf.FillTree(tree, tree.InsertNode(kNoNode, "DATA TRACK 1(UDF)", 4, 4)), 1);
    MemoryList list;
    udf.FillList(list, 0);
    EXPECT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetRowCount(), 0);
}

TEST(UdfDrive, NoUdfOnAPlainIsoImage)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    WriteFile(dir / "a.txt", "a");
    ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-o", (dir / "plain.iso").string(), (dir / "a.txt").string()}).exitCode,
              0);
    MountedImage mounted;
    EXPECT_FALSE(mounted.Mount(dir / "plain.iso"));
}

} // namespace
