// morvik-cli tree, ls and volume on images built here.
#include "support/ExplorerHarness.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

class TreeLsVolume : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directories(dir / "t" / "DOCS" / "SUB");
        WriteFile(dir / "t" / "DOCS" / "SUB" / "DEEP.TXT", "deep");
        WriteFile(dir / "t" / "README.TXT", "hello");
        image = MakeIso(dir / "t", dir / "disc.iso", {"-V", "CLI_TEST", "-A", "MORVIK"}).string();
        ASSERT_FALSE(image.empty());
        sectors = std::to_string(fs::file_size(image) / 2048);
    }

    // Every line, with the TIME column (the clock of the build) blanked.
    static std::vector<std::string> WithoutTimes(const std::string& out)
    {
        std::vector<std::string> lines;
        for (std::string line : SplitLines(out)) {
            const size_t first = line.find('\t');
            const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
            if (second != std::string::npos && line.compare(first + 1, 4, "TIME") != 0)
                line.replace(first + 1, second - first - 1, "T");
            lines.push_back(line);
        }
        return lines;
    }

    TempDir dir;
    std::string image;
    std::string sectors;
};

TEST_F(TreeLsVolume, TreeIndentsTwoSpacesALevel)
{
    const CommandResult run = RunCli({"tree", image});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Session 1\n  DATA TRACK 1(ISO)\n    DOCS\n      SUB\n(Lead Out) " + sectors + "\n");
}

TEST_F(TreeLsVolume, LsListsTheSelectedNodeOrANode)
{
    const CommandResult root = RunCli({"ls", image});
    EXPECT_EQ(root.exitCode, 0) << root.err;
    const auto lines = WithoutTimes(root.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "NAME\tTIME\tTYPE\tSIZE\tPOS");
    EXPECT_EQ(lines[1].rfind("DOCS\tT\tFolder\t\t", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("README.TXT\tT\tFile\t5\t", 0), 0u) << lines[2];

    EXPECT_EQ(RunCli({"ls", image, "/"}).out, root.out);
    const CommandResult sub = RunCli({"ls", image, "Session 1/DATA TRACK 1(ISO)/DOCS/SUB"});
    EXPECT_EQ(sub.exitCode, 0);
    EXPECT_EQ(WithoutTimes(sub.out)[1].rfind("DEEP.TXT\tT\tFile\t4\t", 0), 0u);
    EXPECT_EQ(RunCli({"ls", image, "/DOCS/SUB"}).out, sub.out);

    const CommandResult session = RunCli({"ls", image, "Session 1"});
    EXPECT_EQ(session.out, "NAME\tTIME\tTYPE\tSIZE\tPOS\n"); // emptied, columns kept
    EXPECT_EQ(RunCli({"ls", image, "/NOPE"}).exitCode, 1);
    EXPECT_EQ(RunCli({"ls"}).exitCode, 2);
}

TEST_F(TreeLsVolume, RecursiveBlocksInTreeOrder)
{
    const auto slash = WithoutTimes(RunCli({"ls", "-R", image, "/"}).out);
    const std::vector<std::string> headings = {"/:", "/DOCS:", "/DOCS/SUB:"};
    std::vector<std::string> seen;
    for (size_t i = 0; i < slash.size(); ++i)
        if (!slash[i].empty() && slash[i].back() == ':') {
            seen.push_back(slash[i]);
            EXPECT_EQ(slash[i + 1], "NAME\tTIME\tTYPE\tSIZE\tPOS");
            EXPECT_TRUE(i == 0 || slash[i - 1].empty());
        }
    EXPECT_EQ(seen, headings);
    EXPECT_TRUE(slash.back().empty());

    const CommandResult named = RunCli({"ls", "-R", image, "Session 1"});
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_NE(named.out.find("\nSession 1/DATA TRACK 1(ISO)/DOCS/SUB:\nNAME"), std::string::npos);
    EXPECT_EQ(named.out.rfind("Session 1:\n", 0), 0u);
}

TEST_F(TreeLsVolume, VolumeShowsThePrimaryDescriptor)
{
    const CommandResult run = RunCli({"volume", image});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto lines = SplitLines(run.out);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Volume Descriptor\tInfomation");
    EXPECT_EQ(lines[1], "Standard Identifier\tCD001");
    EXPECT_EQ(lines[2].rfind("ISO Volume Identifier\tCLI_TEST ", 0), 0u);
    EXPECT_EQ(lines[3], "Volume Space Size\t" + sectors);
    EXPECT_EQ(lines[6].rfind("Application Identifier\tMORVIK ", 0), 0u);
}

TEST(TreeLsVolumeErrors, NoImage)
{
    TempDir dir;
    WriteFile(dir / "x.txt", std::string(4096, 'x'));
    const CommandResult run = RunCli({"tree", (dir / "x.txt").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "This is not valid image File!\n");
}

} // namespace
