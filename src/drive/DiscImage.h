// What an image-format reader tells the image target about a disc: its
// sessions and tracks as a drive would report them, and where each sector's
// bytes lie in the image's files. The target derives every command reply
// (TOC, track and disc information, sectors, CD-Text) from this alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TrackMode {
    Audio,      // 2352 bytes of samples
    Mode1,      // 2048 bytes of user data
    Mode2,      // CD-ROM XA Mode 2; the sub-header says Form 1 or Form 2
    Mode2Formless, // Mode 2 without XA sub-headers: 2336 bytes of user data
};

// How the bytes of one sector are stored in an image file.
enum class SectorStorage {
    Raw2352,   // the whole sector as a drive reads it raw (audio: the samples)
    User2048,  // Mode 1 or Mode 2 Form 1 user data only
    Mode2_2336, // a Mode 2 sector without its 16 sync and header bytes
    Form2_2324, // Mode 2 Form 2 user data only
    Absent,    // not in any file: a pregap or silence the sheet describes
};

struct SectorRun {
    int32_t firstLba = 0;
    int32_t count = 0;
    SectorStorage storage = SectorStorage::Raw2352;
    int fileIndex = -1;       // into DiscImage::files; -1 for Absent
    uint64_t offset = 0;      // of firstLba's bytes in the file
    uint32_t stride = 2352;   // from one sector to the next (2448 with subchannel)
    bool swapAudioBytes = false; // big-endian samples in the file
};

struct ImageTrack {
    int number = 1;
    int session = 1;
    TrackMode mode = TrackMode::Mode1;
    uint8_t control = 0x04;     // Q-channel control nibble: 0x04 data, 0x01 pre-emphasis,
                                // 0x02 copy permitted, 0x08 four channels
    int32_t pregapStart = 0;    // index 0; equals start when the track has no pregap
    int32_t start = 0;          // index 1
    int32_t end = 0;            // one past the last sector (next pregap or lead-out)
    std::vector<int32_t> furtherIndexes; // index 2, 3, ...
    std::string isrc;
};

struct ImageSession {
    int number = 1;
    uint8_t discType = 0x00;   // 0x00 CD-DA/CD-ROM, 0x10 CD-I, 0x20 CD-ROM XA
    int32_t leadOutStart = 0;
};

struct DiscImage {
    std::vector<std::string> files;
    std::vector<ImageSession> sessions;  // in order, numbered from 1
    std::vector<ImageTrack> tracks;      // in order of their numbers
    std::vector<SectorRun> runs;         // sorted by firstLba, not overlapping
    std::vector<uint8_t> cdTextPacks;    // 18-byte packs as READ TOC format 5 returns them
    std::string catalog;                 // media catalogue number, 13 digits or empty
    bool dvd = false;                    // a DVD-ROM rather than a CD

    int32_t LeadOut() const { return sessions.empty() ? 0 : sessions.back().leadOutStart; }
    const ImageTrack* TrackAt(int32_t lba) const;
    const SectorRun* RunAt(int32_t lba) const;
    // Checks the invariants the target relies on (ordering, ranges).
    bool IsConsistent() const;
};
