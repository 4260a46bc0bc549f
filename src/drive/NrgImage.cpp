// Nero Burning ROM images (.nrg): the sectors, then a chain of chunks that a
// footer in the last bytes of the file points to. Version 1 ends in "NERO"
// and a 32-bit offset, version 2 (Nero 5.5 on) in "NER5" and a 64-bit one;
// every number is big-endian. Disc-at-once sessions are described by a cue
// chunk (CUES/CUEX) and a DAO chunk (DAOI/DAOX) giving each track's byte
// offsets; track-at-once sessions by ETNF/ETN2 entries. SINF chunks count
// the tracks of each session.
#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/ImageLayout.h"
#include "drive/TocModel.h"

#include <algorithm>
#include <cstring>
#include <cctype>
#include <numeric>

namespace {

constexpr size_t kCdTextPackSize = 18;
// Between sessions lie the lead-out (90 s after the first session, 30 s after
// later ones) and the next lead-in (60 s).
constexpr int32_t kGapAfterFirstSession = 6750 + 4500;
constexpr int32_t kGapAfterLaterSession = 2250 + 4500;
constexpr int32_t kTrackPregap = 150;
// MTYP bits of DVD media, and of CD media.
constexpr uint32_t kDvdMedia = 0x00004 | 0x00008 | 0x00010 | 0x00200 | 0x40000 | 0x80000;
constexpr uint32_t kCdMedia = 0x00001 | 0x00002 | 0x00400;

uint64_t GetBE64(const uint8_t* p) { return (uint64_t(GetBE32(p)) << 32) | GetBE32(p + 4); }

// A BCD byte, or -1 when a nibble is no decimal digit.
int FromBcd(uint8_t value)
{
    if ((value >> 4) > 9 || (value & 0x0F) > 9)
        return -1;
    return (value >> 4) * 10 + (value & 0x0F);
}

struct SectorLayout {
    uint8_t code;
    TrackMode mode;
    SectorStorage storage;
    uint32_t size; // in the image, subchannel included
};

// Nero's track mode codes.
constexpr SectorLayout kLayouts[] = {
    {0x00, TrackMode::Mode1, SectorStorage::User2048, 2048},
    {0x02, TrackMode::Mode2, SectorStorage::User2048, 2048},   // Form 1 user data
    {0x03, TrackMode::Mode2, SectorStorage::Mode2_2336, 2336}, // sub-header and data
    {0x05, TrackMode::Mode1, SectorStorage::Raw2352, 2352},
    {0x06, TrackMode::Mode2, SectorStorage::Raw2352, 2352},
    {0x07, TrackMode::Audio, SectorStorage::Raw2352, 2352},
    {0x0F, TrackMode::Mode1, SectorStorage::Raw2352, 2448},
    {0x10, TrackMode::Audio, SectorStorage::Raw2352, 2448},
    {0x11, TrackMode::Mode2, SectorStorage::Raw2352, 2448},
};

const SectorLayout* LayoutOf(uint32_t code)
{
    for (const SectorLayout& layout : kLayouts)
        if (layout.code == code)
            return &layout;
    return nullptr;
}

struct Chunk {
    std::string id;
    std::vector<uint8_t> data;
};

struct CuePoint {
    int track; // 0xAA for the lead-out
    int index;
    int32_t lba;
    uint8_t control;
};

// One track as a DAO or TAO chunk describes it.
struct NrgTrack {
    bool dao = true;
    int group = 0; // which DAO/TAO chunk it came from
    int number = 0;
    const SectorLayout* layout = nullptr;
    uint32_t sectorSize = 0;
    uint64_t pregapOffset = 0; // DAO: index 0 in the file; TAO: the track's data
    uint64_t startOffset = 0;  // index 1
    uint64_t endOffset = 0;
    int32_t taoLba = 0;
    std::string isrc;
};

struct NrgDescription {
    std::vector<CuePoint> cues;
    std::vector<NrgTrack> tracks;
    std::vector<uint32_t> sessionTracks; // from SINF, in order
    std::vector<uint8_t> cdText;
    std::string catalog;
    uint32_t mediaType = 0;
    int groups = 0;
};

// The chunk chain and where it begins (the sectors lie below that offset).
std::optional<std::vector<Chunk>> ReadChunks(ImageFile& file, uint64_t& chainStart)
{
    const uint64_t size = file.Size();
    uint8_t footer[12];
    if (size < sizeof footer || !file.Read(size - sizeof footer, footer, sizeof footer))
        return std::nullopt;
    uint64_t chainEnd = 0;
    if (size >= 12 && std::memcmp(footer, "NER5", 4) == 0) {
        chainStart = GetBE64(footer + 4);
        chainEnd = size - 12;
    } else if (std::memcmp(footer + 4, "NERO", 4) == 0) {
        chainStart = GetBE32(footer + 8);
        chainEnd = size - 8;
    } else {
        return std::nullopt;
    }
    if (chainStart >= chainEnd)
        return std::nullopt;

    std::vector<Chunk> chunks;
    uint64_t at = chainStart;
    while (at < chainEnd) {
        if (chunks.size() == size_t(InputLimits::kMaxNrgChunks) || chainEnd - at < 8)
            return std::nullopt;
        uint8_t head[8];
        if (!file.Read(at, head, sizeof head))
            return std::nullopt;
        const uint32_t length = GetBE32(head + 4);
        if (length > InputLimits::kMaxNrgChunkBytes || length > chainEnd - at - 8)
            return std::nullopt;
        Chunk chunk{std::string(reinterpret_cast<const char*>(head), 4), std::vector<uint8_t>(length)};
        if (length && !file.Read(at + 8, chunk.data.data(), length))
            return std::nullopt;
        at += 8 + uint64_t(length);
        const bool last = chunk.id == "END!";
        chunks.push_back(std::move(chunk));
        if (last)
            break;
    }
    return chunks;
}

std::string PrintableField(const uint8_t* bytes, size_t length)
{
    std::string text;
    for (size_t i = 0; i < length && bytes[i] != 0; ++i) {
        if (!std::isalnum(bytes[i]))
            return {};
        text += char(bytes[i]);
    }
    return text;
}

bool ParseCues(const Chunk& chunk, bool msf, NrgDescription& out)
{
    for (size_t at = 0; at + 8 <= chunk.data.size(); at += 8) {
        const uint8_t* e = &chunk.data[at];
        const int track = e[1] == 0xAA ? 0xAA : FromBcd(e[1]);
        const int index = FromBcd(e[2]);
        if (track < 0 || index < 0)
            return false;
        const int32_t lba = msf ? MsfAddress{0, e[5], e[6], e[7]}.ToLba() : int32_t(GetBE32(e + 4));
        out.cues.push_back({track, index, lba, uint8_t(e[0] >> 4)});
    }
    return true;
}

bool ParseDao(const Chunk& chunk, bool wide, NrgDescription& out)
{
    constexpr size_t kHeader = 22;
    const size_t entrySize = wide ? 42 : 30;
    const std::vector<uint8_t>& d = chunk.data;
    if (d.size() < kHeader)
        return false;
    const std::string catalog = PrintableField(&d[4], 13);
    if (catalog.size() == 13 && catalog != std::string(13, '0'))
        out.catalog = catalog;
    const int firstTrack = d[20];
    const int group = out.groups++;
    for (size_t at = kHeader, i = 0; at + entrySize <= d.size(); at += entrySize, ++i) {
        const uint8_t* e = &d[at];
        NrgTrack track;
        track.group = group;
        track.number = firstTrack + int(i);
        track.isrc = PrintableField(e, 12);
        track.sectorSize = GetBE16(e + 12);
        track.layout = LayoutOf(e[14]);
        if (wide) {
            track.pregapOffset = GetBE64(e + 18);
            track.startOffset = GetBE64(e + 26);
            track.endOffset = GetBE64(e + 34);
        } else {
            track.pregapOffset = GetBE32(e + 18);
            track.startOffset = GetBE32(e + 22);
            track.endOffset = GetBE32(e + 26);
        }
        if (!track.layout || track.sectorSize < StoredSectorBytes(track.layout->storage) ||
            track.pregapOffset > track.startOffset || track.startOffset >= track.endOffset)
            return false;
        out.tracks.push_back(track);
    }
    return true;
}

bool ParseTao(const Chunk& chunk, bool wide, NrgDescription& out)
{
    const size_t entrySize = wide ? 32 : 20;
    const int group = out.groups++;
    for (size_t at = 0; at + entrySize <= chunk.data.size(); at += entrySize) {
        const uint8_t* e = &chunk.data[at];
        NrgTrack track;
        track.dao = false;
        track.group = group;
        track.number = out.tracks.empty() ? 1 : out.tracks.back().number + 1;
        const uint64_t offset = wide ? GetBE64(e) : GetBE32(e);
        const uint64_t length = wide ? GetBE64(e + 8) : GetBE32(e + 4);
        const uint8_t* rest = e + (wide ? 16 : 8);
        track.layout = LayoutOf(GetBE32(rest));
        track.taoLba = int32_t(GetBE32(rest + 4));
        if (!track.layout || length < track.layout->size || offset > UINT64_MAX - length)
            return false;
        track.sectorSize = track.layout->size;
        track.pregapOffset = track.startOffset = offset;
        track.endOffset = offset + length;
        out.tracks.push_back(track);
    }
    return true;
}

std::optional<NrgDescription> Describe(const std::vector<Chunk>& chunks)
{
    NrgDescription out;
    for (const Chunk& chunk : chunks) {
        bool ok = true;
        if (chunk.id == "CUES" || chunk.id == "CUEX")
            ok = ParseCues(chunk, chunk.id == "CUES", out);
        else if (chunk.id == "DAOI" || chunk.id == "DAOX")
            ok = ParseDao(chunk, chunk.id == "DAOX", out);
        else if (chunk.id == "ETNF" || chunk.id == "ETN2")
            ok = ParseTao(chunk, chunk.id == "ETN2", out);
        else if (chunk.id == "SINF" && chunk.data.size() >= 4)
            out.sessionTracks.push_back(GetBE32(chunk.data.data()));
        else if (chunk.id == "MTYP" && chunk.data.size() >= 4)
            out.mediaType = GetBE32(chunk.data.data());
        else if (chunk.id == "CDTX")
            out.cdText.insert(out.cdText.end(), chunk.data.begin(),
                              chunk.data.begin() + ptrdiff_t(chunk.data.size() / kCdTextPackSize * kCdTextPackSize));
        if (!ok || out.tracks.size() > 99)
            return std::nullopt;
    }
    if (out.tracks.empty())
        return std::nullopt;
    return out;
}

// The session of each track: as the SINF chunks count them when they add up,
// else one session per DAO or TAO chunk.
std::vector<int> SessionOfTracks(const NrgDescription& nrg)
{
    std::vector<int> sessions;
    const uint64_t counted = std::accumulate(nrg.sessionTracks.begin(), nrg.sessionTracks.end(), uint64_t(0));
    const bool allCounted = std::all_of(nrg.sessionTracks.begin(), nrg.sessionTracks.end(),
                                        [](uint32_t n) { return n > 0; });
    if (!nrg.sessionTracks.empty() && allCounted && counted == nrg.tracks.size()) {
        for (size_t s = 0; s < nrg.sessionTracks.size(); ++s)
            sessions.insert(sessions.end(), nrg.sessionTracks[s], int(s) + 1);
        return sessions;
    }
    for (const NrgTrack& track : nrg.tracks)
        sessions.push_back(track.group + 1);
    return sessions;
}

const CuePoint* FindCue(const NrgDescription& nrg, int track, int index)
{
    for (const CuePoint& cue : nrg.cues)
        if (cue.track == track && cue.index == index)
            return &cue;
    return nullptr;
}

// Where one track lies on the disc: its index 0 and 1, and the sector that
// the track's first byte in the file (its index 0 for DAO) belongs to.
struct Placement {
    int64_t pregapStart;
    int64_t start;
    int64_t fileFirst;
};

// cursor: the sector after the previous track's data. floor: for a track
// opening a session, the first sector it may cover (after the lead-in).
Placement Place(const NrgDescription& nrg, const NrgTrack& t, bool opensSession, int64_t cursor, int64_t floor)
{
    if (!t.dao) {
        // Track at once: the image leaves out the pregap before each track.
        const int64_t earliest = (opensSession ? floor : cursor) + kTrackPregap;
        const int64_t start = std::max<int64_t>(t.taoLba, earliest);
        return {opensSession ? floor : cursor, start, start};
    }
    // Disc at once: the file follows the disc sector by sector.
    const int64_t filePregap = int64_t((t.startOffset - t.pregapOffset) / t.sectorSize);
    if (!opensSession)
        return {cursor, cursor + filePregap, cursor};
    // Without a cue point the file is taken to begin at the floor, with at
    // least the usual two-second pregap.
    const CuePoint* cue = FindCue(nrg, t.number, 1);
    const int64_t start = cue ? cue->lba : floor + std::max<int64_t>(kTrackPregap, filePregap);
    const int64_t fileFirst = start - filePregap;
    return {std::min(start, std::max(fileFirst, floor)), start, fileFirst};
}

// Places every track of the description on the disc.
std::optional<DiscImage> Lay(const std::string& path, const NrgDescription& nrg, uint64_t dataEnd)
{
    DiscImage disc;
    disc.files.push_back(path);
    disc.catalog = nrg.catalog;
    disc.cdTextPacks = nrg.cdText;
    disc.dvd = (nrg.mediaType & kDvdMedia) != 0 && (nrg.mediaType & kCdMedia) == 0;
    const std::vector<int> sessionOf = SessionOfTracks(nrg);

    int64_t cursor = 0;
    int64_t floor = -kTrackPregap; // the first pregap lies at -150..-1
    for (size_t i = 0; i < nrg.tracks.size(); ++i) {
        const NrgTrack& t = nrg.tracks[i];
        const int session = sessionOf[i];
        const bool opensSession = i == 0 || sessionOf[i - 1] != session;
        if (opensSession && i > 0) {
            disc.sessions.push_back({int(disc.sessions.size()) + 1, 0x00, int32_t(cursor)});
            floor = cursor + (disc.sessions.size() == 1 ? kGapAfterFirstSession : kGapAfterLaterSession);
        }
        if (session != int(disc.sessions.size()) + 1)
            return std::nullopt;

        const Placement where = Place(nrg, t, opensSession, cursor, floor);
        const int64_t end = where.start + int64_t((t.endOffset - t.startOffset) / t.sectorSize);
        if (end <= where.start || where.pregapStart > where.start || where.pregapStart < floor ||
            where.pregapStart < cursor - (i == 0 ? kTrackPregap : 0) || end > INT32_MAX)
            return std::nullopt;

        ImageTrack track;
        track.number = t.number;
        track.session = session;
        track.mode = t.layout->mode;
        const CuePoint* cue = FindCue(nrg, t.number, 1);
        track.control = cue ? cue->control : uint8_t(t.layout->mode == TrackMode::Audio ? 0x00 : 0x04);
        track.pregapStart = int32_t(where.pregapStart);
        track.start = int32_t(where.start);
        track.isrc = t.isrc;
        for (const CuePoint& c : nrg.cues)
            if (c.track == t.number && c.index >= 2 && c.lba > where.start && c.lba < end)
                track.furtherIndexes.push_back(c.lba);
        std::sort(track.furtherIndexes.begin(), track.furtherIndexes.end());
        disc.tracks.push_back(track);

        // A pregap the file holds more of than the disc has room for is cut.
        const int64_t runFirst = std::max(where.fileFirst, where.pregapStart);
        const SectorRun run{int32_t(runFirst),
                            int32_t(end - runFirst),
                            t.layout->storage,
                            0,
                            t.pregapOffset + uint64_t(runFirst - where.fileFirst) * t.sectorSize,
                            t.sectorSize,
                            false};
        disc.runs.push_back(ClipRun(run, dataEnd));
        if (runFirst > where.pregapStart) // a pregap the image leaves out reads as empty sectors
            disc.runs.push_back({int32_t(where.pregapStart), int32_t(runFirst - where.pregapStart),
                                 SectorStorage::Absent, -1, 0, 0, false});
        cursor = end;
    }
    disc.sessions.push_back({int(disc.sessions.size()) + 1, 0x00, int32_t(cursor)});
    for (ImageSession& session : disc.sessions)
        for (const ImageTrack& track : disc.tracks)
            if (track.session == session.number && track.mode == TrackMode::Mode2)
                session.discType = 0x20;
    CloseTrackExtents(disc);
    return disc;
}

} // namespace

std::optional<DiscImage> ReadNrgImage(const std::string& path)
{
    ImageFile file(path);
    if (!file.IsOpen())
        return std::nullopt;
    uint64_t chainStart = 0;
    const std::optional<std::vector<Chunk>> chunks = ReadChunks(file, chainStart);
    if (!chunks)
        return std::nullopt;
    const std::optional<NrgDescription> nrg = Describe(*chunks);
    if (!nrg)
        return std::nullopt;
    return Lay(path, *nrg, chainStart);
}
