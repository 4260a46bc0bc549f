// The ISO 9660 reader on images built here with genisoimage, some of them
// patched into shapes no tool writes.
#include "common/ByteOrder.h"
#include "explorer/NodePaths.h"
#include "support/ExplorerHarness.h"
#include "support/IsoPatching.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class IsoReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directories(tree);
    }

    fs::path Build(const std::vector<std::string>& options)
    {
        const fs::path image = MakeIso(tree, dir / "disc.iso", options);
        EXPECT_FALSE(image.empty());
        return image;
    }

    // NAME -> row cells of the listed folder.
    static std::map<std::string, std::vector<std::string>> ByName(const ExplorerHarness& h)
    {
        std::map<std::string, std::vector<std::string>> rows;
        for (const auto& row : h.Rows())
            rows[row[0]] = row;
        return rows;
    }

    TempDir dir;
    fs::path tree = dir / "tree";
};

// Rewrites the directory record (not the path table entry) named name.
void PatchRecord(const fs::path& image, const std::string& name, const std::function<void(uint8_t*)>& patch)
{
    ASSERT_TRUE(PatchIsoRecord(image, name, patch)) << name;
}

TEST_F(IsoReader, JolietNamesAreDecodedAndTheSupplementaryDescriptorKept)
{
    fs::create_directories(tree / "Ünïcödé Ordner");
    WriteFile(tree / "Ünïcödé Ordner" / "日本語のファイル.txt", "abc");
    WriteFile(tree / "Größe.TXT", "");
    ExplorerHarness h(Build({"-J", "-input-charset", "utf-8"}));
    h.Show();

    EXPECT_TRUE(h.explorer.IsJoliet());
    EXPECT_EQ(h.descriptor[0], 2); // the Joliet supplementary descriptor
    EXPECT_EQ(h.TreeText(), "Session 1\n  DATA TRACK 1(ISO)\n    Ünïcödé Ordner\n(Lead Out) " +
                                std::to_string(fs::file_size(dir / "disc.iso") / 2048) + "\n");
    auto rows = ByName(h);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows["Ünïcödé Ordner"][2], "Folder");
    EXPECT_EQ(rows["Größe.TXT"][2], "File");
    ASSERT_TRUE(h.Select("/Ünïcödé Ordner"));
    EXPECT_EQ(h.Column(0), std::vector<std::string>{"日本語のファイル.txt"});
    EXPECT_EQ(h.Column(3), std::vector<std::string>{"3"});
}

TEST_F(IsoReader, SupplementaryDescriptorWithoutJolietEscapesIsPassedOver)
{
    WriteFile(tree / "lower.txt", "x");
    const fs::path image = Build({"-J"});
    std::string bytes = ReadFile(image);
    for (int slot = 16; slot < 26; ++slot)
        if (bytes[size_t(slot) * 2048] == 2)
            std::memset(&bytes[size_t(slot) * 2048 + 88], 0, 3);
    WriteFile(image, bytes);

    ExplorerHarness h(image);
    h.Show();
    EXPECT_FALSE(h.explorer.IsJoliet());
    EXPECT_EQ(h.descriptor[0], 1);
    EXPECT_EQ(h.Column(0), std::vector<std::string>{"LOWER.TXT"}); // the ISO 9660 name, ";1" cut
}

TEST_F(IsoReader, SizesPositionsAndVersionSuffixes)
{
    WriteFile(tree / "E0.BIN", "");
    WriteFile(tree / "S2047.BIN", std::string(2047, 'a'));
    WriteFile(tree / "S2048.BIN", std::string(2048, 'b'));
    WriteFile(tree / "S2049.BIN", std::string(2049, 'c'));
    WriteFile(tree / "TWO.TXT", "2");
    fs::create_directories(tree / "DIRX11");
    const fs::path image = Build({});
    // Versions other than 1 stay, and a folder's identifier is never cut.
    PatchRecord(image, "TWO.TXT;1", [](uint8_t* r) { r[33 + 8] = '2'; });
    PatchRecord(image, "DIRX11", [](uint8_t* r) { std::memcpy(r + 33, "DIRX;1", 6); });

    ExplorerHarness h(image);
    h.Show();
    auto rows = ByName(h);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows["E0.BIN"][3], "0");
    EXPECT_EQ(rows["S2047.BIN"][3], "2047");
    EXPECT_EQ(rows["S2048.BIN"][3], "2048");
    EXPECT_EQ(rows["S2049.BIN"][3], "2049");
    EXPECT_EQ(rows.count("TWO.TXT;2"), 1u);
    EXPECT_EQ(rows["DIRX;1"][2], "Folder");
    EXPECT_EQ(rows["DIRX;1"][3], "");
    EXPECT_EQ(h.Column(2).front(), "Folder"); // folders first

    // The positions are the extents iso-info reports.
    if (HaveTool("iso-info")) {
        const std::string listing = RunProgram({"iso-info", "--no-header", "-l", image.string()}).out;
        for (const char* name : {"s2047.bin", "s2048.bin", "s2049.bin"}) {
            const size_t line = listing.rfind("[LSN", listing.find(name));
            ASSERT_NE(line, std::string::npos);
            const std::string lsn = std::to_string(std::stol(listing.substr(line + 4)));
            std::string upper = name;
            std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
            EXPECT_EQ(rows[upper][4], lsn) << name;
        }
    }
}

TEST_F(IsoReader, FolderOfThreeThousandEntriesSpansManySectors)
{
    fs::create_directories(tree / "MANY");
    for (int i = 0; i < 3000; ++i)
        WriteFile(tree / "MANY" / ("F" + std::to_string(i) + ".DAT"), "");
    ExplorerHarness h(Build({"-J"}));
    h.Show();
    ASSERT_TRUE(h.Select("/MANY"));
    const auto names = h.Column(0);
    ASSERT_EQ(names.size(), 3000u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return ListOrder::CompareFirstColumn(a, b) < 0;
    }));
    EXPECT_NE(std::find(names.begin(), names.end(), "F2999.DAT"), names.end());
    // Item data: files numbered from 5000 in record order.
    uint64_t highest = 0;
    for (int r = 0; r < h.list.GetRowCount(); ++r)
        highest = std::max(highest, h.list.GetItemData(r));
    EXPECT_EQ(highest, 5000u + 2999u);
}

TEST_F(IsoReader, FolderLengthComesFromItsOwnDotRecord)
{
    fs::create_directories(tree / "LONG");
    for (int i = 0; i < 150; ++i)
        WriteFile(tree / "LONG" / ("NAME" + std::to_string(i) + ".TXT"), "");
    const fs::path image = Build({});
    uint32_t extent = 0;
    PatchRecord(image, "LONG", [&](uint8_t* r) { extent = GetLE32(r + 2); });
    const std::string pristine = ReadFile(image);
    auto listed = [&](const std::string& bytes) {
        WriteFile(image, bytes);
        ExplorerHarness h(image);
        h.Show();
        EXPECT_TRUE(h.Select("/LONG"));
        return h.list.GetRowCount();
    };
    const int whole = listed(pristine);
    EXPECT_EQ(whole, 150);

    // A "." record naming another extent: one sector is listed.
    std::string bytes = pristine;
    PutLE32(reinterpret_cast<uint8_t*>(&bytes[size_t(extent) * 2048 + 2]), extent + 1);
    const int oneSector = listed(bytes);
    EXPECT_GT(oneSector, 0);
    EXPECT_LT(oneSector, whole);

    // A second sector starting with a zero byte ends the folder there.
    bytes = pristine;
    bytes[size_t(extent + 1) * 2048] = 0;
    EXPECT_EQ(listed(bytes), oneSector);
}

// A Mode 2 Form 1 raw image: each 2048-byte sector behind a sync pattern,
// a header with mode 2 and an XA sub-header.
void WrapAsMode2Form1(const fs::path& iso, const fs::path& raw)
{
    const std::string cooked = ReadFile(iso);
    std::string out;
    out.reserve(cooked.size() / 2048 * 2352);
    for (size_t lba = 0; lba * 2048 < cooked.size(); ++lba) {
        uint8_t sector[2352] = {};
        std::memset(sector + 1, 0xFF, 10);
        const size_t address = lba + 150;
        auto bcd = [](size_t v) { return uint8_t(((v / 10) << 4) | (v % 10)); };
        sector[12] = bcd(address / 4500);
        sector[13] = bcd(address / 75 % 60);
        sector[14] = bcd(address % 75);
        sector[15] = 2;
        sector[18] = sector[22] = 0x08; // sub-mode: data, Form 1
        std::memcpy(sector + 24, cooked.data() + lba * 2048, 2048);
        out.append(reinterpret_cast<const char*>(sector), sizeof sector);
    }
    WriteFile(raw, out);
}

TEST_F(IsoReader, Mode2XaTrackIsReadRaw)
{
    fs::create_directories(tree / "VCD");
    WriteFile(tree / "VCD" / "INFO.VCD", std::string(5000, 'v'));
    WriteFile(tree / "README.TXT", "r");
    WrapAsMode2Form1(Build({}), dir / "xa.bin");

    ExplorerHarness h(dir / "xa.bin");
    h.Show();
    EXPECT_EQ(h.explorer.GetSectorMode(), 2);
    EXPECT_EQ(h.TreeText().find("DATA TRACK 1(ISO)\n    VCD\n") != std::string::npos, true) << h.TreeText();
    EXPECT_EQ(h.Column(0), (std::vector<std::string>{"VCD", "README.TXT"}));
    ASSERT_TRUE(h.Select("/VCD"));
    ASSERT_EQ(h.Rows().size(), 1u);
    EXPECT_EQ(h.Rows()[0][0], "INFO.VCD");
    EXPECT_EQ(h.Rows()[0][3], "5000");
}

TEST_F(IsoReader, FolderPointingAtItsParentStopsTheWalk)
{
    fs::create_directories(tree / "OUTER" / "LOOP");
    WriteFile(tree / "OUTER" / "FILE.TXT", "f");
    const fs::path image = Build({});
    uint32_t outer = 0;
    PatchRecord(image, "OUTER", [&](uint8_t* r) { outer = GetLE32(r + 2); });
    PatchRecord(image, "LOOP", [&](uint8_t* r) {
        PutLE32(r + 2, outer);
        PutBE32(r + 6, outer);
    });

    ExplorerHarness h(image);
    h.Show();
    EXPECT_EQ(h.tree.NodeCount(), 5u) << h.TreeText(); // session, track, OUTER, LOOP, lead-out
    ASSERT_TRUE(h.Select("/OUTER/LOOP"));
    EXPECT_EQ(h.Column(0), (std::vector<std::string>{"LOOP", "FILE.TXT"}));
}

TEST_F(IsoReader, TreeDeeperThan64LevelsStops)
{
    fs::path deep = tree;
    for (int level = 0; level < 70; ++level)
        deep /= "D";
    fs::create_directories(deep);
    ExplorerHarness h(Build({"-D", "-l"}));
    h.Show();
    // Session, track, 64 folder levels, lead-out.
    EXPECT_EQ(h.tree.NodeCount(), 2u + 64u + 1u);
}

TEST_F(IsoReader, TruncatedImageShowsWhatIsThere)
{
    for (int i = 0; i < 40; ++i) {
        fs::create_directories(tree / ("DIR" + std::to_string(i)));
        WriteFile(tree / ("DIR" + std::to_string(i)) / "DATA.BIN", std::string(4096, 'd'));
    }
    const fs::path image = Build({});
    std::string bytes = ReadFile(image);
    // Keep the descriptors and the root folder; lose later folders.
    bytes.resize(2048 * 24);
    WriteFile(image, bytes);

    ExplorerHarness h(image);
    h.Show();
    EXPECT_EQ(h.tree.NodeCount(), 2u + 40u + 1u);
    ASSERT_TRUE(h.Select("/DIR39"));
    EXPECT_EQ(h.list.GetRowCount(), 0);
    EXPECT_EQ(h.list.GetColumnCount(), 6);
}

TEST_F(IsoReader, ScrambledDirectoriesAreSurvived)
{
    for (int i = 0; i < 6; ++i) {
        fs::create_directories(tree / ("D" + std::to_string(i)) / "E");
        WriteFile(tree / ("D" + std::to_string(i)) / "F.TXT", std::string(size_t(i) * 700, 'f'));
    }
    const fs::path image = Build({"-J"});
    const std::string pristine = ReadFile(image);
    // Descriptors and every directory lie in the sectors from 16 to the
    // first file; scramble bytes there, a few at a time.
    const size_t begin = 16 * 2048, end = std::min(pristine.size(), size_t(40 * 2048));
    std::mt19937 random(4711);
    for (int round = 0; round < 150; ++round) {
        std::string bytes = pristine;
        for (int n = 0; n < 12; ++n)
            bytes[begin + random() % (end - begin)] = char(random());
        WriteFile(image, bytes);
        ExplorerHarness h(image);
        h.Show();
        ForEachNode(h.tree, FirstFileSystemNode(h.tree), [&](NodeHandle node, int) { h.tree.SelectItem(node); });
    }
    SUCCEED();
}

TEST(IsoCorpusMalformed, EveryBrokenImageIsSurvived)
{
    const fs::path folder = TestData("iso9660/malformed");
    if (!fs::exists(folder))
        GTEST_SKIP() << "no test corpus";
    for (const auto& entry : fs::directory_iterator(folder)) {
        ExplorerHarness h(entry.path());
        h.Show();
        ForEachNode(h.tree, FirstFileSystemNode(h.tree), [&](NodeHandle node, int) { h.tree.SelectItem(node); });
        SUCCEED() << entry.path();
    }
}

} // namespace
