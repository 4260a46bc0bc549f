// Every CD image of the third-party corpus opens or is refused, and never
// harms: sheets agree with cd-info on tracks, types and starts.
#include "drive/CDevCmdROM.h"
#include "support/DiscImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Reads what a viewer would: the TOC table, CD-Text, file-system judgement,
// the first and last sectors raw and cooked.
Rows Exercise(CDevCmdROM& drive)
{
    const Rows rows = TocRows(drive);
    auto text = std::make_unique<FS_CDTEXT_INFO>();
    drive.GetCDText(*text);
    std::vector<uint8_t> buffer(2352);
    for (const auto& row : rows) {
        const int32_t start = std::stoi(row[3]);
        const int32_t end = std::stoi(row[4]);
        drive.JudgeFileSystem(start);
        for (int32_t lba : {start, end, end + 1}) {
            drive.ReadCD_All(buffer.data(), 2352, 1, lba);
            drive.ReadCD_Data(buffer.data(), 2352, 1, lba);
            drive.ReadCD_10(buffer.data(), 2048, 1, lba);
        }
    }
    return rows;
}

// The images of a folder, unpacked into dir when packed.
std::vector<fs::path> Images(const std::string& folder, const TempDir& dir)
{
    std::vector<fs::path> images;
    for (const auto& entry : fs::recursive_directory_iterator(TestData(folder))) {
        const fs::path path = entry.path();
        if (!entry.is_regular_file() || path.string().find("expected") != std::string::npos)
            continue;
        const std::string ext = path.extension().string();
        if (ext == ".xz" || ext == ".Z") {
            const fs::path out = dir / (path.stem().string());
            const std::string tool = ext == ".xz" ? "xz -dc" : "gzip -dc";
            if (RunProgram({"sh", "-c", tool + " \"$1\" > \"$2\"", "sh", path.string(), out.string()}).exitCode == 0)
                images.push_back(out);
        } else if (ext != ".bin" && ext != ".cdt") { // sheets' data is reached through the sheets
            images.push_back(path);
        }
    }
    return images;
}

TEST(TestDataImages, EveryImageOpensOrIsRefusedHarmlessly)
{
    TempDir dir;
    int opened = 0;
    for (const std::string folder : {"cue-toc", "iso9660", "udf"}) {
        for (const fs::path& image : Images(folder, dir)) {
            const std::string name = image.filename().string();
            CDevCmdROM drive;
            const bool accepted = drive.SetImageFile(image.string());
            if (name.rfind("bad-", 0) == 0 || name.rfind("vcd_demo", 0) == 0 || name == "libcdio-malformed.iso") {
                EXPECT_FALSE(accepted) << image;
                continue;
            }
            if (!accepted)
                continue;
            ++opened;
            EXPECT_FALSE(Exercise(drive).empty()) << image;
        }
    }
    EXPECT_GT(opened, 60);
}

TEST(TestDataImages, SheetsWithExistingDataOpen)
{
    const std::map<std::string, Rows> expected = {
        {"libcdio/cdda.cue", {{"Session 1", "1", "AUDIO", "0", "301"}}},
        {"libcdio/p1.cue", {{"Session 1", "1", "AUDIO", "75", "224"}, {"Session 1", "2", "AUDIO", "225", "301"}}},
        {"libcdio/cdda_4_5.cue",
         {{"Session 1", "4", "AUDIO", "0", "149"}, {"Session 1", "5", "AUDIO", "150", "301"}}},
        {"libcdio/isofs-m1.cue", {{"Session 1", "1", "DATA(Mode1)", "0", "301"}}},
        {"libcdio/isofs-m1.toc", {{"Session 1", "1", "DATA(Mode1)", "0", "301"}}},
        {"libcdio/cdda.toc", {{"Session 1", "1", "AUDIO", "0", "24"}}},
        {"libcdio/cdtext.toc", {{"Session 1", "1", "AUDIO", "0", "4499"}}},
        {"libcdio/data1.toc", {{"Session 1", "1", "DATA(Mode1)", "0", "4498"}}},
        // 346 whole 2048-byte sectors, 2 minutes of zeros, the audio pregap.
        {"libcdio/data2.toc",
         {{"Session 1", "1", "DATA(Mode1)", "0", "4995"}, {"Session 1", "2", "AUDIO", "4996", "5297"}}},
        {"libcdio/data6.toc", {{"Session 1", "1", "DATA(Mode2)", "0", "131"}}},
        {"libcdio/t1.toc", {{"Session 1", "1", "AUDIO", "0", "73"}}},
        {"libcdio/vcd2.toc",
         {{"Session 1", "1", "DATA(Mode2)", "0", "303"}, {"Session 1", "2", "DATA(Mode2)", "304", "306"},
          {"Session 1", "3", "DATA(Mode2)", "307", "331"}}},
        {"libcdio-cdtext/cdtext.cue",
         {{"Session 1", "1", "AUDIO", "0", "299"}, {"Session 1", "2", "AUDIO", "300", "599"},
          {"Session 1", "3", "AUDIO", "600", "905"}}},
        // 1,752,000 bytes are 750 sectors of 2336 bytes.
        {"generated-vcdimager/vcd2-2336.cue",
         {{"Session 1", "1", "DATA(Mode2)", "0", "449"}, {"Session 1", "2", "DATA(Mode2)", "450", "749"}}},
        {"generated-vcdimager/vcd2-2352.cue",
         {{"Session 1", "1", "DATA(Mode2)", "0", "449"}, {"Session 1", "2", "DATA(Mode2)", "450", "749"},
          {"Session 1", "3", "DATA(Mode2)", "750", "1049"}}},
    };
    for (const auto& [sheet, rows] : expected) {
        CDevCmdROM drive;
        ASSERT_TRUE(drive.SetImageFile(TestData("cue-toc/" + sheet).string())) << sheet;
        EXPECT_EQ(TocRows(drive), rows) << sheet;
    }
}

struct CdInfoTrack {
    int number;
    std::string type; // audio, data, XA
    int64_t start;
};

std::vector<CdInfoTrack> CdInfoTracks(const fs::path& sheet)
{
    const std::string option = sheet.extension() == ".cue" ? "--cue-file" : "--toc-file";
    // cd-info, like cdrdao, opens data files relative to its working folder.
    const CommandResult r = RunProgram({"sh", "-c", "cd \"$1\" && cd-info --no-header --no-analyze --no-cddb " +
                                                        option + " \"$2\"",
                                        "sh", sheet.parent_path().string(), sheet.filename().string()});
    std::vector<CdInfoTrack> tracks;
    const std::regex line(R"(^\s*(\d+): \d+:\d+:\d+\s+(\d+) (audio|data|XA)\b)");
    for (const std::string& text : SplitLines(r.out)) {
        std::smatch m;
        if (std::regex_search(text, m, line))
            tracks.push_back({std::stoi(m[1]), m[3], m[2].length() > 10 ? INT64_MAX : std::stoll(m[2])});
    }
    return tracks;
}

TEST(TestDataImages, SheetsAgreeWithCdInfo)
{
    if (!HaveTool("cd-info"))
        GTEST_SKIP() << "cd-info missing";
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TestData("cue-toc"))) {
        const fs::path sheet = entry.path();
        if (sheet.extension() != ".cue" && sheet.extension() != ".toc")
            continue;
        // cd-info ignores generated gaps and silence (PREGAP, ZERO, SILENCE)
        // and misplaces tracks after them; the sheet's meaning holds there.
        const std::string text = ReadFile(sheet);
        if (std::regex_search(text, std::regex(R"(\b(PREGAP|ZERO|SILENCE|START)\b)")))
            continue;
        CDevCmdROM drive;
        if (!drive.SetImageFile(sheet.string()))
            continue;
        const std::vector<CdInfoTrack> theirs = CdInfoTracks(sheet);
        // A start beyond the LBA range is cd-info's print of a negative one.
        if (theirs.empty() || std::any_of(theirs.begin(), theirs.end(),
                                          [](const CdInfoTrack& t) { return t.start > INT32_MAX; }))
            continue;
        const Rows ours = TocRows(drive);
        ASSERT_EQ(ours.size(), theirs.size()) << sheet;
        for (size_t i = 0; i < ours.size(); ++i) {
            EXPECT_EQ(ours[i][1], std::to_string(theirs[i].number)) << sheet;
            const std::string type = theirs[i].type == "audio" ? "AUDIO"
                                     : theirs[i].type == "XA"  ? "DATA(Mode2)"
                                                               : "DATA(Mode1)";
            EXPECT_EQ(ours[i][2], type) << sheet;
            EXPECT_EQ(ours[i][3], std::to_string(theirs[i].start)) << sheet;
        }
        ++compared;
    }
    EXPECT_GE(compared, 7);
}

} // namespace
