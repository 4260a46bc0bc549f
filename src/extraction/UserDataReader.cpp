#include "extraction/UserDataReader.h"

#include "drive/CDevCmdROM.h"
#include "drive/MmcCommands.h"

#include <algorithm>
#include <cstring>

namespace {
// An image answers from memory-mapped windows of 1 MiB; a drive gets
// transfers that every host adapter accepts.
constexpr uint32_t kImageChunkSectors = 512;
constexpr uint32_t kDriveChunkSectors = 32;
constexpr size_t kMaxUserData = 2336;
constexpr uint8_t kForm2 = 0x20;
} // namespace

UserDataReader::UserDataReader(CDevCmdROM& drive, int sectorMode)
    : drive_(drive), sectorMode_(sectorMode),
      chunkSectors_(drive.IsImageEntry() ? kImageChunkSectors : kDriveChunkSectors)
{
    data_.resize(size_t(chunkSectors_) * kMaxUserData);
}

size_t UserDataReader::TakeUserData(const uint8_t* raw, uint8_t* out) const
{
    if (sectorMode_ == 1) {
        std::memcpy(out, raw + 16, 2048);
        return 2048;
    }
    const size_t length = (raw[18] & kForm2) ? 2324 : 2048;
    std::memcpy(out, raw + 24, length);
    return length;
}

bool UserDataReader::ReadOne(int32_t lba, uint8_t* out, size_t& length)
{
    uint8_t raw[Mmc::kRawSectorSize] = {};
    if (drive_.ReadCD_All(raw, sizeof raw, 1, lba) == 0) {
        length = TakeUserData(raw, out);
        return true;
    }
    std::memset(out, 0, Mmc::kCookedSectorSize);
    if (drive_.ReadCD_10(out, Mmc::kCookedSectorSize, 1, lba) != 0)
        return false;
    length = Mmc::kCookedSectorSize;
    return true;
}

// Mode 1 user data comes straight from cooked reads; Mode 2 needs raw
// sectors, since a cooked read cannot return Form 2 data.
bool UserDataReader::ReadChunk(int32_t lba, uint32_t count)
{
    if (sectorMode_ == 1) {
        dataLength_ = size_t(count) * Mmc::kCookedSectorSize;
        std::memset(data_.data(), 0, dataLength_);
        return drive_.ReadCD_10(data_.data(), uint32_t(dataLength_), count, lba) == 0;
    }
    raw_.assign(size_t(count) * Mmc::kRawSectorSize, 0);
    if (drive_.ReadCD_All(raw_.data(), uint32_t(raw_.size()), count, lba) != 0)
        return false;
    dataLength_ = 0;
    for (uint32_t i = 0; i < count; ++i)
        dataLength_ += TakeUserData(&raw_[size_t(i) * Mmc::kRawSectorSize], &data_[dataLength_]);
    return true;
}

uint32_t UserDataReader::Read(int32_t lba, uint32_t count, const Sink& sink)
{
    uint32_t done = 0;
    while (done < count) {
        const uint32_t n = std::min(chunkSectors_, count - done);
        const int32_t at = lba + int32_t(done);
        if (ReadChunk(at, n)) {
            if (!sink(data_.data(), dataLength_))
                return done;
            done += n;
            continue;
        }
        for (uint32_t i = 0; i < n; ++i) {
            size_t length = 0;
            if (!ReadOne(at + int32_t(i), data_.data(), length) || !sink(data_.data(), length))
                return done;
            ++done;
        }
    }
    return done;
}
