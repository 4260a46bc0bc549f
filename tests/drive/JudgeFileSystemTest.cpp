#include "drive/CDevCmdROM.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

int Judge(const std::string& relative, int32_t lba = 0)
{
    CDevCmdROM drive;
    if (!drive.SetImageFile(TestData(relative).string()))
        return -1;
    return drive.JudgeFileSystem(lba);
}

TEST(JudgeFileSystem, NamesTheFileSystemsOfATrack)
{
    EXPECT_EQ(Judge("iso9660/libcdio-copying.iso"), 1);
    EXPECT_EQ(Judge("udf/libcdio-test-udf1.iso"), 3);     // ISO 9660 bridge
    EXPECT_EQ(Judge("udf/libcdio-udf102.iso"), 2);        // UDF alone
    EXPECT_EQ(Judge("udf/generated-mkudffs/udf-cdr-vat-1.50.img"), 2);
    EXPECT_EQ(Judge("cue-toc/libcdio/isofs-m1.cue"), 1);  // raw Mode 1 sectors
    EXPECT_EQ(Judge("cue-toc/generated-vcdimager/vcd2-2352.cue"), 1); // Mode 2 Form 1
    EXPECT_EQ(Judge("cue-toc/libcdio/cdda.cue"), 0);      // audio
    EXPECT_EQ(Judge("cue-toc/generated-vcdimager/vcd2-2352.cue", 450), 0); // MPEG track
}

} // namespace
