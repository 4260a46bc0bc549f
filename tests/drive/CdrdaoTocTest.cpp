#include "drive/CDevCmdROM.h"
#include "drive/ImageFormats.h"
#include "support/DiscImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <vector>

using namespace testing_support;

namespace {

// Track starts and the disc's end as "cdrdao show-toc" gives them.
std::vector<int> CdrdaoStarts(const std::filesystem::path& sheet, int& end)
{
    // cdrdao finds data files relative to its working folder.
    const CommandResult r = RunProgram(
        {"sh", "-c", "cd \"$1\" && cdrdao show-toc \"$2\"", "sh", sheet.parent_path().string(), sheet.filename().string()});
    std::vector<int> starts;
    const std::regex line(R"((START|END)\s+\d+:\d+:\d+\(\s*(\d+)\))");
    for (const std::string& text : SplitLines(r.out + r.err)) {
        std::smatch m;
        if (!std::regex_search(text, m, line))
            continue;
        if (m[1] == "START")
            starts.push_back(std::stoi(m[2]));
        else
            end = std::stoi(m[2]);
    }
    if (starts.empty())
        ADD_FAILURE() << r.out << r.err;
    return starts;
}

class CdrdaoToc : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage") || !HaveTool("sox"))
            GTEST_SKIP() << "genisoimage or sox missing";
        ASSERT_EQ(RunProgram({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", (dir / "tone.wav").string(),
                              "synth", "8", "sine", "440"})
                      .exitCode,
                  0);
        const std::string wave = ReadFile(dir / "tone.wav");
        samples = wave.substr(wave.find("data") + 8);
    }
    bool Open(const std::string& sheet)
    {
        WriteFile(dir / "disc.toc", sheet);
        return drive.SetImageFile((dir / "disc.toc").string());
    }
    TempDir dir;
    CDevCmdROM drive;
    std::string samples;
};

TEST_F(CdrdaoToc, AudioStatementsAgreeWithCdrdao)
{
    ASSERT_TRUE(Open("CD_DA\nCATALOG \"1234567890123\"\n"
                     "TRACK AUDIO\nCOPY\nPRE_EMPHASIS\nISRC \"DEMUA9800001\"\nAUDIOFILE \"tone.wav\" 0 00:01:00\n\n"
                     "TRACK AUDIO\nSILENCE 00:00:50\nSTART\nAUDIOFILE \"tone.wav\" 00:01:00 00:01:10\n"
                     "INDEX 00:00:30 // a second index\n\n"
                     "TRACK AUDIO\nFOUR_CHANNEL_AUDIO\nPREGAP 00:02:00\nFILE \"tone.wav\" 264600 // in samples\n"));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "AUDIO", "0", "124"},
                                    {"Session 1", "2", "AUDIO", "125", "359"},
                                    {"Session 1", "3", "AUDIO", "360", "509"}}));
    EXPECT_EQ(RawSector(drive, 1), samples.substr(2352, 2352));
    EXPECT_EQ(RawSector(drive, 80), std::string(2352, '\0'));           // silence
    EXPECT_EQ(RawSector(drive, 125), samples.substr(75 * 2352, 2352));  // from 1 s into the file
    EXPECT_EQ(RawSector(drive, 360), samples.substr(450 * 2352, 2352)); // 264600 samples = 450 sectors

    std::vector<uint8_t> toc(64);
    ASSERT_EQ(drive.ReadToc(toc.data(), 64, 0, 0), 0u);
    EXPECT_EQ(toc[5] & 0x0F, 0x03);  // copy permitted, pre-emphasis
    EXPECT_EQ(toc[21] & 0x0F, 0x08); // four channels
    const auto image = OpenDiscImage((dir / "disc.toc").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->catalog, "1234567890123");
    EXPECT_EQ(image->tracks[0].isrc, "DEMUA9800001");
    EXPECT_EQ(image->tracks[1].furtherIndexes, (std::vector<int32_t>{155}));

    if (!HaveTool("cdrdao"))
        GTEST_SKIP() << "cdrdao missing";
    int end = 0;
    EXPECT_EQ(CdrdaoStarts(dir / "disc.toc", end), (std::vector<int>{0, 125, 360}));
    EXPECT_EQ(end, 510);
}

TEST_F(CdrdaoToc, DataTrackWithCdTextAndSwappedAudio)
{
    const std::filesystem::path iso = MakeIso(dir.Path(), "DATA");
    const int n = int(std::filesystem::file_size(iso) / 2048);
    std::string swapped = samples.substr(0, 300 * 2352);
    for (size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    WriteFile(dir / "swapped.raw", std::string(100, 'x') + swapped);
    ASSERT_TRUE(Open("CD_ROM\nCD_TEXT {\n  LANGUAGE_MAP { 0 : EN }\n  LANGUAGE 0 {\n    TITLE \"Disc\"\n"
                     "    PERFORMER \"Band\"\n    GENRE { 0, 5, 0 }\n  }\n}\n"
                     "TRACK MODE1\nDATAFILE \"DATA.iso\"\nZERO MODE1 00:02:00\n"
                     "TRACK AUDIO\nCD_TEXT { LANGUAGE 0 { TITLE \"Song\" } }\nPREGAP 00:02:00\n"
                     "AUDIOFILE \"swapped.raw\" SWAP #100 0 00:02:00\n"));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "DATA(Mode1)", "0", std::to_string(n + 299)},
                                    {"Session 1", "2", "AUDIO", std::to_string(n + 300), std::to_string(n + 449)}}));
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    EXPECT_EQ(RawSector(drive, n + 301), samples.substr(2352, 2352));
    auto info = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(info->bytes, 0, sizeof info->bytes);
    ASSERT_EQ(drive.GetCDText(*info), 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(info->bytes + FS_CDTEXT_INFO::RecordOffset(0)), "Disc");
    EXPECT_STREQ(reinterpret_cast<const char*>(info->bytes + FS_CDTEXT_INFO::RecordOffset(2)), "Song");

    if (!HaveTool("cdrdao"))
        GTEST_SKIP() << "cdrdao missing";
    int end = 0;
    EXPECT_EQ(CdrdaoStarts(dir / "disc.toc", end), (std::vector<int>{0, n + 300}));
    EXPECT_EQ(end, n + 450);
}

TEST_F(CdrdaoToc, RefusesSheetsReachingPastTheirData)
{
    const std::vector<std::string> damaged = {
        "TRACK AUDIO\nFILE \"tone.wav\" 00:09:00\n",         // start past the end
        "TRACK AUDIO\nFILE \"tone.wav\" 0 00:09:00\n",       // length past the end
        "TRACK AUDIO\nFILE \"missing.wav\" 0\n",
        "TRACK AUDIO\nFILE \"tone.wav\" 0\nSTART 00:10:00\n", // pregap longer than the track
        "TRACK AUDIO\nFIFO \"/tmp/fifo\" 00:01:00\n",
        "TRACK MODE3\nSILENCE 00:04:00\n",
        "CD_TEXT { LANGUAGE 0 { TITLE \"unterminated\" }\nTRACK AUDIO\nSILENCE 00:04:00\n",
        "TRACK 01 AUDIO\n",
    };
    for (const std::string& sheet : damaged)
        EXPECT_FALSE(Open(sheet)) << sheet;
}

} // namespace
