// An all-audio disc for the player tests: a raw image file whose every
// sector holds a pattern of its own, answered through the image target.
#pragma once

#include "drive/CDevCmdROM.h"
#include "explorer/MemoryControls.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

struct AudioDiscTrack {
    int32_t start = 0;
    int32_t sectors = 0;
};

class AudioDisc {
public:
    // Tracks numbered from 1, back to back from sector 0; the image file
    // goes into folder.
    AudioDisc(const std::filesystem::path& folder, const std::vector<int32_t>& trackSectors);
    // One track of the samples in rawFile (whole 2,352-byte sectors).
    explicit AudioDisc(const std::filesystem::path& rawFile);

    CDevCmdROM& Drive() { return *drive_; }
    const AudioDiscTrack& Track(int number) const { return tracks_[size_t(number - 1)]; }
    // The bytes of a sector as the image holds them.
    static std::vector<uint8_t> SectorBytes(int32_t lba);
    // What one block of the player holds: count sectors from first, then silence.
    static std::vector<uint8_t> Block(int32_t first, int32_t count);

private:
    void Load(const std::string& path, const std::vector<int32_t>& trackSectors);

    std::vector<AudioDiscTrack> tracks_;
    std::unique_ptr<CDevCmdROM> drive_;
};

// The explorer's nodes for a disc: "Session 1" holding "AUDIO TRACK n" for
// each audio track, then any further labels (data tracks, lead-out).
struct ExplorerTree {
    MemoryTree tree;
    std::vector<NodeHandle> tracks; // by track number - 1

    ExplorerTree(int audioTracks, const std::vector<std::string>& moreNodes);
};
