#include "ExtractionFixtures.h"

#include "filesystems/IsoReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace fs = std::filesystem;
using namespace testing_support;
using namespace extraction_test;

namespace {

// Writes a tree with the cases that catch short or padded files, deep
// folders and names beyond ISO 9660's own alphabet.
void MakeSourceTree(const fs::path& root)
{
    // As deep as genisoimage nests folders without Rock Ridge.
    fs::create_directories(root / "deep" / "a" / "b" / "c" / "d" / "e");
    fs::create_directories(root / "Docs");
    WriteFile(root / "empty.txt", "");
    WriteFile(root / "one.bin", "1");
    for (size_t size : {2047u, 2048u, 2049u, 100000u}) {
        std::string data(size, '\0');
        for (size_t i = 0; i < size; ++i)
            data[i] = char(i * 31 + size);
        WriteFile(root / "Docs" / ("size" + std::to_string(size) + ".dat"), data);
    }
    WriteFile(root / "deep" / "a" / "b" / "c" / "d" / "e" / "leaf.txt", "leaf");
    WriteFile(root / "Docs" / "A rather long name with spaces and ümlauts.text", "long");
}

TEST(IsoExtract, FolderJobReproducesTheSourceTree)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    MakeSourceTree(dir / "src");
    ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
    auto drive = DriveOn(OpenImageTarget(dir / "disc.iso"));
    const auto volume = FindIsoVolumeDescriptor(*drive, 0);
    ASSERT_TRUE(volume && volume->joliet);
    for (int fsKind : {1, 0}) {
        const fs::path out = dir / ("out" + std::to_string(fsKind));
        CGetCDData engine;
        engine.SetDevice(drive.get());
        ASSERT_TRUE(engine.StartSaveFolder(1, volume->RootLba(), out.string(), fsKind, true));
        ASSERT_TRUE(WaitUntilDone(engine));
        EXPECT_EQ(DescribeTree(out), DescribeTree(dir / "src")) << "fsKind " << fsKind;
    }
}

TEST(IsoExtract, FileJobSavesOneFileAtItsSize)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    MakeSourceTree(dir / "src");
    ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
    auto drive = DriveOn(OpenImageTarget(dir / "disc.iso"));
    const CommandResult found =
        RunProgram({"isoinfo", "-J", "-l", "-i", (dir / "disc.iso").string()});
    // isoinfo -l prints "... size [ extent 00] name"; take the 2049-byte file's extent.
    const std::string wanted = "size2049.dat";
    const auto line = found.out.find(wanted);
    if (found.exitCode != 0 || line == std::string::npos)
        GTEST_SKIP() << "isoinfo missing";
    const std::string head = found.out.substr(found.out.rfind('\n', line) + 1, line - found.out.rfind('\n', line));
    const size_t open = head.find('[');
    const uint64_t extent = std::stoull(head.substr(open + 1));
    CGetCDData engine;
    engine.SetDevice(drive.get());
    const fs::path out = dir / "copy.dat";
    ASSERT_TRUE(engine.StartSaveFile(1, extent, 2049, out.string(), 1, true));
    ASSERT_TRUE(WaitUntilDone(engine));
    EXPECT_EQ(engine.GetProgress(), 100);
    EXPECT_EQ(ReadFile(out), ReadFile(dir / "src" / "Docs" / wanted));
}

TEST(IsoExtract, CancelTakesBackOnlyTheFileBeingWritten)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    fs::create_directory(dir / "src");
    WriteFile(dir / "src" / "a_small.txt", "small");
    WriteFile(dir / "src" / "z_big.bin", std::string(4 << 20, 'z'));
    ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
    const int32_t sectors = int32_t(fs::file_size(dir / "disc.iso") / 2048);
    // The big file fills the end of the volume, before genisoimage's padding.
    auto gateOwner = std::make_unique<GateTarget>(OpenImageTarget(dir / "disc.iso"), sectors - 1000);
    GateTarget* gate = gateOwner.get();
    auto drive = DriveOn(std::move(gateOwner));
    const auto volume = FindIsoVolumeDescriptor(*drive, 0);
    ASSERT_TRUE(volume);
    const fs::path out = dir / "out";
    {
        CGetCDData engine;
        engine.SetDevice(drive.get());
        ASSERT_TRUE(engine.StartSaveFolder(1, volume->RootLba(), out.string(), 1, true));
        gate->WaitUntilReached();
        EXPECT_EQ(engine.GetCurrentName(), (out / "z_big.bin").string());
        engine.Stop();
        gate->Release();
    }
    EXPECT_EQ(ReadFile(out / "a_small.txt"), "small");
    EXPECT_FALSE(fs::exists(out / "z_big.bin"));
}

// Replaces every big-endian UCS-2 occurrence of from by to (same length).
void PatchJolietName(std::string& image, const std::string& from, const std::string& to)
{
    auto ucs2 = [](const std::string& text) {
        std::string out;
        for (char c : text)
            out += std::string{'\0', c};
        return out;
    };
    const std::string a = ucs2(from), b = ucs2(to);
    int patched = 0;
    for (size_t at = image.find(a); at != std::string::npos; at = image.find(a, at + 1), ++patched)
        image.replace(at, b.size(), b);
    ASSERT_GT(patched, 0) << from;
}

TEST(IsoExtract, NamesFromTheDiscNeverLeaveTheDestination)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    fs::create_directories(dir / "src" / "sub");
    WriteFile(dir / "src" / "zz_escape", "escape");
    WriteFile(dir / "src" / "sub" / "zz_escape", "deeper");
    WriteFile(dir / "src" / "q_b", "slash");
    WriteFile(dir / "src" / "zz", "dots");
    ASSERT_TRUE(MakeJolietIso(dir / "src", dir / "disc.iso"));
    std::string image = ReadFile(dir / "disc.iso");
    PatchJolietName(image, "zz_escape", "../escape");
    PatchJolietName(image, "q_b", "a/b");
    PatchJolietName(image, "zz", "..");
    fs::create_directories(dir / "box" / "dest");
    WriteFile(dir / "box" / "crafted.iso", image);

    auto drive = DriveOn(OpenImageTarget(dir / "box" / "crafted.iso"));
    const auto volume = FindIsoVolumeDescriptor(*drive, 0);
    ASSERT_TRUE(volume && volume->joliet);
    CGetCDData engine;
    engine.SetDevice(drive.get());
    const fs::path out = dir / "box" / "dest" / "disc";
    ASSERT_TRUE(engine.StartSaveFolder(1, volume->RootLba(), out.string(), 1, true));
    ASSERT_TRUE(WaitUntilDone(engine));

    std::set<std::string> outside;
    for (const auto& entry : fs::recursive_directory_iterator(dir / "box"))
        if (fs::relative(entry.path(), dir / "box").string().rfind("dest", 0) != 0)
            outside.insert(entry.path().filename().string());
    EXPECT_EQ(outside, std::set<std::string>{"crafted.iso"});
    EXPECT_EQ(ReadFile(out / ".._escape"), "escape");
    EXPECT_EQ(ReadFile(out / "sub" / ".._escape"), "deeper");
    EXPECT_EQ(ReadFile(out / "a_b"), "slash");
    EXPECT_EQ(ReadFile(out / "_"), "dots");
}

} // namespace
