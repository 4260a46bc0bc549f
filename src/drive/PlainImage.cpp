// Images that are nothing but sectors: 2048 bytes of user data each (.iso),
// or whole 2352-byte raw sectors (.bin/.img without a sheet).
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/SectorSynth.h"

#include <cstring>

namespace {

// More sectors than the longest CD holds (99 minutes) means a DVD.
constexpr uint64_t kLongestCdSectors = 99 * 60 * 75;

bool HasSync(ImageFile& file, uint64_t offset)
{
    uint8_t sync[12];
    return file.Read(offset, sync, sizeof sync) && std::memcmp(sync, SectorSynth::kSync, sizeof sync) == 0;
}

// A volume recognition sequence entry at one of the first descriptor slots.
bool HasVolumeDescriptor(ImageFile& file, uint64_t sectorSize, uint64_t dataOffset)
{
    for (uint64_t sector = 16; sector < 32; ++sector) {
        uint8_t id[6] = {};
        if (!file.Read(sector * sectorSize + dataOffset, id, sizeof id))
            return false;
        const char* text = reinterpret_cast<const char*>(id + 1);
        if (std::memcmp(text, "CD001", 5) == 0 || std::memcmp(text, "BEA01", 5) == 0 ||
            std::memcmp(text, "NSR02", 5) == 0 || std::memcmp(text, "NSR03", 5) == 0)
            return true;
    }
    return false;
}

DiscImage SingleTrack(const std::string& path, int32_t sectors, TrackMode mode, SectorStorage storage,
                      uint32_t stride)
{
    DiscImage disc;
    disc.files.push_back(path);
    disc.dvd = storage == SectorStorage::User2048 && uint64_t(sectors) > kLongestCdSectors;
    disc.sessions.push_back({1, uint8_t(mode == TrackMode::Mode1 ? 0x00 : 0x20), sectors});
    ImageTrack track;
    track.mode = mode;
    track.control = 0x04;
    track.start = track.pregapStart = 0;
    track.end = sectors;
    disc.tracks.push_back(track);
    disc.runs.push_back({0, sectors, storage, 0, 0, stride, false});
    return disc;
}

} // namespace

std::optional<DiscImage> ReadPlainImage(const std::string& path)
{
    ImageFile file(path);
    if (!file.IsOpen() || file.Size() == 0)
        return std::nullopt;
    const uint64_t size = file.Size();

    if (size % 2352 == 0 && size / 2352 <= INT32_MAX && (HasSync(file, 0) || HasSync(file, 16 * 2352))) {
        uint8_t mode = 0;
        const uint64_t probe = HasSync(file, 16 * 2352) ? 16 * 2352 : 0;
        file.Read(probe + 15, &mode, 1);
        if (mode == 1 || mode == 2)
            return SingleTrack(path, int32_t(size / 2352), mode == 1 ? TrackMode::Mode1 : TrackMode::Mode2,
                               SectorStorage::Raw2352, 2352);
    }
    if (size % 2048 == 0 && size / 2048 <= INT32_MAX && HasVolumeDescriptor(file, 2048, 0))
        return SingleTrack(path, int32_t(size / 2048), TrackMode::Mode1, SectorStorage::User2048, 2048);
    return std::nullopt;
}
