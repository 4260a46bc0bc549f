// Real-world CUE and cdrdao sheets (rips by EAC, cdrdao, whipper) whose
// audio is not in the corpus: their data files are stood in for by sparse
// files just long enough for every position the sheet names.
#include "drive/CDevCmdROM.h"
#include "support/DiscImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

int Frames(const std::string& msf)
{
    int m = 0, s = 0, f = 0;
    return std::sscanf(msf.c_str(), "%d:%d:%d", &m, &s, &f) == 3 ? (m * 60 + s) * 75 + f : 0;
}

std::string LastComponent(const std::string& name)
{
    const size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Sectors each named file must hold: some way past the furthest position
// the sheet gives in it (TOC indexes count from the track, so more there).
std::map<std::string, int> NeededSectors(const std::string& sheet, int margin)
{
    std::map<std::string, int> needed;
    const std::regex file(R"re((FILE|AUDIOFILE|DATAFILE)\s+"([^"]+)"((\s+[0-9:]+)*))re");
    const std::regex index(R"(INDEX\s+\d+\s+(\d+:\d+:\d+))");
    std::string current;
    for (const std::string& line : SplitLines(sheet)) {
        std::smatch m;
        if (std::regex_search(line, m, file)) {
            current = LastComponent(m[2]);
            int end = 0;
            std::istringstream positions(m[3].str());
            for (std::string p; positions >> p;)
                end += p.find(':') != std::string::npos ? Frames(p) : std::stoi(p) / 588;
            needed[current] = std::max(needed[current], end);
        } else if (std::regex_search(line, m, index) && !current.empty()) {
            needed[current] = std::max(needed[current], Frames(m[1]));
        }
    }
    for (auto& [name, sectors] : needed)
        sectors += margin;
    return needed;
}

TEST(RealSheets, OpenWithStandInData)
{
    int opened = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TestData("sheets-only"))) {
        const fs::path sheet = entry.path();
        if (sheet.extension() != ".cue" && sheet.extension() != ".toc")
            continue;
        TempDir dir;
        const std::string text = ReadFile(sheet);
        for (const auto& [name, sectors] : NeededSectors(text, sheet.extension() == ".cue" ? 2250 : 5 * 4500)) {
            WriteFile(dir / name, "");
            fs::resize_file(dir / name, uint64_t(sectors) * 2352);
        }
        WriteFile(dir / sheet.filename().string(), text);
        CDevCmdROM drive;
        const bool accepted = drive.SetImageFile((dir / sheet.filename().string()).string());
        // Its last track's mode reads "MODEx/2xxx": no sector format.
        if (sheet.filename() == "kanye.cue") {
            EXPECT_FALSE(accepted);
            continue;
        }
        ASSERT_TRUE(accepted) << sheet;
        const std::regex track(R"((^|\n)\s*TRACK\s)");
        const auto tracks = std::distance(std::sregex_iterator(text.begin(), text.end(), track), std::sregex_iterator());
        EXPECT_EQ(TocRows(drive).size(), size_t(tracks)) << sheet;
        ++opened;
    }
    EXPECT_GE(opened, 30);
}

} // namespace
