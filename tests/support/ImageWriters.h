// Writers of multi-track disc images (Nero, CloneCD, Alcohol) from a small
// description of a disc, following the public descriptions of the formats.
// The tests write an image, open it through the drive object and compare
// what comes back with the description.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

enum class TestTrackKind { Audio, Mode1, Mode2Form1 };

struct TestTrack {
    int session = 1;
    TestTrackKind kind = TestTrackKind::Mode1;
    std::vector<uint8_t> data; // 2048 bytes a sector for data tracks, 2352 for audio
    std::string title;         // CD-Text
    std::string performer;

    int32_t Sectors() const { return int32_t(data.size() / (kind == TestTrackKind::Audio ? 2352 : 2048)); }
};

struct TestDisc {
    std::vector<TestTrack> tracks;
    std::string title; // CD-Text of the disc; none at all when every text is empty
    std::string performer;

    bool HasCdText() const;
};

// Where the writers put the tracks: a 150-sector pregap before every track
// (the first at -150), sessions after the lead-out and lead-in gap.
struct TestLayout {
    std::vector<int32_t> starts;   // index 1 of each track
    std::vector<int32_t> ends;     // one past each track's data
    std::vector<int32_t> leadOuts; // of each session
};
TestLayout PlanLayout(const TestDisc& disc);

// The raw 2352 bytes a drive returns for sector lba of track index (or of
// its pregap, where lba is before the track's start).
std::vector<uint8_t> RawSector(const TestDisc& disc, size_t track, int32_t lba);

// CD-Text packs (title and performer, with CRCs) for the disc.
std::vector<uint8_t> CdTextPacks(const TestDisc& disc);

// Audio samples whose bytes differ within every sample, so that swapped
// byte order shows.
std::vector<uint8_t> TestPcm(int32_t sectors, uint8_t seed);

enum class NrgFormat { Cooked, Raw, RawWithSubchannel };
struct NrgOptions {
    int version = 2;          // 1: "NERO" footer, 32-bit fields; 2: "NER5"
    bool trackAtOnce = false; // ETNF/ETN2 instead of CUES/DAOI
    NrgFormat format = NrgFormat::Raw;
};
void WriteNrg(const std::filesystem::path& path, const TestDisc& disc, const NrgOptions& options);

// base.ccd, base.img and, when asked, base.sub.
void WriteCloneCd(const std::filesystem::path& base, const TestDisc& disc, bool withSubchannel);

// base.mds and base.mdf (named "*.mdf" in the descriptor, or explicitly).
void WriteAlcohol(const std::filesystem::path& base, const TestDisc& disc, bool withSubchannel);
// A DVD-ROM of 2048-byte sectors (data: whole sectors) as base.mds, base.mdf.
void WriteAlcoholDvd(const std::filesystem::path& base, const std::vector<uint8_t>& data);

} // namespace testing_support
