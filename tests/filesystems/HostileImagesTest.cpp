// Images made hostile on purpose: lengths, sizes and links that point past
// the sector, the image or back up the tree, and names that try to leave
// the destination. Each must be read and extracted without a crash, a hang,
// a write outside the destination or an appetite for memory.
#include "UdfImageBuilder.h"
#include "UdfTestSupport.h"
#include "common/ByteOrder.h"
#include "extraction/FolderSaving.h"
#include "extraction/JobState.h"
#include "filesystems/IsoReader.h"
#include "filesystems/UdfEntry.h"
#include "support/ExplorerHarness.h"
#include "support/IsoPatching.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/resource.h>

using namespace testing_support;
using namespace udf_test;
namespace fs = std::filesystem;

namespace {

constexpr long kMemoryCeilingKiB = 1024 * 1024;

// Every test extracts into box/a/b/dest and checks that box holds nothing
// else afterwards, and that the process never needed a gigabyte.
class Hostile : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir / "box" / "a" / "b"); }
    void TearDown() override
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        EXPECT_LT(usage.ru_maxrss, kMemoryCeilingKiB);
    }

    std::string Dest() const { return (dir / "box" / "a" / "b" / "dest").string(); }

    // Paths below box, relative, that are not dest or below it.
    std::set<std::string> Outside() const
    {
        std::set<std::string> outside;
        for (const auto& entry : fs::recursive_directory_iterator(dir / "box")) {
            const std::string path = fs::relative(entry.path(), dir / "box").string();
            if (path != "a" && path != "a/b" && path.rfind("a/b/dest", 0) != 0)
                outside.insert(path);
        }
        return outside;
    }

    static size_t Deepest(const fs::path& root)
    {
        size_t deepest = 0;
        for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
            deepest = std::max(deepest, size_t(it.depth()) + 1);
        return deepest;
    }

    TempDir dir;
    JobState state;
};

// --- UDF, from the test's own image builder

class HostileUdf : public Hostile {
protected:
    fs::path Save(const std::vector<uint8_t>& image)
    {
        imageSize = image.size();
        WriteFile(dir / "udf.img", std::string(image.begin(), image.end()));
        return dir / "udf.img";
    }

    // Rewrites the length of the first allocation descriptor of the File
    // Entry at block (short_ad or long_ad: both start with it).
    static void SetFirstExtentLength(std::vector<uint8_t>& image, uint64_t block, uint32_t length)
    {
        uint8_t* entry = &image[block * 2048];
        Udf::FileEntryView view;
        ASSERT_TRUE(Udf::ParseFileEntry(entry, 2048, view));
        ASSERT_GE(view.adLength, 8u);
        PutLE32(entry + view.adOffset, length);
    }

    UdfImageBuilder builder{UdfImageBuilder::Options{}};
    size_t imageSize = 0;
};

TEST_F(HostileUdf, AllocationLengthOf7FFFFFFFIsReadNoFurtherThanTheDisc)
{
    const int folder = builder.AddFolder(UdfImageBuilder::kRoot, "folder");
    builder.AddFile(folder, "inner", "inner");
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", std::string(5000, 'f'));
    builder.SetDeclaredLength(file, 0x7FFFFFFF);
    std::vector<uint8_t> image = builder.Build();
    SetFirstExtentLength(image, builder.EntryLocation(file), 0x7FFFFFFF);
    SetFirstExtentLength(image, builder.EntryLocation(folder), 0x7FFFFFFF);

    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(image)));
    EXPECT_FALSE(ListTree(mounted.udf, mounted.udf.RootLocation()).empty());
    EXPECT_LE(ReadWholeFile(mounted.udf, builder.EntryLocation(file)).size(), imageSize);

    SaveUdfFolder(mounted.udf, state, mounted.udf.RootLocation(), Dest());
    EXPECT_TRUE(Outside().empty());
    ASSERT_TRUE(fs::exists(fs::path(Dest()) / "file"));
    EXPECT_LE(fs::file_size(fs::path(Dest()) / "file"), imageSize);
}

TEST_F(HostileUdf, RecordedExtentLongerThanTheDiscEndsAtItsEnd)
{
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", std::string(5000, 'f'));
    builder.SetDeclaredLength(file, 0x3FFFFFFF);
    std::vector<uint8_t> image = builder.Build();
    SetFirstExtentLength(image, builder.EntryLocation(file), 0x3FFFFFFF);

    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(image)));
    EXPECT_LE(ReadWholeFile(mounted.udf, builder.EntryLocation(file)).size(), imageSize);
    const fs::path saved = fs::path(Dest()) / "file";
    fs::create_directories(Dest());
    SaveUdfFile(mounted.udf, state, builder.EntryLocation(file), 0x3FFFFFFF, saved.string());
    EXPECT_LE(fs::file_size(saved), imageSize);
}

TEST_F(HostileUdf, FileSizePastTheImageEndStopsAtTheImageEnd)
{
    const int file = builder.AddFile(UdfImageBuilder::kRoot, "file", std::string(3000, 'f'));
    builder.SetDeclaredLength(file, uint64_t(1) << 40);
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(builder.Build())));
    const auto entry = FindEntry(mounted.udf, mounted.udf.RootLocation(), "file");
    ASSERT_TRUE(entry);
    EXPECT_LE(ReadWholeFile(mounted.udf, entry->location).size(), imageSize);

    SaveUdfFolder(mounted.udf, state, mounted.udf.RootLocation(), Dest());
    EXPECT_TRUE(Outside().empty());
    EXPECT_LE(fs::file_size(fs::path(Dest()) / "file"), imageSize);
}

TEST_F(HostileUdf, FolderThatHoldsItsAncestorIsWalkedOnce)
{
    const int outer = builder.AddFolder(UdfImageBuilder::kRoot, "outer");
    const int inner = builder.AddFolder(outer, "inner");
    builder.AddFile(inner, "file", "data");
    builder.AddLink(inner, "up", UdfImageBuilder::kRoot, true);
    builder.AddLink(inner, "self", inner, true);
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(builder.Build())));

    MemoryTree tree;
    const NodeHandle track = tree.InsertNode(kNoNode, "DATA TRACK 01", 4, 4);
    mounted.udf.FillTree(tree, track);
    EXPECT_LT(tree.NodeCount(), 10u);

    SaveUdfFolder(mounted.udf, state, mounted.udf.RootLocation(), Dest());
    EXPECT_TRUE(Outside().empty());
    EXPECT_EQ(ReadFile(fs::path(Dest()) / "outer" / "inner" / "file"), "data");
    EXPECT_LE(Deepest(Dest()), 4u);
}

TEST_F(HostileUdf, NamesThatLeaveTheFolderStayInTheDestination)
{
    builder.AddFile(UdfImageBuilder::kRoot, "../escape", "escape");
    builder.AddFile(UdfImageBuilder::kRoot, "a/b", "slash");
    const int dots = builder.AddFolder(UdfImageBuilder::kRoot, "..");
    builder.AddFile(dots, "../../deeper", "deeper");
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(Save(builder.Build())));

    SaveUdfFolder(mounted.udf, state, mounted.udf.RootLocation(), Dest());
    EXPECT_TRUE(Outside().empty()) << *Outside().begin();
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Dest()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 3u);
}

// --- ISO 9660, from genisoimage, patched

class HostileIso : public Hostile {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        Hostile::SetUp();
        fs::create_directories(tree / "OUTER" / "LOOP");
        WriteFile(tree / "OUTER" / "FILE.TXT", "outer file");
        WriteFile(tree / "BIG.BIN", std::string(40000, 'b'));
        WriteFile(tree / "SMALL.TXT", "small");
        // Enough records for OUTER's folder to fill more than one sector.
        for (int i = 10; i < 80; ++i)
            WriteFile(tree / "OUTER" / ("F" + std::to_string(i) + ".TXT"), "f");
    }

    fs::path Build()
    {
        image = MakeIso(tree, dir / "disc.iso", {});
        EXPECT_FALSE(image.empty());
        return image;
    }

    // Extracts the whole volume into Dest() through the image entry.
    void ExtractAll()
    {
        CDevCmdROM drive;
        ASSERT_TRUE(drive.SetImageFile(image.string()));
        const auto volume = FindIsoVolumeDescriptor(drive, 0);
        ASSERT_TRUE(volume);
        SaveIsoFolder(drive, state, IsoFolderJob{1, volume->RootLba(), false}, Dest());
        EXPECT_TRUE(Outside().empty());
    }

    fs::path tree = dir / "tree";
    fs::path image;
};

TEST_F(HostileIso, FolderWhoseExtentIsItsParentIsExtractedOnce)
{
    Build();
    uint32_t outer = 0;
    ASSERT_TRUE(PatchIsoRecord(image, "OUTER", [&](uint8_t* r) { outer = GetLE32(r + 2); }));
    ASSERT_TRUE(PatchIsoRecord(image, "LOOP", [&](uint8_t* r) {
        PutLE32(r + 2, outer);
        PutBE32(r + 6, outer);
    }));
    ExtractAll();
    EXPECT_EQ(ReadFile(fs::path(Dest()) / "OUTER" / "FILE.TXT"), "outer file");
    EXPECT_LE(Deepest(Dest()), 3u);
}

TEST_F(HostileIso, RecordLengthPastTheSectorEndsThatSector)
{
    Build();
    uint32_t outer = 0;
    ASSERT_TRUE(PatchIsoRecord(image, "OUTER", [&](uint8_t* r) { outer = GetLE32(r + 2); }));
    // The last record of OUTER's first sector claims more bytes than the
    // sector has left.
    std::string bytes = ReadFile(image);
    uint8_t* sector = reinterpret_cast<uint8_t*>(&bytes[size_t(outer) * 2048]);
    size_t last = 0;
    for (size_t pos = 0; pos < 2048 && sector[pos] != 0; pos += sector[pos])
        last = pos;
    ASSERT_GT(last, 2048u - 200);
    sector[last] = uint8_t(2048 - last + 40);
    WriteFile(image, bytes);

    ExplorerHarness h(image);
    h.Show();
    ASSERT_TRUE(h.Select("/OUTER"));
    EXPECT_GT(h.list.GetRowCount(), 40);
    ExtractAll();
    EXPECT_EQ(ReadFile(fs::path(Dest()) / "OUTER" / "FILE.TXT"), "outer file");
    EXPECT_EQ(ReadFile(fs::path(Dest()) / "OUTER" / "F79.TXT"), "f");
}

TEST_F(HostileIso, FileSizePastTheImageEndSavesWhatIsThere)
{
    Build();
    ASSERT_TRUE(PatchIsoRecord(image, "BIG.BIN;1", [](uint8_t* r) {
        PutLE32(r + 10, 0xFFFFF000);
        PutBE32(r + 14, 0xFFFFF000);
    }));
    ExtractAll();
    EXPECT_LE(fs::file_size(fs::path(Dest()) / "BIG.BIN"), fs::file_size(image));
    EXPECT_EQ(ReadFile(fs::path(Dest()) / "SMALL.TXT"), "small");
}

TEST_F(HostileIso, TruncatedImageIsExtractedAsFarAsItGoes)
{
    Build();
    std::string bytes = ReadFile(image);
    const size_t big = bytes.find(std::string(2048, 'b'));
    ASSERT_NE(big, std::string::npos);
    bytes.resize(big + 2048 * 3);
    WriteFile(image, bytes);
    ExtractAll();
    EXPECT_LE(fs::file_size(fs::path(Dest()) / "BIG.BIN"), 40000u);
}

} // namespace
