// ISO 9660 directories as the explorer and the extraction engine walk them:
// the user data of a sector read raw or cooked, one directory record checked
// against the buffer that holds it, and the walk of one folder's records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDevCmdROM;

inline constexpr size_t kIsoSectorSize = 2048;
inline constexpr size_t kRawSectorSize = 2352;

// Where the user data of a 2352-byte buffer filled by ReadCD_All lies. A
// buffer with the sync pattern holds a raw sector: Mode 1 data at 16, Mode 2
// at 24 after the sub-header, by the header's mode byte (sectorMode when that
// byte is neither); Form 2 (sub-mode bit 5 at byte 18) carries 2324 bytes.
// Without the pattern the drive gave 2048 bytes of user data at 0.
struct UserDataSpan {
    size_t offset = 0;
    size_t size = kIsoSectorSize;
};
UserDataSpan LocateUserData(const uint8_t* raw, int sectorMode);

// One piece of a file's data on disc.
struct IsoExtent {
    uint32_t lba = 0;
    uint32_t length = 0;
};

// One directory entry. A file recorded in several extents (multi-extent
// flag 0x80 on all but its last record) is one entry with every extent.
struct IsoDirEntry {
    std::string identifier;   // the recorded bytes, undecoded (at most 255)
    uint8_t flags = 0;
    uint8_t recorded[6] = {}; // years since 1900, month, day, hour, minute, second
    std::vector<IsoExtent> extents; // at least one

    bool IsFolder() const { return (flags & 0x02) != 0; }
    uint32_t Lba() const { return extents.front().lba; }
    uint64_t Size() const;
};

// The recorded name as text: Joliet identifiers are big-endian UCS-2, the
// others are taken byte for byte. A file's version suffix ";1" is cut.
std::string IsoEntryName(const IsoDirEntry& entry, bool joliet);
// The same decoding without the suffix rule (folder nodes, descriptors).
std::string DecodeIsoIdentifier(const uint8_t* bytes, size_t length, bool joliet);

// Parses the record at record[0]; available is how many bytes of the
// sector's user data remain from there. False when the record, or its name,
// does not fit: the caller ends the walk of that sector.
bool ParseIsoDirRecord(const uint8_t* record, size_t available, IsoDirEntry& entry);

struct IsoFolderWalk {
    int sectorMode = 1;
    // The folder's data length as its parent record gives it; nullopt takes
    // the length from the folder's own "." record (one sector when that
    // record names another extent).
    std::optional<uint32_t> length;
    // Sectors at or beyond this address are never read (end of the disc).
    int64_t endLba = INT32_MAX;
};

// Calls visit for every entry after "." and "..", in on-disc order, reading
// one sector at a time raw with a cooked fallback for the whole folder. A
// visit returning false stops the walk, as does the folder-entry limit.
// False when the folder's first sector cannot be read at all.
bool WalkIsoFolder(CDevCmdROM& drive, uint32_t folderLba, const IsoFolderWalk& walk,
                   const std::function<bool(const IsoDirEntry&)>& visit);
