#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

TEST(TocCommand, PrintsTheTableOfContents)
{
    const CommandResult r = RunCli({"toc", TestData("cue-toc/libcdio/p1.cue").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Session Index\tTrack Index\tTrack Type\tStart Pos\tEnd pos\n"
                     "Session 1\t1\tAUDIO\t75\t224\n"
                     "Session 1\t2\tAUDIO\t225\t301\n");
    EXPECT_EQ(r.err, "");
}

TEST(TocCommand, MultiSessionSheet)
{
    TempDir dir;
    WriteFile(dir / "one.bin", ReadFile(TestData("cue-toc/libcdio/isofs-m1.bin")));
    WriteFile(dir / "two.bin", ReadFile(TestData("cue-toc/libcdio/cdda.bin")));
    WriteFile(dir / "disc.cue", "REM SESSION 01\nFILE \"two.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                "REM SESSION 02\nFILE \"one.bin\" BINARY\n  TRACK 02 MODE1/2352\n"
                                "    INDEX 01 00:00:00\n");
    const CommandResult r = RunCli({"toc", (dir / "disc.cue").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Session Index\tTrack Index\tTrack Type\tStart Pos\tEnd pos\n"
                     "Session 1\t1\tAUDIO\t0\t301\n"
                     "Session 2\t2\tDATA(Mode1)\t11702\t12003\n");
}

TEST(TocCommand, LargePlainImageIsADvdListedFromTrackInformation)
{
    if (!HaveTool("genisoimage"))
        GTEST_SKIP() << "genisoimage missing";
    TempDir dir;
    WriteFile(dir / "a.txt", "dvd");
    ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-o", (dir / "dvd.iso").string(), (dir / "a.txt").string()})
                  .exitCode,
              0);
    // Longer than any CD; sparse, so it costs no disk.
    const int sectors = 100 * 60 * 75;
    std::filesystem::resize_file(dir / "dvd.iso", uint64_t(sectors) * 2048);
    const CommandResult r = RunCli({"toc", (dir / "dvd.iso").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Session Index\tTrack Index\tTrack Type\tStart Pos\tEnd pos\n"
                     "1\t1\tDATA\t0\t" + std::to_string(sectors - 1) + "\n");
}

TEST(TocCommand, RefusesWhatIsNoImage)
{
    for (const std::string bad : {"cue-toc/libcdio/bad-msf-1.cue", "cue-toc/libcdio/bad-file.toc",
                                  "iso9660/malformed/libcdio-malformed.iso", "no/such/file.iso"}) {
        const CommandResult r = RunCli({"toc", TestData(bad).string()});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_EQ(r.err, "This is not valid image File!\n") << bad;
        EXPECT_EQ(r.out, "") << bad;
    }
}

TEST(TocCommand, UsageErrors)
{
    EXPECT_EQ(RunCli({"toc"}).exitCode, 2);
    EXPECT_EQ(RunCli({"toc", "a.cue", "b.cue"}).exitCode, 2);
    EXPECT_EQ(RunCli({"toc", "--bogus", "a.cue"}).exitCode, 2);
}

} // namespace
