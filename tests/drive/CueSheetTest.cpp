#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "drive/ImageFormats.h"
#include "drive/MmcRecords.h"
#include "drive/TocModel.h"
#include "support/DiscImages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace testing_support;

namespace {

std::string TextAt(const FS_CDTEXT_INFO& info, int track, int field)
{
    return reinterpret_cast<const char*>(info.bytes + FS_CDTEXT_INFO::RecordOffset(track) + field);
}

class CueSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("genisoimage") || !HaveTool("sox"))
            GTEST_SKIP() << "genisoimage or sox missing";
    }
    bool Open(const std::string& sheet, const std::string& name = "disc.cue")
    {
        WriteFile(dir / name, sheet);
        return drive.SetImageFile((dir / name).string());
    }
    TempDir dir;
    CDevCmdROM drive;
};

TEST_F(CueSheet, DataAndAudioTracksInOneRawFile)
{
    const std::string data = RawMode1Sectors(MakeIso(dir.Path(), "DATA"));
    const std::string pregap = AudioSectors(150, 220);
    const std::string audio = AudioSectors(300, 440);
    ASSERT_FALSE(data.empty());
    const int n = int(data.size() / 2352);
    WriteFile(dir / "disc.bin", data + pregap + audio);
    // Written elsewhere with another letter case.
    ASSERT_TRUE(Open("FILE \"DISC.BIN\" BINARY\n"
                     "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                     "  TRACK 02 AUDIO\n    INDEX 00 00:" + std::to_string(n / 75) + ":" + std::to_string(n % 75) +
                     "\n    INDEX 01 00:" + std::to_string((n + 150) / 75) + ":" + std::to_string((n + 150) % 75) +
                     "\n"));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "DATA(Mode1)", "0", std::to_string(n + 149)},
                                    {"Session 1", "2", "AUDIO", std::to_string(n + 150), std::to_string(n + 449)}}));
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    std::vector<uint8_t> cooked(2048);
    ASSERT_EQ(drive.ReadCD_10(cooked.data(), 2048, 1, 16), 0u);
    EXPECT_EQ(std::memcmp(&cooked[1], "CD001", 5), 0);
    EXPECT_EQ(RawSector(drive, 16), data.substr(16 * 2352, 2352));
    EXPECT_EQ(RawSector(drive, n), pregap.substr(0, 2352));
    EXPECT_EQ(RawSector(drive, n + 150 + 299), audio.substr(299 * 2352));
    // Audio has no cooked sectors, and nothing lies past the lead-out.
    EXPECT_NE(drive.ReadCD_10(cooked.data(), 2048, 1, n + 150), 0u);
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x05, 0x64, 0x00}));
    EXPECT_TRUE(RawSector(drive, n + 450).empty());
    EXPECT_EQ(drive.GetSenseData(), (SenseData_tag{0, 0, 0, 0x05, 0x21, 0x00}));
}

TEST_F(CueSheet, SeveralFilesWithGapsWaveAndMotorola)
{
    const std::filesystem::path iso = MakeIso(dir.Path(), "DATA");
    const int n = int(std::filesystem::file_size(iso) / 2048);
    ASSERT_EQ(RunProgram({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", (dir / "tone.wav").string(), "synth",
                          "2", "sine", "440"})
                  .exitCode,
              0);
    const std::string wave = ReadFile(dir / "tone.wav");
    const std::string samples = wave.substr(wave.find("data") + 8, 150 * 2352);
    std::string swapped = AudioSectors(150, 660);
    const std::string original = swapped;
    for (size_t i = 0; i + 1 < swapped.size(); i += 2)
        std::swap(swapped[i], swapped[i + 1]);
    WriteFile(dir / "swapped.bin", swapped);
    ASSERT_TRUE(Open("FILE \"DATA.iso\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n    POSTGAP 00:02:00\n"
                     "FILE \"tone.wav\" WAVE\n  TRACK 02 AUDIO\n    PREGAP 00:02:00\n    INDEX 01 00:00:00\n"
                     "FILE \"swapped.bin\" MOTOROLA\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n"
                     "    INDEX 02 00:01:00\n"));
    const int track2 = n + 150 + 150;
    const int track3 = track2 + 150;
    EXPECT_EQ(TocRows(drive),
              (Rows{{"Session 1", "1", "DATA(Mode1)", "0", std::to_string(track2 - 1)},
                    {"Session 1", "2", "AUDIO", std::to_string(track2), std::to_string(track3 - 1)},
                    {"Session 1", "3", "AUDIO", std::to_string(track3), std::to_string(track3 + 149)}}));
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    EXPECT_EQ(RawSector(drive, n + 10).substr(16, 2048), std::string(2048, '\0')); // postgap
    EXPECT_EQ(RawSector(drive, n + 160), std::string(2352, '\0'));                // generated pregap
    EXPECT_EQ(RawSector(drive, track2), samples.substr(0, 2352));
    EXPECT_EQ(RawSector(drive, track3 + 1), original.substr(2352, 2352));

    const auto image = OpenDiscImage((dir / "disc.cue").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->tracks[2].furtherIndexes, (std::vector<int32_t>{track3 + 75}));
}

TEST_F(CueSheet, SessionsAreSeparatedAsOnARealDisc)
{
    std::vector<int> sizes;
    for (const char* label : {"ONE", "TWO", "THREE"})
        sizes.push_back(int(std::filesystem::file_size(MakeIso(dir.Path(), label)) / 2048));
    ASSERT_TRUE(Open("FILE \"ONE.iso\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n"
                     "REM SESSION 02\nFILE \"TWO.iso\" BINARY\n  TRACK 02 MODE1/2048\n    INDEX 01 00:00:00\n"
                     "REM SESSION 03\nFILE \"THREE.iso\" BINARY\n  TRACK 03 MODE1/2048\n    INDEX 01 00:00:00\n"));
    // Lead-out 6750 + lead-in 4500 + pregap 150 after the first session,
    // lead-out 2250 + 4500 + 150 after later ones.
    const int leadOut1 = sizes[0];
    const int start2 = leadOut1 + 11400;
    const int leadOut2 = start2 + sizes[1];
    const int start3 = leadOut2 + 6900;
    const int leadOut3 = start3 + sizes[2];
    EXPECT_EQ(TocRows(drive),
              (Rows{{"Session 1", "1", "DATA(Mode1)", "0", std::to_string(leadOut1 - 1)},
                    {"Session 2", "2", "DATA(Mode1)", std::to_string(start2), std::to_string(leadOut2 - 1)},
                    {"Session 3", "3", "DATA(Mode1)", std::to_string(start3), std::to_string(leadOut3 - 1)}}));

    std::vector<uint8_t> toc(2048);
    ASSERT_EQ(drive.ReadToc(toc.data(), 2048, 2, 0), 0u);
    const SessionInfo sessions(toc.data() + 4, GetBE16(toc.data()) - 2);
    ASSERT_EQ(sessions.GetSessionNum(), 3);
    EXPECT_EQ(sessions[0].GetLeadOutStartPos(), uint32_t(leadOut1));
    EXPECT_EQ(sessions[1].GetLeadOutStartPos(), uint32_t(leadOut2));
    EXPECT_EQ(sessions[2].GetFirstTrackNo(), 3);
    EXPECT_EQ(sessions[2].GetDiscType(), 0x00);

    TRACK_INFO info{};
    ASSERT_EQ(drive.ReadTrackInfo(info, 1, 2), 0u);
    EXPECT_EQ(info.bytes[3], 2);
    EXPECT_EQ(GetBE32(&info.bytes[8]), uint32_t(start2));
    EXPECT_EQ(GetBE32(&info.bytes[24]), uint32_t(sizes[1]));
    EXPECT_EQ(drive.JudgeFileSystem(start2), 1);
    std::vector<uint8_t> sector(2048);
    ASSERT_EQ(drive.ReadCD_10(sector.data(), 2048, 1, start3 + 16), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&sector[40]), 5), "THREE");
    // The gap between sessions holds no readable sector.
    EXPECT_NE(drive.ReadCD_10(sector.data(), 2048, 1, leadOut1 + 100), 0u);
}

TEST_F(CueSheet, FlagsCatalogAndIsrc)
{
    WriteFile(dir / "audio.bin", AudioSectors(300, 440));
    ASSERT_TRUE(Open("CATALOG 0123456789012\nFILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    FLAGS DCP 4CH PRE\n"
                     "    ISRC DEMUA9800001\n    INDEX 01 00:00:00\n"));
    std::vector<uint8_t> toc(64);
    ASSERT_EQ(drive.ReadToc(toc.data(), 64, 0, 0), 0u);
    EXPECT_EQ(toc[5] & 0x0F, 0x0B);
    const auto image = OpenDiscImage((dir / "disc.cue").string());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->catalog, "0123456789012");
    EXPECT_EQ(image->tracks[0].isrc, "DEMUA9800001");
}

TEST_F(CueSheet, CdTextFromSheetLines)
{
    WriteFile(dir / "audio.bin", AudioSectors(300, 440));
    ASSERT_TRUE(Open("TITLE \"Disc Title\"\nPERFORMER \"Caf\xC3\xA9 Band\"\nFILE \"audio.bin\" BINARY\n"
                     "  TRACK 01 AUDIO\n    TITLE \"A rather long first track title\"\n    SONGWRITER \"Writer\"\n"
                     "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"Second\"\n    COMPOSER \"Composer\"\n"
                     "    ISRC DEMUA9800002\n    INDEX 01 00:02:00\n"));
    auto info = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(info->bytes, 0, sizeof info->bytes);
    ASSERT_EQ(drive.GetCDText(*info), 0u);
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kTitle), "Disc Title");
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kArtist), "Caf\xC3\xA9 Band");
    EXPECT_EQ(TextAt(*info, 1, FS_CDTEXT_INFO::kTitle), "A rather long first track title");
    EXPECT_EQ(TextAt(*info, 1, FS_CDTEXT_INFO::kSongster), "Writer");
    EXPECT_EQ(TextAt(*info, 2, FS_CDTEXT_INFO::kTitle), "Second");
    EXPECT_EQ(TextAt(*info, 2, FS_CDTEXT_INFO::kComposer), "Composer");
    EXPECT_EQ(TextAt(*info, 2, FS_CDTEXT_INFO::kIsrc), "DEMUA9800002");
}

TEST_F(CueSheet, CdTextFileIsServedAsItsPacks)
{
    const std::string packs = ReadFile(TestData("cdtext/libcdio-cdtext-krosis.cdt"));
    WriteFile(dir / "text.cdt", packs);
    WriteFile(dir / "audio.bin", AudioSectors(300, 440));
    ASSERT_TRUE(Open("CDTEXTFILE \"text.cdt\"\nFILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"));
    std::vector<uint8_t> reply(4 + packs.size());
    ASSERT_EQ(drive.ReadToc(reply.data(), uint32_t(reply.size()), 5, 0), 0u);
    EXPECT_EQ(GetBE16(reply.data()), packs.size() + 2);
    EXPECT_EQ(std::memcmp(reply.data() + 4, packs.data(), packs.size()), 0);
    auto info = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(info->bytes, 0, sizeof info->bytes);
    ASSERT_EQ(drive.GetCDText(*info), 0u);
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kTitle), "A Memoir of Free Will");
    EXPECT_EQ(TextAt(*info, 1, FS_CDTEXT_INFO::kTitle), "Gone But Not Forgotten");
}

TEST_F(CueSheet, ResolvesStaleAndMiscasedNames)
{
    WriteFile(dir / "Audio.BIN", AudioSectors(300, 440));
    EXPECT_TRUE(Open("FILE \"C:\\rips\\audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"));
    // A stale name: the file with the sheet's own base name stands in.
    WriteFile(dir / "other.bin", AudioSectors(150, 440));
    EXPECT_TRUE(Open("FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n", "other.cue"));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "AUDIO", "0", "149"}}));
    // Unquoted names and titles with spaces.
    WriteFile(dir / "my audio.bin", AudioSectors(75, 440));
    ASSERT_TRUE(Open("TITLE Unquoted Title\nFILE my audio.bin BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
                     "spaces.cue"));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "AUDIO", "0", "74"}}));
    auto info = std::make_unique<FS_CDTEXT_INFO>();
    std::memset(info->bytes, 0, sizeof info->bytes);
    ASSERT_EQ(drive.GetCDText(*info), 0u);
    EXPECT_EQ(TextAt(*info, 0, FS_CDTEXT_INFO::kTitle), "Unquoted Title");
}

TEST_F(CueSheet, RefusesDamagedSheets)
{
    WriteFile(dir / "audio.bin", AudioSectors(300, 440));
    const std::string track = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    const std::vector<std::string> damaged = {
        "FILE \"missing.bin\" BINARY\n" + track,                                        // no data
        "FILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:05:00\n",         // index past the end
        "FILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
        "    INDEX 01 00:10:00\n",                                                        // second track past the end
        "FILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 00 00:00:00\n",         // no index 1
        "FILE \"audio.bin\" BINARY\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n  TRACK 01 AUDIO\n"
        "    INDEX 01 00:01:00\n",                                                        // numbers going down
        "FILE \"audio.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n    INDEX 02 00:01:00\n",
        "FILE \"audio.bin\" MP3\n" + track,
        "FILE \"audio.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\nREM SESSION 03\n"
        "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",                                      // session 2 skipped
        "FILE \"audio.bin\" BINARY\n" + track + std::string(1 << 20, ' '),               // too large for a sheet
        "FILE \"audio.bin\" BINARY\n" + track + std::string("\0\x01", 2),                // not text
    };
    for (const std::string& sheet : damaged) {
        EXPECT_FALSE(Open(sheet)) << sheet.substr(0, 200);
        EXPECT_NE(drive.TestUnitReady(), 0u);
    }
}

TEST(CueSheetData, RecognisedByContentWhateverTheName)
{
    TempDir dir;
    const std::string raw = ReadFile(TestData("cue-toc/libcdio/isofs-m1.bin"));
    WriteFile(dir / "disc.vcd", raw);
    WriteFile(dir / "disc.img", "FILE \"disc.vcd\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
    CDevCmdROM drive;
    ASSERT_TRUE(drive.SetImageFile((dir / "disc.vcd").string()));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "DATA(Mode1)", "0", "301"}}));
    ASSERT_TRUE(drive.SetImageFile((dir / "disc.img").string()));
    EXPECT_EQ(TocRows(drive), (Rows{{"Session 1", "1", "DATA(Mode1)", "0", "301"}}));
}

TEST(CueSheetData, Mode2SessionIsAnXaDisc)
{
    CDevCmdROM drive;
    ASSERT_TRUE(drive.SetImageFile(TestData("cue-toc/generated-vcdimager/vcd2-2352.cue").string()));
    std::vector<uint8_t> toc(2048);
    ASSERT_EQ(drive.ReadToc(toc.data(), 2048, 2, 0), 0u);
    const SessionInfo sessions(toc.data() + 4, GetBE16(toc.data()) - 2);
    ASSERT_EQ(sessions.GetSessionNum(), 1);
    EXPECT_EQ(sessions[0].GetDiscType(), 0x20);
    EXPECT_EQ(drive.JudgeFileSystem(0), 1);
    // Form 2 sectors (MPEG) give 2324 bytes of user data through READ CD.
    std::vector<uint8_t> data(2352);
    ASSERT_EQ(drive.ReadCD_Data(data.data(), 2352, 1, 500), 0u);
}

} // namespace
