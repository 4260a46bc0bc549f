// The disc a CUE or cdrdao TOC sheet describes, in the sheet's own terms
// (tracks as stretches of file data and generated gaps), and its layout
// into sessions and sector addresses as a drive would report them.
#pragma once

#include "drive/CdText.h"
#include "drive/DiscImage.h"

#include <optional>
#include <string>
#include <vector>

// More sectors than MSF addresses reach (100 minutes): no CD holds them.
inline constexpr int32_t kMaxSheetSectors = 100 * 60 * 75;

// A stretch of a track's sectors: from a file, or generated (count only).
// A track mode keyword of a sheet and how such sectors are stored.
struct ModeName {
    const char* name;
    TrackMode mode;
    SectorStorage storage;
    uint32_t stride;
};

struct SheetPiece {
    int32_t count = 0;
    SectorStorage storage = SectorStorage::Absent;
    int fileIndex = -1;
    uint64_t offset = 0;  // byte offset of the first sector in the file
    uint32_t stride = 2352;
    bool swapAudioBytes = false;
};

struct SheetTrack {
    int number = 0;
    int session = 1;
    TrackMode mode = TrackMode::Audio;
    uint8_t control = 0;              // DCP 0x02, four channels 0x08, pre-emphasis 0x01
    std::string isrc;
    std::vector<SheetPiece> pieces;   // pregap, data and postgap in order
    int32_t pregap = 0;               // sectors before index 1
    int32_t postgap = 0;              // sectors after the data, not counted to the next track
    std::vector<int32_t> indexes;     // index 2, 3, ... as offsets from index 1

    int32_t Length() const;
};

struct SheetDisc {
    std::vector<std::string> files;
    std::vector<SheetTrack> tracks;
    std::string catalog;
    CdTextItems cdText;                   // from TITLE and the like
    std::vector<uint8_t> cdTextPacks;     // from a CD-Text file; wins over cdText
};

// Lays the tracks out: track 1 at LBA 0 (its pregap before it when the
// sheet gives one), sessions separated by a lead-out, the next session's
// lead-in and a 150-sector pregap. nullopt when the sheet is inconsistent.
std::optional<DiscImage> LayOutSheet(SheetDisc sheet);
