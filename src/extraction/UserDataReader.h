// Reads the user data of consecutive data sectors for the file and folder
// jobs: many sectors per drive command, and for a command that fails, one
// sector at a time, raw first and cooked after, as a damaged disc needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class CDevCmdROM;

class UserDataReader {
public:
    // sectorMode 1: Mode 1 (2048 bytes at offset 16 of a raw sector);
    // otherwise Mode 2 (at offset 24, 2324 bytes for Form 2, else 2048).
    UserDataReader(CDevCmdROM& drive, int sectorMode);

    using Sink = std::function<bool(const uint8_t* data, size_t length)>;
    // Hands the user data of count sectors from lba to sink, a run of whole
    // sectors at a time, in order. Stops at the first sector that cannot be
    // read at all, or when sink returns false. Returns the sectors handed over.
    uint32_t Read(int32_t lba, uint32_t count, const Sink& sink);
    // Sectors per drive command.
    uint32_t ChunkSectors() const { return chunkSectors_; }

private:
    bool ReadChunk(int32_t lba, uint32_t count);
    bool ReadOne(int32_t lba, uint8_t* out, size_t& length);
    size_t TakeUserData(const uint8_t* raw, uint8_t* out) const;

    CDevCmdROM& drive_;
    int sectorMode_;
    uint32_t chunkSectors_;
    std::vector<uint8_t> raw_;
    std::vector<uint8_t> data_;
    size_t dataLength_ = 0;
};
