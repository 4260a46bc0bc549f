// What selecting and double-clicking do to the list, the list's ordering
// and the NODE paths of the command line.
#include "explorer/NodePaths.h"
#include "support/ExplorerHarness.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class ExplorerList : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directories(dir / "t" / "DOCS" / "SUB");
        WriteFile(dir / "t" / "DOCS" / "NOTE.TXT", "n");
        WriteFile(dir / "t" / "A.TXT", "a");
        WriteFile(dir / "t" / "Z.TXT", "z");
        fs::create_directories(dir / "t" / "BIN");
        harness = std::make_unique<ExplorerHarness>(MakeIso(dir / "t", dir / "d.iso", {"-J"}));
        harness->Show();
    }

    int RowNamed(const std::string& name) const
    {
        for (int r = 0; r < harness->list.GetRowCount(); ++r)
            if (harness->list.GetItemText(r, 0) == name)
                return r;
        return -1;
    }

    TempDir dir;
    std::unique_ptr<ExplorerHarness> harness;
};

TEST_F(ExplorerList, FoldersComeFirstThenNameOrder)
{
    EXPECT_EQ(harness->Column(0), (std::vector<std::string>{"BIN", "DOCS", "A.TXT", "Z.TXT"}));
    EXPECT_EQ(harness->Column(2), (std::vector<std::string>{"Folder", "Folder", "File", "File"}));
    // Item data: folders from 0, files from 5000, in record order.
    EXPECT_LT(harness->list.GetItemData(RowNamed("DOCS")), 5000u);
    EXPECT_GE(harness->list.GetItemData(RowNamed("A.TXT")), 5000u);
}

TEST_F(ExplorerList, SortListIsStableWithinEachType)
{
    MemoryList& list = harness->list;
    list.DeleteAllRows();
    for (const char* name : {"b", "a", "C", "d"}) {
        const int row = list.InsertRow(name, 0, 0);
        list.SetItemText(row, 2, std::string(name) == "a" || std::string(name) == "d" ? "Folder" : "FILE");
    }
    harness->explorer.SortList();
    EXPECT_EQ(harness->Column(0), (std::vector<std::string>{"a", "d", "b", "C"}));
}

TEST_F(ExplorerList, DoubleClickOpensTheFolderOfAFolderRow)
{
    harness->list.SetSelectedRows({RowNamed("A.TXT")});
    harness->explorer.OnListDoubleClick();
    EXPECT_EQ(harness->tree.GetItemText(harness->tree.GetSelectedItem()), "DATA TRACK 1(ISO)");

    harness->list.SetSelectedRows({RowNamed("DOCS")});
    harness->explorer.OnListDoubleClick();
    EXPECT_EQ(NodePath(harness->tree, harness->tree.GetSelectedItem()), "Session 1/DATA TRACK 1(ISO)/DOCS");
    EXPECT_EQ(harness->Column(0), (std::vector<std::string>{"SUB", "NOTE.TXT"}));

    // A folder row without a node of its name changes nothing.
    const int ghost = harness->list.InsertRow("GHOST", 0, 1);
    harness->list.SetItemText(ghost, 2, "Folder");
    harness->list.SetSelectedRows({ghost});
    harness->explorer.OnListDoubleClick();
    EXPECT_EQ(harness->tree.GetItemText(harness->tree.GetSelectedItem()), "DOCS");
}

TEST_F(ExplorerList, NodeFileSystemIsTheTrackAboveTheNode)
{
    const TreeControl& tree = harness->tree;
    EXPECT_EQ(harness->explorer.GetNodeFileSystem(tree, FindNodeByPath(tree, "/DOCS/SUB"), harness->drive.get()), 1);
    EXPECT_EQ(harness->explorer.GetNodeFileSystem(tree, FindNodeByPath(tree, "Session 1"), harness->drive.get()), 0);
    EXPECT_EQ(harness->explorer.GetNodeFileSystem(tree, FindNodeByPath(tree, "/DOCS"), nullptr), 0);
}

TEST_F(ExplorerList, NodePathsInBothStyles)
{
    const TreeControl& tree = harness->tree;
    const NodeHandle track = FindNodeByPath(tree, "Session 1/DATA TRACK 1(ISO)");
    ASSERT_NE(track, kNoNode);
    EXPECT_EQ(FindNodeByPath(tree, "/"), track);
    EXPECT_EQ(FirstFileSystemNode(tree), track);
    const NodeHandle sub = FindNodeByPath(tree, "/DOCS/SUB");
    ASSERT_NE(sub, kNoNode);
    EXPECT_EQ(FindNodeByPath(tree, "Session 1/DATA TRACK 1(ISO)/DOCS/SUB/"), sub);
    EXPECT_EQ(FormatNodePath(tree, sub, true), "/DOCS/SUB");
    EXPECT_EQ(FormatNodePath(tree, track, true), "/");
    EXPECT_EQ(FormatNodePath(tree, sub, false), "Session 1/DATA TRACK 1(ISO)/DOCS/SUB");
    EXPECT_EQ(FindNodeByPath(tree, "/DOCS/NOTE.TXT"), kNoNode); // files have no nodes
    EXPECT_EQ(FindNodeByPath(tree, "Session 2"), kNoNode);
    EXPECT_EQ(FindNodeByPath(tree, ""), kNoNode);
}

TEST(NodePathsWithoutFileSystem, SlashPathsFindNothing)
{
    MemoryTree tree;
    const NodeHandle session = tree.InsertNode(kNoNode, "Session 1", 0, 1);
    tree.InsertNode(session, "AUDIO TRACK 1", 3, 3);
    EXPECT_EQ(FirstFileSystemNode(tree), kNoNode);
    EXPECT_EQ(FindNodeByPath(tree, "/"), kNoNode);
    EXPECT_NE(FindNodeByPath(tree, "Session 1/AUDIO TRACK 1"), kNoNode);
}

} // namespace
