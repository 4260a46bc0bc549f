// Alcohol 120% images: a binary descriptor (.mds) and the sectors (.mdf).
// The descriptor begins "MEDIA DESCRIPTOR"; it lists sessions, and per
// session blocks with the session's raw table of contents entries (A0, A1,
// A2 and one per track). A track's block gives its mode, sector size (with or
// without subchannel), start address and the offset of its first sector in
// the data file, which the descriptor names (or "*.mdf": beside it). Every
// number is little-endian.
#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/ImageLayout.h"
#include "drive/ImagePaths.h"
#include "drive/TocModel.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderSize = 88;
constexpr size_t kSessionSize = 24;
constexpr size_t kTrackBlockSize = 80;
constexpr size_t kExtraSize = 8;
constexpr size_t kFooterSize = 16;
// Descriptors of DVDs carry their disc structures; none comes near this.
constexpr uint16_t kFirstDvdMedium = 0x10;

// Bounds-checked view of the descriptor.
class Descriptor {
public:
    explicit Descriptor(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    const uint8_t* At(uint64_t offset, size_t length) const
    {
        return offset <= bytes_.size() && length <= bytes_.size() - offset ? bytes_.data() + offset : nullptr;
    }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

struct Storage {
    TrackMode mode;
    SectorStorage storage;
};

// The mode byte's low nibble, and the sector size, give the sector layout.
std::optional<Storage> StorageOf(uint8_t modeByte, uint32_t sectorSize)
{
    const uint8_t mode = modeByte & 0x0F;
    auto byteSize = [&](TrackMode trackMode) -> std::optional<Storage> {
        if (sectorSize >= 2352)
            return Storage{trackMode, SectorStorage::Raw2352};
        if (sectorSize == 2336 && trackMode != TrackMode::Mode1)
            return Storage{trackMode, SectorStorage::Mode2_2336};
        if (sectorSize == 2048 && trackMode != TrackMode::Audio)
            return Storage{trackMode, SectorStorage::User2048};
        return std::nullopt;
    };
    switch (mode) {
    case 0x9:
        return byteSize(TrackMode::Audio);
    case 0xA:
    case 0x2: // DVD
        return byteSize(TrackMode::Mode1);
    case 0xB:
        return byteSize(TrackMode::Mode2Formless);
    case 0xC:
    case 0xD:
        return byteSize(TrackMode::Mode2);
    default:
        return std::nullopt;
    }
}

// The data file a track block's footer names.
std::string DataFileOf(const Descriptor& mds, uint32_t footerOffset, const std::string& mdsPath)
{
    const uint8_t* footer = footerOffset ? mds.At(footerOffset, kFooterSize) : nullptr;
    std::string name;
    if (footer) {
        const uint32_t at = GetLE32(footer);
        const bool wide = GetLE32(footer + 4) != 0;
        for (size_t i = 0; i < InputLimits::kMaxDescriptorNameLength; ++i) {
            const uint8_t* c = mds.At(uint64_t(at) + i * (wide ? 2 : 1), wide ? 2 : 1);
            if (!c || (c[0] == 0 && (!wide || c[1] == 0)))
                break;
            // Wide names keep their ASCII characters; others become '_'.
            name += (wide && c[1] != 0) || c[0] >= 0x80 ? '_' : char(c[0]);
        }
    }
    if (name.empty() || name == "*.mdf")
        return SiblingWithExtension(mdsPath, "mdf");
    if (name.compare(0, 2, "*.") == 0)
        return SiblingWithExtension(mdsPath, name.substr(2));
    return ResolveBesideSheet(mdsPath, name);
}

struct TrackPlan {
    ImageTrack track;
    Storage storage;
    uint32_t stride;
    int fileIndex;
    uint64_t startOffset;
    int32_t pregap;
    int32_t length;
};

// openedData: the data file when the user chose it rather than the
// descriptor; it stands in for a "*.mdf" that carries another name.
std::optional<DiscImage> Describe(const Descriptor& mds, const std::string& mdsPath, const std::string& openedData)
{
    const uint8_t* header = mds.At(0, kHeaderSize);
    if (!header || std::memcmp(header, "MEDIA DESCRIPTOR", 16) != 0 || header[16] != 1)
        return std::nullopt;
    const uint16_t medium = GetLE16(header + 18);
    const uint16_t sessionCount = GetLE16(header + 20);
    const uint32_t sessionsAt = GetLE32(header + 80);
    if (sessionCount < 1 || sessionCount > 99)
        return std::nullopt;

    DiscImage disc;
    disc.dvd = medium >= kFirstDvdMedium;
    std::vector<TrackPlan> plans;
    for (uint16_t s = 0; s < sessionCount; ++s) {
        const uint8_t* session = mds.At(uint64_t(sessionsAt) + s * kSessionSize, kSessionSize);
        if (!session)
            return std::nullopt;
        ImageSession info{int(s) + 1, 0x00, int32_t(GetLE32(session + 4))};
        const uint8_t blocks = session[10];
        const uint32_t blocksAt = GetLE32(session + 20);
        for (uint8_t b = 0; b < blocks; ++b) {
            const uint8_t* block = mds.At(uint64_t(blocksAt) + b * kTrackBlockSize, kTrackBlockSize);
            if (!block)
                return std::nullopt;
            const uint8_t point = block[4];
            const MsfAddress address{0, block[9], block[10], block[11]};
            if (point == 0xA0) {
                info.discType = block[10];
                continue;
            }
            if (point == 0xA2) {
                info.leadOutStart = address.ToLba();
                continue;
            }
            if (point < 1 || point > 99)
                continue;
            const uint32_t sectorSize = GetLE16(block + 16);
            const std::optional<Storage> storage = StorageOf(block[0], sectorSize);
            if (!storage)
                return std::nullopt;
            TrackPlan plan{{}, *storage, sectorSize, -1, GetLE64(block + 40), 0, 0};
            plan.track.number = point;
            plan.track.session = int(s) + 1;
            plan.track.mode = storage->mode;
            plan.track.control = block[2] & 0x0F;
            plan.track.start = int32_t(GetLE32(block + 36));
            if (const uint32_t extraAt = GetLE32(block + 12)) {
                const uint8_t* extra = mds.At(extraAt, kExtraSize);
                if (!extra || GetLE32(extra) > 150 * 75 || GetLE32(extra + 4) > INT32_MAX)
                    return std::nullopt;
                plan.pregap = int32_t(GetLE32(extra));
                plan.length = int32_t(GetLE32(extra + 4));
            }
            std::string file = DataFileOf(mds, GetLE32(block + 52), mdsPath);
            if (file.empty())
                file = openedData;
            if (file.empty())
                return std::nullopt; // the data file is missing
            const auto known = std::find(disc.files.begin(), disc.files.end(), file);
            plan.fileIndex = int(known - disc.files.begin());
            if (known == disc.files.end())
                disc.files.push_back(file);
            plans.push_back(plan);
        }
        disc.sessions.push_back(info);
    }
    std::sort(plans.begin(), plans.end(),
              [](const TrackPlan& a, const TrackPlan& b) { return a.track.number < b.track.number; });
    for (size_t i = 0; i < plans.size(); ++i) {
        TrackPlan& plan = plans[i];
        if (plan.track.start < -150 || (i > 0 && plan.track.start <= plans[i - 1].track.start))
            return std::nullopt;
        // Without an extra block (DVDs) the track runs to the lead-out.
        if (plan.length == 0)
            plan.length = disc.sessions[size_t(plan.track.session) - 1].leadOutStart - plan.track.start;
        const int32_t lowest = i > 0 ? plans[i - 1].track.start + 1 : -150;
        plan.track.pregapStart = std::max(plan.track.start - plan.pregap, lowest);
        disc.tracks.push_back(plan.track);
    }
    if (disc.tracks.empty())
        return std::nullopt;
    CloseTrackExtents(disc);

    std::vector<uint64_t> fileSizes;
    for (const std::string& path : disc.files) {
        ImageFile file(path);
        if (!file.IsOpen())
            return std::nullopt;
        fileSizes.push_back(file.Size());
    }
    for (size_t i = 0; i < plans.size(); ++i) {
        const TrackPlan& plan = plans[i];
        const ImageTrack& track = disc.tracks[i];
        // The pregap lies in the file before the track's first sector when
        // the previous track's sectors leave room for it.
        const uint64_t pregapBytes = uint64_t(track.start - track.pregapStart) * plan.stride;
        const TrackPlan* previous = i > 0 && plans[i - 1].fileIndex == plan.fileIndex ? &plans[i - 1] : nullptr;
        const uint64_t previousEnd = previous ? previous->startOffset + uint64_t(previous->length) * previous->stride : 0;
        const bool pregapStored = plan.startOffset >= pregapBytes && plan.startOffset - pregapBytes >= previousEnd;
        const int32_t first = pregapStored ? track.pregapStart : track.start;
        if (first > track.pregapStart)
            disc.runs.push_back({track.pregapStart, first - track.pregapStart, SectorStorage::Absent, -1, 0, 0, false});
        const int64_t count = std::min<int64_t>(int64_t(track.start) + plan.length, track.end) - first;
        if (count > 0)
            disc.runs.push_back(ClipRun({first, int32_t(count), plan.storage.storage, plan.fileIndex,
                                         plan.startOffset - (pregapStored ? pregapBytes : 0), plan.stride, false},
                                        fileSizes[size_t(plan.fileIndex)]));
    }
    return disc;
}

std::optional<Descriptor> ReadDescriptor(const std::string& path)
{
    ImageFile file(path);
    if (!file.IsOpen() || file.Size() < kHeaderSize || file.Size() > InputLimits::kMaxDescriptorBytes)
        return std::nullopt;
    std::vector<uint8_t> bytes(size_t(file.Size()));
    if (!file.Read(0, bytes.data(), bytes.size()) || std::memcmp(bytes.data(), "MEDIA DESCRIPTOR", 16) != 0)
        return std::nullopt;
    return Descriptor(std::move(bytes));
}

} // namespace

std::optional<DiscImage> ReadAlcoholImage(const std::string& path)
{
    if (std::optional<Descriptor> mds = ReadDescriptor(path))
        return Describe(*mds, path, {});
    // The sectors beside their descriptor.
    const std::string mdsPath = SiblingWithExtension(path, "mds");
    const std::optional<Descriptor> mds = mdsPath.empty() ? std::nullopt : ReadDescriptor(mdsPath);
    if (!mds)
        return std::nullopt;
    return Describe(*mds, mdsPath, path);
}
