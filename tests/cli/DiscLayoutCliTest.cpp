// tree, ls and volume end to end on discs of several sessions and on UDF
// volumes, all made here.
#include "support/ExplorerHarness.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// CD sessions after the first start behind the previous lead-out, lead-in
// and pregap.
constexpr int kSessionGap = 6750 + 4500 + 150;

TEST(DiscLayoutCli, TwoSessionCueSheet)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    fs::create_directories(dir / "a" / "OLD");
    fs::create_directories(dir / "b" / "NEW");
    WriteFile(dir / "a" / "OLD" / "F.TXT", "first");
    WriteFile(dir / "b" / "NEW" / "G.TXT", "second!");
    ASSERT_FALSE(MakeIso(dir / "a", dir / "s1.iso", {}).empty());
    const int start2 = int(fs::file_size(dir / "s1.iso") / 2048) + kSessionGap;
    ASSERT_FALSE(MakeIso(dir / "b", dir / "s2.iso", {"-C", "0," + std::to_string(start2)}).empty());
    const int end2 = start2 + int(fs::file_size(dir / "s2.iso") / 2048);
    WriteFile(dir / "disc.cue", "FILE \"s1.iso\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n"
                                "REM SESSION 02\n"
                                "FILE \"s2.iso\" BINARY\n  TRACK 02 MODE1/2048\n    INDEX 01 00:00:00\n");
    const std::string cue = (dir / "disc.cue").string();

    const CommandResult tree = RunCli({"tree", cue});
    ASSERT_EQ(tree.exitCode, 0) << tree.err;
    EXPECT_EQ(tree.out, "Session 1\n  DATA TRACK 1(ISO)\n    OLD\nSession 2\n  DATA TRACK 2(ISO)\n    NEW\n"
                        "(Lead Out) " + std::to_string(end2) + "\n");
    // "/" paths lead into the first file system; later ones by node texts.
    EXPECT_NE(RunCli({"ls", cue, "/OLD"}).out.find("F.TXT\t"), std::string::npos);
    const CommandResult second = RunCli({"ls", "-R", cue, "Session 2/DATA TRACK 2(ISO)"});
    EXPECT_NE(second.out.find("Session 2/DATA TRACK 2(ISO)/NEW:\nNAME\tTIME\tTYPE\tSIZE\tPOS\nG.TXT\t"),
              std::string::npos) << second.out;
    EXPECT_NE(second.out.find("\tFile\t7\t"), std::string::npos);
}

TEST(DiscLayoutCli, UdfBesideIso9660)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    fs::create_directories(dir / "t" / "DOCS");
    WriteFile(dir / "t" / "DOCS" / "note.txt", "udf");
    const std::string image = MakeIso(dir / "t", dir / "u.iso", {"-udf", "-V", "UDFVOL"}).string();
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(SplitLines(RunCli({"tree", image}).out)[1], "  DATA TRACK 1(UDF&ISO)");
    const CommandResult ls = RunCli({"ls", image, "/DOCS"});
    EXPECT_NE(ls.out.find("note.txt\t"), std::string::npos) << ls.out;
    EXPECT_EQ(SplitLines(RunCli({"volume", image}).out)[1], "UDF Volume Identifier\tUDFVOL");
}

TEST(DiscLayoutCli, MkudffsVolumesOfEachMediaType)
{
    if (!HaveTool("mkudffs"))
        GTEST_SKIP() << "mkudffs missing";
    TempDir dir;
    struct Volume {
        const char* media;
        const char* revision;
    };
    for (const Volume& v : {Volume{"hd", "1.02"}, Volume{"hd", "2.01"}, Volume{"cdr", "1.50"}, Volume{"cdr", "2.50"},
                            Volume{"cdrw", "1.50"}, Volume{"cdrw", "2.01"}}) {
        const std::string label = std::string("M_") + v.media + "_" + v.revision;
        const fs::path image = dir / (label + ".img");
        ASSERT_EQ(RunProgram({"mkudffs", "--new-file", "--blocksize=2048", std::string("--media-type=") + v.media,
                              std::string("--udfrev=") + v.revision, "--label=" + label, image.string(), "3000"})
                      .exitCode,
                  0)
            << label;
        EXPECT_EQ(SplitLines(RunCli({"tree", image.string()}).out)[1], "  DATA TRACK 1(UDF)") << label;
        const CommandResult root = RunCli({"ls", image.string(), "/"});
        EXPECT_EQ(root.exitCode, 0) << label;
        EXPECT_EQ(SplitLines(root.out)[0], "Name\tTIME\tTYPE\tSIZE\tPOS") << label;
        EXPECT_EQ(SplitLines(RunCli({"volume", image.string()}).out)[1], "UDF Volume Identifier\t" + label);
    }
}

} // namespace
