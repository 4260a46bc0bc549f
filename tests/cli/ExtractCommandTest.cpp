#include "common/StringTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

std::map<std::string, std::string> Files(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[fs::relative(entry.path(), root).string()] = entry.is_directory() ? "/" : ReadFile(entry.path());
    return files;
}

class ExtractCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage"))
            GTEST_SKIP() << "genisoimage missing";
        fs::create_directories(dir / "src" / "DOCS" / "SUB");
        WriteFile(dir / "src" / "DOCS" / "README.TXT", "read me\n");
        WriteFile(dir / "src" / "DOCS" / "SUB" / "DEEP.BIN", std::string(5000, 'd'));
        WriteFile(dir / "src" / "TOP.TXT", "top");
        ASSERT_EQ(RunProgram({"genisoimage", "-quiet", "-J", "-o", image.string(), (dir / "src").string()}).exitCode,
                  0);
        fs::create_directory(dest);
    }
    TempDir dir;
    fs::path image = dir / "disc.iso";
    fs::path dest = dir / "dest";
};

TEST_F(ExtractCommand, DataTrackNodeGivesTheWholeFileSystemInOneFolder)
{
    const CommandResult r = RunCli({"extract", image.string(), "/", dest.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("100%"), std::string::npos);
    std::vector<fs::path> top;
    for (const auto& entry : fs::directory_iterator(dest))
        top.push_back(entry.path());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].filename().string().rfind("DATA TRACK 1", 0), 0u);
    EXPECT_EQ(Files(top[0]), Files(dir / "src"));
}

TEST_F(ExtractCommand, FolderAndFileNodes)
{
    ASSERT_EQ(RunCli({"extract", image.string(), "/DOCS", dest.string()}).exitCode, 0);
    EXPECT_EQ(Files(dest / "DOCS"), Files(dir / "src" / "DOCS"));
    ASSERT_EQ(RunCli({"extract", image.string(), "/DOCS/SUB/DEEP.BIN", dest.string()}).exitCode, 0);
    EXPECT_EQ(ReadFile(dest / "DEEP.BIN"), std::string(5000, 'd'));
    EXPECT_NE(RunCli({"extract", image.string(), "/NOPE", dest.string()}).exitCode, 0);
    EXPECT_NE(RunCli({"extract", image.string(), "/DOCS", (dir / "missing").string()}).exitCode, 0);
}

TEST_F(ExtractCommand, ExistingTargetIsReplacedOnlyWithYes)
{
    fs::create_directories(dest / "DOCS" / ".hidden");
    WriteFile(dest / "DOCS" / "OLD.TXT", "old");
    const CommandResult refused = RunCli({"extract", image.string(), "/DOCS", dest.string()});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find(StringTable::Text(StringTable::AlreadyExists)), std::string::npos);
    EXPECT_EQ(ReadFile(dest / "DOCS" / "OLD.TXT"), "old");
    ASSERT_EQ(RunCli({"extract", image.string(), "/DOCS", dest.string(), "--yes"}).exitCode, 0);
    EXPECT_EQ(Files(dest / "DOCS"), Files(dir / "src" / "DOCS"));
}

} // namespace
