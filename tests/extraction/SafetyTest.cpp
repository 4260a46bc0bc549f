#include "extraction/SafeName.h"
#include "extraction/TargetSettling.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

TEST(SafeName, NeverLeavesTheFolder)
{
    EXPECT_EQ(SafeEntryName("README.TXT"), "README.TXT");
    EXPECT_EQ(SafeEntryName(".hidden"), ".hidden");
    EXPECT_EQ(SafeEntryName("../escape"), ".._escape");
    EXPECT_EQ(SafeEntryName("a/b"), "a_b");
    EXPECT_EQ(SafeEntryName(std::string("a\0b", 3)), "a_b");
    EXPECT_EQ(SafeEntryName(""), "_");
    EXPECT_EQ(SafeEntryName("."), "_");
    EXPECT_EQ(SafeEntryName(".."), "_");
    EXPECT_EQ(SafeEntryName("/"), "_");
    EXPECT_EQ(JoinSafe("/dest", ".."), "/dest/_");
    EXPECT_EQ(JoinSafe("/dest/", "x"), "/dest/x");
}

class Settling : public ::testing::Test {
protected:
    void SetUp() override
    {
        // An old tree with a dot-folder, a dot-file and a link out of it.
        fs::create_directories(dir / "target" / ".git" / "objects");
        fs::create_directories(dir / "target" / "sub");
        WriteFile(dir / "target" / ".git" / "objects" / "x", "x");
        WriteFile(dir / "target" / "sub" / ".profile", "p");
        fs::create_directory(dir / "outside");
        WriteFile(dir / "outside" / "keep.txt", "keep");
        fs::create_directory_symlink(dir / "outside", dir / "target" / "sub" / "link");
    }
    TempDir dir;
};

TEST_F(Settling, AgreedDeleteRemovesEverythingButWhatLinksPointAt)
{
    int asked = 0;
    EXPECT_TRUE(SettleExistingTarget((dir / "target").string(), [&] { return ++asked, true; }));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "target")));
    EXPECT_EQ(ReadFile(dir / "outside" / "keep.txt"), "keep");
}

TEST_F(Settling, DeclinedDeleteKeepsTheTarget)
{
    EXPECT_FALSE(SettleExistingTarget((dir / "target").string(), [] { return false; }));
    EXPECT_TRUE(fs::exists(dir / "target" / ".git" / "objects" / "x"));
}

TEST_F(Settling, NothingIsAskedForAFreeTarget)
{
    EXPECT_TRUE(SettleExistingTarget((dir / "free").string(), [] {
        ADD_FAILURE() << "asked for a free target";
        return false;
    }));
}

TEST_F(Settling, ALinkTargetIsRemovedItself)
{
    fs::create_directory_symlink(dir / "outside", dir / "linked");
    EXPECT_TRUE(DeleteRecursively((dir / "linked").string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "linked")));
    EXPECT_EQ(ReadFile(dir / "outside" / "keep.txt"), "keep");
}

} // namespace
