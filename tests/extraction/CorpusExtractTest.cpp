// Every ISO 9660 and UDF image of the corpus, extracted by morvik-cli, must
// give the tree that 7-Zip or bsdtar give: same folders, same bytes.
#include "ExtractionFixtures.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace fs = std::filesystem;
using namespace testing_support;
using namespace extraction_test;

namespace {

// The image ready to open: unpacked into scratch when it is compressed.
fs::path Unpacked(const fs::path& image, const fs::path& scratch)
{
    const std::string name = image.filename().string();
    auto unpack = [&](const char* tool, const std::string& plain) {
        const fs::path out = scratch / plain;
        const CommandResult r = RunProgram({"sh", "-c", std::string(tool) + " -dc '" + image.string() + "' > '" +
                                                          out.string() + "'"});
        return r.exitCode == 0 ? out : fs::path();
    };
    if (image.extension() == ".xz")
        return unpack("xz", image.stem().string());
    if (image.extension() == ".Z")
        return unpack("gzip", image.stem().string());
    return image;
}

std::optional<std::map<std::string, std::string>> ToolTree(const std::vector<std::string>& argv, const fs::path& out)
{
    fs::create_directories(out);
    std::vector<std::string> command = {"timeout", "20"};
    command.insert(command.end(), argv.begin(), argv.end());
    if (RunProgram(command).exitCode != 0)
        return std::nullopt;
    auto tree = DescribeTree(out);
    if (tree.empty())
        return std::nullopt;
    return tree;
}

// Primary-volume names are upper case by the standard, while the tools show
// Rock Ridge names where an image has them: names compare without case.
std::map<std::string, std::string> Folded(const std::map<std::string, std::string>& tree)
{
    std::map<std::string, std::string> folded;
    for (const auto& [path, sum] : tree) {
        std::string lower = path;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        folded[lower] = sum;
    }
    return folded;
}

struct Extractions {
    std::map<std::string, std::string> ours; // below the one folder named after the track
    std::vector<std::map<std::string, std::string>> references;
};

// Extracts the image with morvik-cli and with every reference tool that can.
void ExtractAll(const std::string& corpusPath, const fs::path& scratch, Extractions& result)
{
    const fs::path source = TestData(corpusPath);
    if (!fs::exists(source))
        GTEST_SKIP() << "not in the corpus";
    const fs::path image = Unpacked(source, scratch);
    ASSERT_FALSE(image.empty());
    if (HaveTool("7zz"))
        if (auto tree = ToolTree({"7zz", "x", "-y", "-o" + (scratch / "7z").string(), image.string()}, scratch / "7z"))
            result.references.push_back(Folded(*tree));
    if (HaveTool("bsdtar"))
        if (auto tree = ToolTree({"bsdtar", "-xf", image.string(), "-C", (scratch / "bsdtar").string()},
                                 scratch / "bsdtar"))
            result.references.push_back(Folded(*tree));
    if (result.references.empty())
        GTEST_SKIP() << "neither 7-Zip nor bsdtar extracts this image";

    fs::create_directory(scratch / "ours");
    const CommandResult ours = RunCli({"extract", image.string(), "/", (scratch / "ours").string()});
    ASSERT_EQ(ours.exitCode, 0) << ours.err;
    // The whole file system lies in one folder named after the track node.
    std::vector<fs::path> top;
    for (const auto& entry : fs::directory_iterator(scratch / "ours"))
        top.push_back(entry.path());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].filename().string().rfind("DATA TRACK 1", 0), 0u) << top[0];
    result.ours = Folded(DescribeTree(top[0]));
}

class CorpusImage : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusImage, ExtractsAsSevenZipOrBsdtar)
{
    TempDir dir;
    Extractions result;
    ExtractAll(GetParam(), dir.Path(), result);
    if (IsSkipped() || HasFatalFailure())
        return;
    bool matched = false;
    for (const auto& reference : result.references)
        matched = matched || result.ours == reference;
    EXPECT_TRUE(matched) << "no reference tool agrees";
    if (!matched)
        for (const auto& [path, sum] : result.ours)
            ADD_FAILURE() << path << " " << sum;
}

// Images with Rock Ridge but no Joliet: the tools show the Rock Ridge names,
// links and relocated folders, which the explorer does not read. Every
// regular file the tools give must still come out byte for byte; what we
// write beyond that is only the empty data of the links.
class RockRidgeImage : public ::testing::TestWithParam<std::string> {};

TEST_P(RockRidgeImage, HoldsEveryFileTheToolsExtract)
{
    TempDir dir;
    Extractions result;
    ExtractAll(GetParam(), dir.Path(), result);
    if (IsSkipped() || HasFatalFailure())
        return;
    const std::string emptySum = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
    // Every regular file of the reference is among ours; the rest of ours is empty.
    auto covers = [&](const std::map<std::string, std::string>& reference) {
        std::multiset<std::string> ours;
        for (const auto& [path, sum] : result.ours)
            if (sum != "dir")
                ours.insert(sum);
        for (const auto& [path, sum] : reference) {
            if (sum == "dir" || sum == "link")
                continue;
            const auto it = ours.find(sum);
            if (it == ours.end())
                return false;
            ours.erase(it);
        }
        return std::all_of(ours.begin(), ours.end(), [&](const std::string& sum) { return sum == emptySum; });
    };
    // The tools disagree among themselves on links and long names.
    EXPECT_TRUE(std::any_of(result.references.begin(), result.references.end(), covers));
}

INSTANTIATE_TEST_SUITE_P(RockRidge, RockRidgeImage,
                         ::testing::Values("iso9660/libarchive-test_read_format_iso_rockridge.iso.Z",
                                           "iso9660/libarchive-test_read_format_iso_rockridge_ce.iso",
                                           "iso9660/libarchive-test_read_format_iso_rockridge_new.iso.Z",
                                           "iso9660/libarchive-test_read_format_iso_xorriso.iso"));

INSTANTIATE_TEST_SUITE_P(
    Iso9660, CorpusImage,
    ::testing::Values("iso9660/libarchive-test_read_format_iso.iso", "iso9660/libarchive-test_read_format_iso_2.iso",
                      "iso9660/libarchive-test_read_format_iso_3.iso",
                      "iso9660/libarchive-test_read_format_iso_joliet.iso",
                      "iso9660/libarchive-test_read_format_iso_joliet_by_nero.iso",
                      "iso9660/libarchive-test_read_format_iso_joliet_long.iso",
                      "iso9660/libarchive-test_read_format_iso_joliet_rockridge.iso",
                      "iso9660/libarchive-test_read_format_iso_multi_extent.iso",
                                                                                        "iso9660/libarchive-test_read_format_iso_rockridge_rr_moved.iso.Z",
                      "iso9660/libcdio-copying-rr.iso",
                      "iso9660/libcdio-copying.iso", "iso9660/libcdio-deep-directory.iso", "iso9660/libcdio-joliet.iso",
                      "iso9660/libcdio-multi_extent_8k.iso", "iso9660/libcdio-multi_extent_8k_joliet.iso",
                      "iso9660/xz/util-linux-iso-different-iso-joliet-label.img.xz",
                      "iso9660/xz/util-linux-iso-joliet.img.xz", "iso9660/xz/util-linux-iso-rr-joliet.img.xz",
                      "iso9660/xz/util-linux-iso-unicode-long-label.img.xz", "iso9660/xz/util-linux-iso.img.xz"));

INSTANTIATE_TEST_SUITE_P(
    Udf, CorpusImage,
    ::testing::Values("udf/libcdio-test-udf1.iso", "udf/libcdio-udf102.iso", "udf/util-linux-udf-bdr-2.60-nero.img",
                      "udf/util-linux-udf-cd-nero-6.img", "udf/generated-mkudffs/udf-bdr-vat-2.50.img",
                      "udf/generated-mkudffs/udf-cdr-vat-1.50.img",
                      "udf/generated-mkudffs/udf-cdrw-sparable-1.50.img.xz",
                      "udf/generated-mkudffs/udf-dvdrw-2.01.img.xz", "udf/xz/util-linux-udf-hdd-mkudffs-2.2.img.xz",
                      "udf/xz/util-linux-udf-hdd-win7.img.xz", "udf/xz/util-linux-udf.img.xz"));

} // namespace
