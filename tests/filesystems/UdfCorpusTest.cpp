// Every UDF image of the third-party corpus mounts and lists what 7-Zip and
// udfinfo see in it.
#include "UdfTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;
using namespace udf_test;

namespace {

std::vector<std::filesystem::path> CorpusImages(const TempDir& scratch)
{
    std::vector<std::filesystem::path> images;
    for (const auto& item : std::filesystem::recursive_directory_iterator(TestData("udf"))) {
        const std::filesystem::path& path = item.path();
        if (!item.is_regular_file() || path.filename() == "README.md")
            continue;
        if (path.extension() == ".xz") {
            if (HaveTool("xz"))
                images.push_back(Unxz(path, scratch.Path()));
        } else {
            images.push_back(path);
        }
    }
    std::sort(images.begin(), images.end());
    return images;
}

// udfinfo's "key=value" lines.
std::map<std::string, std::string> UdfInfo(const std::filesystem::path& image)
{
    std::map<std::string, std::string> fields;
    const CommandResult result = RunProgram({"udfinfo", image.string()});
    for (const std::string& line : SplitLines(result.out)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

// The corpus is unpacked once for all its tests.
class UdfCorpus : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(TestData("udf")))
            return;
        scratch = new TempDir;
        images = CorpusImages(*scratch);
    }
    static void TearDownTestSuite()
    {
        delete scratch;
        scratch = nullptr;
        images.clear();
    }
    void SetUp() override
    {
        if (images.empty())
            GTEST_SKIP() << "no test corpus";
    }
    static TempDir* scratch;
    static std::vector<std::filesystem::path> images;
};
TempDir* UdfCorpus::scratch = nullptr;
std::vector<std::filesystem::path> UdfCorpus::images;

TEST_F(UdfCorpus, EveryImageListsWhatSevenZipLists)
{
    if (SevenZipProgram().empty())
        GTEST_SKIP() << "7-Zip missing";
    int compared = 0;
    for (const std::filesystem::path& image : images) {
        SCOPED_TRACE(image.filename().string());
        MountedImage mounted;
        ASSERT_TRUE(mounted.Mount(image));
        const std::vector<std::string> ours = ListTree(mounted.udf, mounted.udf.RootLocation());
        if (const auto theirs = SevenZipTree(image)) {
            EXPECT_EQ(ours, *theirs);
            ++compared;
        }
    }
    // The corpus holds a dozen images 7-Zip reads.
    EXPECT_GE(compared, 10);
}

TEST_F(UdfCorpus, VolumeIdentifierAndBlockSizeAgreeWithUdfinfo)
{
    if (!HaveTool("udfinfo"))
        GTEST_SKIP() << "udfinfo missing";
    for (const std::filesystem::path& image : images) {
        SCOPED_TRACE(image.filename().string());
        const auto info = UdfInfo(image);
        if (!info.count("vid"))
            continue;
        MountedImage mounted;
        ASSERT_TRUE(mounted.Mount(image));
        EXPECT_EQ(mounted.VolumeIdentifier(), info.at("vid"));
        EXPECT_EQ(std::to_string(mounted.udf.GetBlockSize()), info.at("blocksize"));
    }
}

TEST(UdfCorpusFiles, ContentsMatchSevenZipExtraction)
{
    if (SevenZipProgram().empty())
        GTEST_SKIP() << "7-Zip missing";
    const std::filesystem::path image = TestData("udf/libcdio-test-udf1.iso");
    MountedImage mounted;
    ASSERT_TRUE(mounted.Mount(image));
    const auto readme = FindEntry(mounted.udf, mounted.udf.RootLocation(), "README");
    ASSERT_TRUE(readme);
    const CommandResult extracted = RunProgram({SevenZipProgram(), "e", "-so", "-tUdf", image.string(), "README"});
    ASSERT_EQ(extracted.exitCode, 0);
    EXPECT_TRUE(ReadWholeFile(mounted.udf, readme->location) == extracted.out);
}

TEST(UdfCorpusFiles, LaterSessionsOfMultisessionImagesMount)
{
    // Session starts are encoded in the file names (in 2048-byte sectors).
    const struct {
        const char* image;
        int32_t start;
        const char* label;
    } sessions[] = {
        {"udf/util-linux-udf-multi-0-320-640-mkudffs.img", 320, "second session"},
        {"udf/util-linux-udf-multi-0-320-640-mkudffs.img", 640, "third session"},
        {"udf/util-linux-udf-multi-0-417-834-genisoimage.img", 417, "second session"},
        {"udf/util-linux-udf-multi-0-417-834-genisoimage.img", 834, "third session"},
    };
    for (const auto& session : sessions) {
        SCOPED_TRACE(session.image + std::string(" @") + std::to_string(session.start));
        MountedImage mounted;
        ASSERT_TRUE(mounted.Mount(TestData(session.image), session.start));
        EXPECT_EQ(mounted.VolumeIdentifier(), session.label);
    }
}

} // namespace
