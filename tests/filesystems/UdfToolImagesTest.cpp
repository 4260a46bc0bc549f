// UDF volumes made at test time by mkudffs, genisoimage and pycdlib mount
// through the image entry, and list what the tools put there.
#include "UdfTestSupport.h"
#include "explorer/MemoryControls.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;
using namespace udf_test;

namespace {

struct MkudffsCase {
    const char* media;
    const char* revision;
    uint32_t blockSize;
    int kind;
    uint16_t revisionCode;
};

std::string CaseName(const ::testing::TestParamInfo<MkudffsCase>& info)
{
    std::string name = std::string(info.param.media) + "_" + info.param.revision + "_" +
                       std::to_string(info.param.blockSize);
    std::replace(name.begin(), name.end(), '.', '_');
    return name;
}

class MkudffsVolume : public ::testing::TestWithParam<MkudffsCase> {};

TEST_P(MkudffsVolume, MountsWithItsLabelKindAndRevision)
{
    if (!HaveTool("mkudffs"))
        GTEST_SKIP() << "mkudffs missing";
    const MkudffsCase& c = GetParam();
    TempDir dir;
    const std::string label = std::string("Vol_") + c.media + "_" + c.revision;
    const std::filesystem::path image = dir / "volume.img";
    const CommandResult made = RunProgram({"mkudffs", "--new-file", "-m", c.media, "-r", c.revision, "-b",
                                           std::to_string(c.blockSize), "--label=" + label, image.string(),
                                           std::to_string(4 * 1024 * 1024 / c.blockSize)});
    ASSERT_EQ(made.exitCode, 0) << made.err;

    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(image));
    EXPECT_EQ(mounted.VolumeIdentifier(), label);
    EXPECT_EQ(mounted.udf.GetPartitionKind(), c.kind);
    EXPECT_EQ(mounted.udf.GetBlockSize(), c.blockSize);
    EXPECT_EQ(mounted.udf.GetUdfRevision(), c.revisionCode);
    EXPECT_EQ(mounted.udf.GetVatFilePath().empty(), c.kind != CAnaly_UDF::kVirtual);

    // mkudffs leaves the root empty, but for the file that marks a sparable
    // volume's spare space on UDF 1.50; udfinfo counts what is there.
    const std::vector<std::string> listed = ListTree(mounted.udf, mounted.udf.RootLocation());
    if (const auto theirs = SevenZipTree(image)) {
        EXPECT_EQ(listed, *theirs);
    }
    const CommandResult info = RunProgram({"udfinfo", image.string()});
    for (const std::string& line : SplitLines(info.out)) {
        if (line.rfind("numfiles=", 0) == 0) {
            EXPECT_EQ(std::to_string(listed.size()), line.substr(9));
        }
    }

    MemoryList list;
    mounted.udf.FillList(list, mounted.udf.RootLocation());
    ASSERT_EQ(list.GetColumnCount(), 5);
    EXPECT_EQ(list.GetRowCount(), int(listed.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Media, MkudffsVolume,
    ::testing::Values(MkudffsCase{"hd", "1.02", 2048, CAnaly_UDF::kPlain, 0x0102},
                      MkudffsCase{"hd", "1.50", 2048, CAnaly_UDF::kPlain, 0x0150},
                      MkudffsCase{"hd", "2.01", 2048, CAnaly_UDF::kPlain, 0x0201},
                      MkudffsCase{"hd", "2.01", 512, CAnaly_UDF::kPlain, 0x0201},
                      MkudffsCase{"hd", "2.01", 1024, CAnaly_UDF::kPlain, 0x0201},
                      MkudffsCase{"hd", "2.01", 4096, CAnaly_UDF::kPlain, 0x0201},
                      MkudffsCase{"cdr", "1.50", 2048, CAnaly_UDF::kVirtual, 0x0150},
                      MkudffsCase{"cdr", "2.01", 2048, CAnaly_UDF::kVirtual, 0x0201},
                      MkudffsCase{"cdr", "2.50", 2048, CAnaly_UDF::kVirtual, 0x0250},
                      MkudffsCase{"bdr", "2.50", 2048, CAnaly_UDF::kVirtual, 0x0250},
                      MkudffsCase{"cdrw", "1.50", 2048, CAnaly_UDF::kSparable, 0x0150},
                      MkudffsCase{"cdrw", "2.01", 2048, CAnaly_UDF::kSparable, 0x0201},
                      MkudffsCase{"dvdrw", "2.01", 2048, CAnaly_UDF::kSparable, 0x0201}),
    CaseName);

// The tree both tools are fed: empty and sector-edge file sizes, nested and
// non-ASCII names.
const std::map<std::string, std::string>& SampleFiles()
{
    static const std::map<std::string, std::string> files = {
        {"empty.bin", ""},
        {"s2047.bin", std::string(2047, 'a')},
        {"s2048.bin", std::string(2048, 'b')},
        {"s2049.bin", std::string(2049, 'c')},
        {"docs/readme.txt", "read me\n"},
        {"docs/deeper/nested/leaf.dat", std::string(70000, 'x') + "end"},
        {"Été Жук.txt", "non-ASCII name"},
    };
    return files;
}

class ToolImage : public ::testing::Test {
protected:
    // Checks the listing against 7-Zip and every sample file's contents.
    void CheckImage(const std::filesystem::path& image)
    {
        MountedImage mounted;
        ASSERT_TRUE(mounted.Mount(image));
        const std::vector<std::string> listed = ListTree(mounted.udf, mounted.udf.RootLocation());
        if (const auto theirs = SevenZipTree(image)) {
            EXPECT_EQ(listed, *theirs);
        }
        for (const auto& [path, data] : SampleFiles()) {
            SCOPED_TRACE(path);
            uint64_t folder = mounted.udf.RootLocation();
            std::optional<UdfDirEntry> entry;
            size_t start = 0;
            for (size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1) {
                entry = FindEntry(mounted.udf, folder, path.substr(start, slash - start));
                ASSERT_TRUE(entry && entry->isFolder);
                folder = entry->location;
            }
            entry = FindEntry(mounted.udf, folder, path.substr(start));
            ASSERT_TRUE(entry);
            EXPECT_EQ(entry->size, data.size());
            EXPECT_TRUE(ReadWholeFile(mounted.udf, entry->location) == data);
        }
    }
    void WriteSamples(const std::filesystem::path& root)
    {
        for (const auto& [path, data] : SampleFiles()) {
            std::filesystem::create_directories((root / path).parent_path());
            WriteFile(root / path, data);
        }
    }
    TempDir dir;
};

TEST_F(ToolImage, GenisoimageUdf102)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    WriteSamples(dir / "tree");
    const std::filesystem::path image = dir / "bridge.iso";
    const CommandResult made = RunProgram({"genisoimage", "-quiet", "-udf", "-J", "-R", "-V", "BRIDGE", "-o",
                                           image.string(), (dir / "tree").string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    CheckImage(image);
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(image));
    EXPECT_EQ(mounted.drive.JudgeFileSystem(0), 3);
    EXPECT_EQ(mounted.udf.GetUdfRevision(), 0x0102);
    EXPECT_EQ(mounted.VolumeIdentifier(), "BRIDGE");
}

// pycdlib writes UDF 2.60; the script gets the sample tree and a folder of
// 3,000 entries that spans many sectors.
TEST_F(ToolImage, PycdlibUdf260)
{
    const std::string python = PythonWithPycdlib();
    if (python.empty())
        GTEST_SKIP() << "pycdlib missing";
    std::string script = "import pycdlib, io, sys\n"
                         "iso = pycdlib.PyCdlib()\n"
                         "iso.new(udf='2.60', interchange_level=3, vol_ident='PYVOL')\n"
                         "made = set()\n"
                         "def folder(path):\n"
                         "    if path in made or path == '': return\n"
                         "    folder(path.rsplit('/', 1)[0] if '/' in path else '')\n"
                         "    iso.add_directory(udf_path='/' + path)\n"
                         "    made.add(path)\n"
                         "iso.add_directory(udf_path='/many')\n"
                         "for i in range(3000):\n"
                         "    iso.add_fp(io.BytesIO(b''), 0, udf_path='/many/entry_%04d.txt' % i)\n";
    int n = 0;
    for (const auto& [path, data] : SampleFiles()) {
        const std::string file = (dir / ("sample" + std::to_string(n++))).string();
        WriteFile(file, data);
        const size_t slash = path.rfind('/');
        if (slash != std::string::npos)
            script += "folder('" + path.substr(0, slash) + "')\n";
        script += "iso.add_fp(open('" + file + "', 'rb'), " + std::to_string(data.size()) + ", udf_path='/" + path +
                  "')\n";
    }
    const std::filesystem::path image = dir / "py.iso";
    script += "iso.write('" + image.string() + "')\n";
    WriteFile(dir / "make.py", script);
    const CommandResult made = RunProgram({python, (dir / "make.py").string()});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    CheckImage(image);

    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(image));
    const auto many = FindEntry(mounted.udf, mounted.udf.RootLocation(), "many");
    ASSERT_TRUE(many);
    std::vector<UdfDirEntry> entries;
    EXPECT_TRUE(mounted.udf.ReadDirectory(many->location, entries));
    ASSERT_EQ(entries.size(), 3000u);
    EXPECT_EQ(entries.front().name, "entry_0000.txt");
    EXPECT_EQ(entries.back().name, "entry_2999.txt");
}

// The probe's road: the image entry, the tree and the list controls.
TEST_F(ToolImage, FillsTreeAndListThroughTheImageEntry)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    WriteSamples(dir / "tree");
    const std::filesystem::path image = dir / "bridge.iso";
    ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-udf", "-o", image.string(), (dir / "tree").string()}).exitCode, 0);
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(image));

    MemoryTree tree;
    const NodeHandle track = tree.InsertNode(kNoNode, "DATA TRACK 1(UDF&ISO)", 4, 4, 0);
    ASSERT_EQ(mounted.udf.FillTree(tree, track), 0);
    EXPECT_EQ(tree.GetItemData(track), mounted.udf.RootLocation());
    std::vector<std::string> folders;
    ForEachNode(tree, tree.GetChildNode(track), [&](NodeHandle node, int) {
        folders.push_back(NodePath(tree, node));
        EXPECT_EQ(tree.GetItemImage(node), 0);
        EXPECT_EQ(tree.GetItemSelectedImage(node), 1);
    });
    EXPECT_EQ(folders, (std::vector<std::string>{"DATA TRACK 1(UDF&ISO)/docs", "DATA TRACK 1(UDF&ISO)/docs/deeper",
                                                 "DATA TRACK 1(UDF&ISO)/docs/deeper/nested"}));

    MemoryList list;
    mounted.udf.FillList(list, tree.GetItemData(track));
    ASSERT_EQ(list.GetColumnCount(), 5);
    const char* headers[] = {"Name", "TIME", "TYPE", "SIZE", "POS"};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(list.GetColumnHeader(c), headers[c]);
        EXPECT_EQ(list.GetColumnWidth(c), 100);
    }
    ASSERT_EQ(list.GetRowCount(), 6);
    for (int row = 0; row < list.GetRowCount(); ++row) {
        const std::string name = list.GetItemText(row, 0);
        SCOPED_TRACE(name);
        const auto entry = FindEntry(mounted.udf, mounted.udf.RootLocation(), name);
        ASSERT_TRUE(entry);
        EXPECT_EQ(list.GetItemText(row, 4), std::to_string(entry->location));
        EXPECT_FALSE(list.GetItemText(row, 1).empty());
        if (entry->isFolder) {
            EXPECT_EQ(list.GetItemText(row, 2), "Folder");
            EXPECT_EQ(list.GetItemImage(row), 0);
            EXPECT_LT(list.GetItemData(row), 5000u);
            EXPECT_EQ(list.GetItemText(row, 3), "");
        } else {
            EXPECT_EQ(list.GetItemText(row, 2), "File");
            EXPECT_EQ(list.GetItemImage(row), 2);
            EXPECT_GE(list.GetItemData(row), 5000u);
            EXPECT_EQ(list.GetItemText(row, 3), std::to_string(entry->size));
        }
    }
}

} // namespace
