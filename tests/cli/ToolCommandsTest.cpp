#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class ToolCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        WriteFile(dir / "readme.txt", std::string(5000, 'A'));
        ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-J", "-V", "TOOLS", "-o", image, (dir / "readme.txt").string()})
                      .exitCode,
                  0);
    }
    TempDir dir;
    const std::string image = (dir / "disc.iso").string();
};

TEST_F(ToolCommands, SectorPrintsTheViewersLines)
{
    const CommandResult raw = RunCli({"sector", image, "16"});
    ASSERT_EQ(raw.exitCode, 0) << raw.err;
    const auto lines = SplitLines(raw.out);
    ASSERT_EQ(lines.size(), 2u + 147u);
    EXPECT_EQ(lines[0], "    |   0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  | ");
    EXPECT_EQ(lines[1], std::string(74, '-'));
    // Sync, header of sector 16 (00:02:16, Mode 1), then the descriptor.
    EXPECT_EQ(lines[2], "   0|  00 FF FF FF FF FF FF FF FF FF FF 00 00 02 16 01  |                ");
    EXPECT_EQ(lines[3].substr(0, 25), "  10|  01 43 44 30 30 31 ");
    EXPECT_EQ(lines[3].substr(57, 6), " CD001");
    EXPECT_EQ(lines.back().substr(0, 5), " 920|");

    const CommandResult cooked = RunCli({"sector", image, "16", "--cooked"});
    ASSERT_EQ(cooked.exitCode, 0);
    const auto cookedLines = SplitLines(cooked.out);
    ASSERT_EQ(cookedLines.size(), 2u + 128u);
    EXPECT_EQ(cookedLines[2].substr(0, 25), "   0|  01 43 44 30 30 31 ");
}

TEST_F(ToolCommands, SectorRefusesNegativeNumbersAndSilentOverwrites)
{
    const CommandResult negative = RunCli({"sector", image, "-1"});
    EXPECT_EQ(negative.exitCode, 1);
    EXPECT_EQ(negative.out, "");

    const auto saved = dir / "Sector.dat";
    ASSERT_EQ(RunCli({"sector", image, "16", "--cooked", "--save", saved.string()}).exitCode, 0);
    EXPECT_EQ(ReadFile(saved).size(), 2352u);
    EXPECT_EQ(ReadFile(saved).substr(1, 5), "CD001");
    EXPECT_EQ(ReadFile(saved).substr(2048), std::string(304, '\0'));

    const CommandResult refused = RunCli({"sector", image, "17", "--save", saved.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(ReadFile(saved).substr(1, 5), "CD001");

    ASSERT_EQ(RunCli({"sector", image, "16", "--save", saved.string(), "--yes"}).exitCode, 0);
    EXPECT_EQ(ReadFile(saved).size(), 2352u);
    EXPECT_EQ(ReadFile(saved).substr(17, 5), "CD001"); // raw now: after sync and header

    EXPECT_EQ(RunCli({"sector", image}).exitCode, 2);
    EXPECT_EQ(RunCli({"sector", image, "16", "--bogus"}).exitCode, 2);
}

TEST_F(ToolCommands, ScanOfAHealthyImageListsNothing)
{
    const CommandResult scan = RunCli({"scan", image});
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(scan.out, "Sector\tSenseKey\tASC\tASCQ\n");
    EXPECT_NE(scan.err.find("100%"), std::string::npos);
    EXPECT_EQ(RunCli({"scan", (dir / "missing.iso").string()}).exitCode, 1);
}

TEST_F(ToolCommands, CapsOfAnImage)
{
    const CommandResult caps = RunCli({"caps", image});
    ASSERT_EQ(caps.exitCode, 0);
    const auto lines = SplitLines(caps.out);
    ASSERT_EQ(lines.size(), 1u + 29u);
    EXPECT_EQ(lines[0], "Support\tDevice Parameter");
    EXPECT_EQ(lines[1], "\t<General Features>");
    EXPECT_EQ(lines[11], "\t");
    EXPECT_EQ(lines[13], "Yes\tCD_R ReadSupport");
    EXPECT_EQ(lines[23], "No\tCD_R WriteSupport");
}

} // namespace
