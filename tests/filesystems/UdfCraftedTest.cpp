// Volumes written by the test's own image builder: every partition kind and
// entry layout, data in several extents, and damaged or hostile structures.
#include "UdfImageBuilder.h"
#include "UdfTestSupport.h"
#include "common/ByteOrder.h"
#include "explorer/MemoryControls.h"
#include "filesystems/OstaName.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace testing_support;
using namespace udf_test;
using Layout = UdfImageBuilder::Layout;

namespace {

std::string Pattern(size_t length, char seed)
{
    std::string data(length, '\0');
    for (size_t i = 0; i < length; ++i)
        data[i] = char(seed + i * 7 + i / 251);
    return data;
}

int64_t FindBytesIn(const std::vector<uint8_t>& image, const char* text)
{
    const auto found = std::search(image.begin(), image.end(), text, text + std::strlen(text));
    return found == image.end() ? -1 : found - image.begin();
}

std::filesystem::path Save(const TempDir& dir, const std::vector<uint8_t>& image, const std::string& name = "crafted.img")
{
    WriteFile(dir / name, std::string(image.begin(), image.end()));
    return dir / name;
}

// A tree with data in several extents: root/big, root/a/f1, root/a/b/empty.
struct SampleTree {
    int folderA = 0;
    int folderB = 0;
    int fileBig = 0;
    int fileF1 = 0;

    explicit SampleTree(UdfImageBuilder& builder)
    {
        folderA = builder.AddFolder(UdfImageBuilder::kRoot, "a");
        fileBig = builder.AddFile(UdfImageBuilder::kRoot, "big", Pattern(20000, 'B'));
        fileF1 = builder.AddFile(folderA, "f1", Pattern(5000, 'F'));
        folderB = builder.AddFolder(folderA, "b");
        builder.AddFile(folderB, "empty", "");
    }
    static std::vector<std::string> Listing() { return {"a/", "a/b/", "a/b/empty\t0", "a/f1\t5000", "big\t20000"}; }
};

struct LayoutCase {
    Layout layout;
    bool extended;
    uint32_t blockSize;
    int kind;
};

class CraftedLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CraftedLayout, ListsAndReadsEveryExtent)
{
    const LayoutCase& c = GetParam();
    UdfImageBuilder::Options options;
    options.layout = c.layout;
    options.extendedEntries = c.extended;
    options.blockSize = c.blockSize;
    options.maxExtentBlocks = 1;    // every block its own extent...
    options.descriptorsInEntry = 2; // ...most of them in a continuation
    UdfImageBuilder builder(options);
    const SampleTree tree(builder);
    TempDir dir;
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(dir, builder.Build())));
    EXPECT_EQ(mounted.udf.GetPartitionKind(), c.kind);
    EXPECT_EQ(mounted.udf.GetBlockSize(), c.blockSize);
    EXPECT_EQ(mounted.VolumeIdentifier(), "CRAFTED");
    EXPECT_EQ(mounted.udf.RootLocation(), builder.EntryLocation(UdfImageBuilder::kRoot));
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), SampleTree::Listing());
    EXPECT_TRUE(ReadWholeFile(mounted.udf, builder.EntryLocation(tree.fileBig)) == Pattern(20000, 'B'));
    EXPECT_TRUE(ReadWholeFile(mounted.udf, builder.EntryLocation(tree.fileF1)) == Pattern(5000, 'F'));
}

std::string LayoutName(const ::testing::TestParamInfo<LayoutCase>& info)
{
    static const char* names[] = {"Plain", "Sparable", "Vat150", "Vat200", "Metadata"};
    return std::string(names[int(info.param.layout)]) + (info.param.extended ? "Efe" : "Fe") +
           std::to_string(info.param.blockSize);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CraftedLayout,
    ::testing::Values(LayoutCase{Layout::Plain, false, 2048, CAnaly_UDF::kPlain},
                      LayoutCase{Layout::Plain, true, 2048, CAnaly_UDF::kPlain},
                      LayoutCase{Layout::Plain, false, 512, CAnaly_UDF::kPlain},
                      LayoutCase{Layout::Plain, true, 1024, CAnaly_UDF::kPlain},
                      LayoutCase{Layout::Plain, false, 4096, CAnaly_UDF::kPlain},
                      LayoutCase{Layout::Sparable, false, 2048, CAnaly_UDF::kSparable},
                      LayoutCase{Layout::Virtual150, false, 2048, CAnaly_UDF::kVirtual},
                      LayoutCase{Layout::Virtual200, true, 2048, CAnaly_UDF::kVirtual},
                      LayoutCase{Layout::Metadata, true, 2048, CAnaly_UDF::kMetadata},
                      LayoutCase{Layout::Metadata, true, 512, CAnaly_UDF::kMetadata},
                      LayoutCase{Layout::Metadata, false, 4096, CAnaly_UDF::kMetadata}),
    LayoutName);

TEST(CraftedVolume, EmbeddedDirectoriesAndFiles)
{
    UdfImageBuilder::Options options;
    options.embedData = true;
    UdfImageBuilder builder(options);
    const SampleTree tree(builder);
    TempDir dir;
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(dir, builder.Build())));
    EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), SampleTree::Listing());
    EXPECT_TRUE(ReadWholeFile(mounted.udf, builder.EntryLocation(tree.fileF1)) == Pattern(5000, 'F'));
}

TEST(CraftedVolume, SparedPacketIsReadFromTheSpareArea)
{
    UdfImageBuilder::Options options;
    options.layout = Layout::Sparable;
    UdfImageBuilder builder(options);
    SampleTree tree(builder);
    builder.SpareEntryPacket(tree.folderA);
    std::vector<uint8_t> image = builder.Build();
    TempDir dir;
    {
        MountedImage mounted;
        ASSERT_TRUE(mounted.Mount(Save(dir, image)));
        EXPECT_EQ(ListTree(mounted.udf, mounted.udf.RootLocation()), SampleTree::Listing());
        const auto a = FindEntry(mounted.udf, mounted.udf.RootLocation(), "a");
        ASSERT_TRUE(a);
        EXPECT_EQ(a->location, builder.EntryLocation(tree.folderA));
    }
    // Without the sparing table the moved packet is lost: proof it was used.
    const size_t table = size_t(FindBytesIn(image, "*UDF Sparing Table"));
    image[table] = 'X';
    MountedImage mounted;
    if (mounted.Mount(Save(dir, image, "lost.img"))) {
        EXPECT_TRUE(ListTree(mounted.udf, mounted.udf.RootLocation()).empty());
    }
}

} // namespace
