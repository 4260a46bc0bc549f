#include "support/CdInfo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// morvik-cli toc lists the tracks cd-info lists, each ending where the
// next begins.
TEST(ImageTocCommand, NeroImagesAgreeWithCdInfo)
{
    if (!HaveTool("cd-info"))
        GTEST_SKIP() << "cd-info missing";
    for (const char* name : {"nrg/libcdio-p1.nrg", "nrg/libcdio-videocd.nrg"}) {
        SCOPED_TRACE(name);
        const std::vector<CdInfoTrack> listed = CdInfoTracks("--nrg-file", TestData(name));
        ASSERT_GE(listed.size(), 2u);
        const CommandResult r = RunCli({"toc", TestData(name).string()});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        std::string expected = "Session Index\tTrack Index\tTrack Type\tStart Pos\tEnd pos\n";
        for (size_t i = 0; i + 1 < listed.size(); ++i) {
            const std::string type = listed[i].type == "audio" ? "AUDIO"
                                     : listed[i].type == "XA"  ? "DATA(Mode2)"
                                                               : "DATA(Mode1)";
            expected += "Session 1\t" + std::to_string(listed[i].number) + "\t" + type + "\t" +
                        std::to_string(listed[i].lsn) + "\t" + std::to_string(listed[i + 1].lsn - 1) + "\n";
        }
        EXPECT_EQ(r.out, expected);
    }
}

TEST(ImageTocCommand, DamagedNeroImageIsNoValidImage)
{
    TempDir dir;
    std::string bytes = ReadFile(TestData("nrg/libcdio-p1.nrg"));
    bytes[bytes.size() - 5] = char(0x7F); // the footer's offset points past the end
    WriteFile(dir / "bad.nrg", bytes);
    const CommandResult r = RunCli({"toc", (dir / "bad.nrg").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "This is not valid image File!\n");
}

} // namespace
