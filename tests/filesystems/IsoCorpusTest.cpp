// Every ISO 9660 image of the test corpus: each folder and file that
// iso-info lists appears with the same name, size and extent.
#include "explorer/NodePaths.h"
#include "support/ExplorerHarness.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    bool folder = false;
    uint64_t size = 0;
    uint32_t lba = 0;
};
// Folders by the extent of their directory, each with its entries.
using Listing = std::map<uint32_t, std::vector<Entry>>;

// iso-info shows ISO 9660 names in lower case without ";1" or a final dot;
// Joliet names as they are.
std::string Comparable(std::string name, bool joliet)
{
    if (joliet)
        return name;
    if (name.size() >= 2 && name.compare(name.size() - 2, 2, ";1") == 0)
        name.resize(name.size() - 2);
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

Listing IsoInfoListing(const fs::path& image)
{
    const CommandResult run = RunProgram({"iso-info", "--no-header", "--no-rock-ridge", "-l", image.string()});
    static const std::regex entryLine(R"(^\s+([d-])\s+\[LSN\s+(\d+)\]\s+(\d+) \w{3} \d{2} \d{4} [\d:]{8}  (.*)$)");
    Listing listing;
    std::vector<Entry>* folder = nullptr;
    for (const std::string& line : SplitLines(run.out)) {
        std::smatch m;
        if (!std::regex_match(line, m, entryLine))
            continue;
        // iso-info prints extents as signed numbers: keep the recorded 32 bits.
        const uint32_t lba = uint32_t(std::stoull(m[2]));
        if (m[4] == ".") {
            folder = &listing[lba];
        } else if (m[4] != ".." && folder) {
            // The next piece of a multi-extent file: the same name, and every
            // piece before the last fills whole sectors.
            Entry* previous = folder->empty() ? nullptr : &folder->back();
            if (previous && previous->name == m[4] && !previous->folder && previous->size % 2048 == 0) {
                previous->size += std::stoull(m[3]);
                continue;
            }
            folder->push_back({m[4], m[1] == "d", std::stoull(m[3]), lba});
        }
    }
    return listing;
}

Listing ExplorerListing(ExplorerHarness& h)
{
    Listing listing;
    const bool joliet = h.explorer.IsJoliet();
    ForEachNode(h.tree, FirstFileSystemNode(h.tree), [&](NodeHandle node, int) {
        h.tree.SelectItem(node);
        auto& folder = listing[uint32_t(h.tree.GetItemData(node))];
        folder.clear();
        for (const auto& row : h.Rows()) {
            const bool isFolder = row[2] == "Folder";
            folder.push_back({Comparable(row[0], joliet), isFolder, isFolder ? 0 : std::stoull(row[3]),
                              uint32_t(std::stoull(row[4]))});
        }
    });
    return listing;
}

// Every iso-info entry has a row of the same kind, extent and size; and the
// same name, except for Rock Ridge names on a volume without Joliet.
void ExpectSameFolder(const std::vector<Entry>& expected, std::vector<Entry> actual, bool joliet)
{
    ASSERT_EQ(actual.size(), expected.size());
    std::vector<const Entry*> renamed;
    for (const Entry& e : expected) {
        const auto same = std::find_if(actual.begin(), actual.end(), [&](const Entry& a) { return a.name == e.name; });
        if (same == actual.end()) {
            renamed.push_back(&e);
            continue;
        }
        EXPECT_EQ(same->folder, e.folder) << e.name;
        EXPECT_EQ(same->lba, e.lba) << e.name;
        if (!e.folder) {
            EXPECT_EQ(same->size, e.size) << e.name;
        }
        actual.erase(same);
    }
    if (joliet) {
        EXPECT_TRUE(renamed.empty()) << renamed.front()->name;
    }
    for (const Entry* e : renamed) {
        const auto same = std::find_if(actual.begin(), actual.end(), [&](const Entry& a) {
            return a.folder == e->folder && a.lba == e->lba && (e->folder || a.size == e->size);
        });
        ASSERT_NE(same, actual.end()) << e->name;
        actual.erase(same);
    }
}

std::vector<fs::path> CorpusImages(const TempDir& unpacked)
{
    std::vector<fs::path> images;
    for (const auto& entry : fs::directory_iterator(TestData("iso9660"))) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file())
            continue;
        if (entry.path().extension() == ".Z") {
            const fs::path out = unpacked / entry.path().stem().string();
            WriteFile(out, RunProgram({"gzip", "-dc", entry.path().string()}).out);
            images.push_back(out);
        } else {
            images.push_back(entry.path());
        }
    }
    for (const auto& entry : fs::directory_iterator(TestData("iso9660/xz"))) {
        const fs::path out = unpacked / entry.path().stem().string();
        WriteFile(out, RunProgram({"xz", "-dc", entry.path().string()}).out);
        images.push_back(out);
    }
    std::sort(images.begin(), images.end());
    return images;
}

TEST(IsoCorpus, EveryEntryMatchesIsoInfo)
{
    if (!fs::exists(TestData("iso9660")))
        GTEST_SKIP() << "no test corpus";
    if (!HaveTool("iso-info") || !HaveTool("xz") || !HaveTool("gzip"))
        GTEST_SKIP() << "iso-info, xz or gzip missing";
    TempDir unpacked;
    int compared = 0;
    for (const fs::path& image : CorpusImages(unpacked)) {
        SCOPED_TRACE(image.filename().string());
        ExplorerHarness h(image);
        ASSERT_TRUE(h.drive->IsImageEntry());
        h.Show();
        const Listing expected = IsoInfoListing(image);
        const Listing actual = ExplorerListing(h);
        for (const auto& [folder, entries] : expected) {
            SCOPED_TRACE("folder at " + std::to_string(folder));
            const auto found = actual.find(folder);
            ASSERT_NE(found, actual.end());
            ExpectSameFolder(entries, found->second, h.explorer.IsJoliet());
        }
        ++compared;
    }
    EXPECT_GE(compared, 25);
}

} // namespace
