#include "support/ImageWriters.h"

#include "common/ByteOrder.h"
#include "drive/SectorSynth.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace {

constexpr int32_t kPregap = 150;

void PutBE64(uint8_t* p, uint64_t v)
{
    PutBE32(p, uint32_t(v >> 32));
    PutBE32(p + 4, uint32_t(v));
}

void PutLE64(uint8_t* p, uint64_t v)
{
    PutLE32(p, uint32_t(v));
    PutLE32(p + 4, uint32_t(v >> 32));
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void Save(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

uint8_t Control(const TestTrack& t) { return t.kind == TestTrackKind::Audio ? 0x00 : 0x04; }

// Lead-in address of a sector as minutes, seconds, frames.
void ToMsf(int32_t lba, uint8_t& m, uint8_t& s, uint8_t& f)
{
    int32_t address = lba + 150;
    if (address < 0)
        address += 450000;
    m = uint8_t(address / 4500);
    s = uint8_t(address / 75 % 60);
    f = uint8_t(address % 75);
}

uint16_t CdTextCrc(const uint8_t* pack)
{
    uint16_t crc = 0;
    for (int i = 0; i < 16; ++i) {
        crc ^= uint16_t(pack[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = uint16_t((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return uint16_t(~crc);
}

std::vector<size_t> TracksOfSession(const TestDisc& disc, int session)
{
    std::vector<size_t> indexes;
    for (size_t i = 0; i < disc.tracks.size(); ++i)
        if (disc.tracks[i].session == session)
            indexes.push_back(i);
    return indexes;
}

int SessionCount(const TestDisc& disc) { return disc.tracks.empty() ? 0 : disc.tracks.back().session; }

// The bytes of one sector as an image stores it: raw, raw with a
// subchannel after it, or only the user data.
std::vector<uint8_t> StoredSector(const TestDisc& disc, size_t track, int32_t lba, size_t rawBytes)
{
    std::vector<uint8_t> raw = RawSector(disc, track, lba);
    if (rawBytes == 2048) {
        const size_t at = disc.tracks[track].kind == TestTrackKind::Mode2Form1 ? 24 : 16;
        return std::vector<uint8_t>(raw.begin() + ptrdiff_t(at), raw.begin() + ptrdiff_t(at) + 2048);
    }
    raw.resize(rawBytes, 0xA5); // a subchannel that is surely no sector data
    return raw;
}

} // namespace

bool TestDisc::HasCdText() const
{
    bool any = !title.empty() || !performer.empty();
    for (const TestTrack& t : tracks)
        any = any || !t.title.empty() || !t.performer.empty();
    return any;
}

TestLayout PlanLayout(const TestDisc& disc)
{
    TestLayout layout;
    int32_t cursor = 0;
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        int32_t start = cursor + kPregap;
        if (i == 0) {
            start = 0;
        } else if (disc.tracks[i].session != disc.tracks[i - 1].session) {
            layout.leadOuts.push_back(cursor);
            start = cursor + (layout.leadOuts.size() == 1 ? 11250 : 6750) + kPregap;
        }
        layout.starts.push_back(start);
        cursor = start + disc.tracks[i].Sectors();
        layout.ends.push_back(cursor);
    }
    layout.leadOuts.push_back(cursor);
    return layout;
}

std::vector<uint8_t> TestPcm(int32_t sectors, uint8_t seed)
{
    std::vector<uint8_t> pcm(size_t(sectors) * 2352);
    for (size_t i = 0; i < pcm.size(); i += 2) {
        pcm[i] = uint8_t(i / 2 * 7 + seed);
        pcm[i + 1] = uint8_t(pcm[i] ^ 0x5A);
    }
    return pcm;
}

std::vector<uint8_t> RawSector(const TestDisc& disc, size_t track, int32_t lba)
{
    const TestTrack& t = disc.tracks[track];
    const int32_t start = PlanLayout(disc).starts[track];
    std::vector<uint8_t> raw(2352, 0);
    const bool pregap = lba < start;
    const size_t index = pregap ? 0 : size_t(lba - start);
    switch (t.kind) {
    case TestTrackKind::Audio:
        if (!pregap)
            std::copy_n(t.data.begin() + ptrdiff_t(index * 2352), 2352, raw.begin());
        break;
    case TestTrackKind::Mode1:
        if (!pregap)
            std::copy_n(t.data.begin() + ptrdiff_t(index * 2048), 2048, raw.begin() + 16);
        SectorSynth::CompleteMode1(raw.data(), lba);
        break;
    case TestTrackKind::Mode2Form1:
        if (!pregap) {
            raw[18] = raw[22] = 0x08; // sub-header: data, Form 1
            std::copy_n(t.data.begin() + ptrdiff_t(index * 2048), 2048, raw.begin() + 24);
        }
        SectorSynth::CompleteMode2(raw.data(), lba);
        break;
    }
    return raw;
}

std::vector<uint8_t> CdTextPacks(const TestDisc& disc)
{
    std::vector<uint8_t> packs;
    uint8_t sequence = 0;
    for (uint8_t type : {uint8_t(0x80), uint8_t(0x81)}) {
        // The texts of the disc (track 0) and the tracks, each ending in a zero.
        std::vector<std::pair<int, std::string>> texts{{0, type == 0x80 ? disc.title : disc.performer}};
        for (size_t i = 0; i < disc.tracks.size(); ++i)
            texts.push_back({int(i) + 1, type == 0x80 ? disc.tracks[i].title : disc.tracks[i].performer});
        std::vector<std::pair<int, int>> owner; // track and position in its text, per byte
        std::string stream;
        for (const auto& [trackNumber, text] : texts) {
            for (size_t i = 0; i <= text.size(); ++i)
                owner.push_back({trackNumber, int(i)});
            stream += text;
            stream += '\0';
        }
        for (size_t at = 0; at < stream.size(); at += 12) {
            uint8_t pack[18] = {type, uint8_t(owner[at].first), sequence++,
                                uint8_t(std::min(owner[at].second, 15))};
            for (size_t i = 0; i < 12 && at + i < stream.size(); ++i)
                pack[4 + i] = uint8_t(stream[at + i]);
            PutBE16(pack + 16, CdTextCrc(pack));
            packs.insert(packs.end(), pack, pack + 18);
        }
    }
    // Block size information: character code, track range, pack counts per
    // type, last sequence number of the block, language (English).
    uint8_t info[36] = {0x00, 1, uint8_t(disc.tracks.size())};
    for (size_t at = 0; at < packs.size(); at += 18)
        ++info[4 + (packs[at] & 0x0F)];
    info[4 + 0x0F] = 3;
    info[20] = uint8_t(sequence + 2);
    info[28] = 0x09;
    for (uint8_t part = 0; part < 3; ++part) {
        uint8_t pack[18] = {0x8F, part, sequence++, 0};
        std::copy_n(info + 12 * part, 12, pack + 4);
        PutBE16(pack + 16, CdTextCrc(pack));
        packs.insert(packs.end(), pack, pack + 18);
    }
    return packs;
}

void WriteNrg(const std::filesystem::path& path, const TestDisc& disc, const NrgOptions& options)
{
    const TestLayout layout = PlanLayout(disc);
    const bool wide = options.version == 2;
    std::vector<uint8_t> file;
    std::vector<uint8_t> chunks;
    auto addChunk = [&](const char* id, const std::vector<uint8_t>& data) {
        uint8_t head[8];
        std::copy_n(id, 4, head);
        PutBE32(head + 4, uint32_t(data.size()));
        chunks.insert(chunks.end(), head, head + 8);
        Append(chunks, data);
    };
    auto sectorBytes = [&](const TestTrack& t) -> size_t {
        if (options.format == NrgFormat::RawWithSubchannel)
            return 2448;
        return options.format == NrgFormat::Cooked && t.kind != TestTrackKind::Audio ? 2048 : 2352;
    };
    auto modeCode = [&](const TestTrack& t) -> uint8_t {
        const bool sub = options.format == NrgFormat::RawWithSubchannel;
        switch (t.kind) {
        case TestTrackKind::Audio:
            return sub ? 0x10 : 0x07;
        case TestTrackKind::Mode1:
            return sub ? 0x0F : options.format == NrgFormat::Cooked ? 0x00 : 0x05;
        case TestTrackKind::Mode2Form1:
            return sub ? 0x11 : options.format == NrgFormat::Cooked ? 0x02 : 0x06;
        }
        return 0;
    };
    auto appendSectors = [&](size_t track, int32_t from, int32_t to) {
        for (int32_t lba = from; lba < to; ++lba)
            Append(file, StoredSector(disc, track, lba, sectorBytes(disc.tracks[track])));
    };

    std::vector<uint8_t> sinf;
    for (int session = 1; session <= SessionCount(disc); ++session) {
        const std::vector<size_t> tracks = TracksOfSession(disc, session);
        if (options.trackAtOnce) {
            std::vector<uint8_t> etn;
            for (size_t i : tracks) {
                const uint64_t offset = file.size();
                appendSectors(i, layout.starts[i], layout.ends[i]);
                std::vector<uint8_t> e(wide ? 32 : 20, 0);
                const uint64_t length = file.size() - offset;
                uint8_t* rest = e.data() + (wide ? 16 : 8);
                if (wide) {
                    PutBE64(e.data(), offset);
                    PutBE64(e.data() + 8, length);
                    PutBE32(rest + 12, uint32_t(disc.tracks[i].Sectors()));
                } else {
                    PutBE32(e.data(), uint32_t(offset));
                    PutBE32(e.data() + 4, uint32_t(length));
                }
                PutBE32(rest, modeCode(disc.tracks[i]));
                PutBE32(rest + 4, uint32_t(layout.starts[i]));
                Append(etn, e);
            }
            addChunk(wide ? "ETN2" : "ETNF", etn);
        } else {
            std::vector<uint8_t> cues;
            auto addCue = [&](uint8_t control, uint8_t track, uint8_t index, int32_t lba) {
                uint8_t e[8] = {uint8_t(control << 4 | 1), track, index, 0, 0, 0, 0, 0};
                if (wide)
                    PutBE32(e + 4, uint32_t(lba));
                else
                    ToMsf(lba, e[5], e[6], e[7]);
                cues.insert(cues.end(), e, e + 8);
            };
            auto bcd = [](size_t n) { return uint8_t((n / 10) << 4 | (n % 10)); };
            addCue(Control(disc.tracks[tracks.front()]), 0, 0, layout.starts[tracks.front()] - kPregap);
            std::vector<uint8_t> dao(22, 0);
            dao[20] = uint8_t(tracks.front() + 1);
            dao[21] = uint8_t(tracks.back() + 1);
            for (size_t i : tracks) {
                const TestTrack& t = disc.tracks[i];
                addCue(Control(t), bcd(i + 1), 0, layout.starts[i] - kPregap);
                addCue(Control(t), bcd(i + 1), 1, layout.starts[i]);
                const uint64_t index0 = file.size();
                appendSectors(i, layout.starts[i] - kPregap, layout.starts[i]);
                const uint64_t index1 = file.size();
                appendSectors(i, layout.starts[i], layout.ends[i]);
                std::vector<uint8_t> e(wide ? 42 : 30, 0);
                PutBE16(e.data() + 12, uint32_t(sectorBytes(t)));
                e[14] = modeCode(t);
                e[17] = 1;
                if (wide) {
                    PutBE64(e.data() + 18, index0);
                    PutBE64(e.data() + 26, index1);
                    PutBE64(e.data() + 34, file.size());
                } else {
                    PutBE32(e.data() + 18, uint32_t(index0));
                    PutBE32(e.data() + 22, uint32_t(index1));
                    PutBE32(e.data() + 26, uint32_t(file.size()));
                }
                Append(dao, e);
            }
            addCue(Control(disc.tracks[tracks.back()]), 0xAA, 1, layout.leadOuts[size_t(session) - 1]);
            PutBE32(dao.data(), uint32_t(dao.size()));
            addChunk(wide ? "CUEX" : "CUES", cues);
            addChunk(wide ? "DAOX" : "DAOI", dao);
        }
        std::vector<uint8_t> count(4);
        PutBE32(count.data(), uint32_t(tracks.size()));
        Append(sinf, count);
    }
    if (disc.HasCdText())
        addChunk("CDTX", CdTextPacks(disc));
    for (size_t at = 0; at < sinf.size(); at += 4)
        addChunk("SINF", std::vector<uint8_t>(sinf.begin() + ptrdiff_t(at), sinf.begin() + ptrdiff_t(at) + 4));
    addChunk("MTYP", {0, 0, 0, 1});
    addChunk("END!", {});

    const uint64_t chainStart = file.size();
    Append(file, chunks);
    std::vector<uint8_t> footer(wide ? 12 : 8);
    std::copy_n(wide ? "NER5" : "NERO", 4, footer.begin());
    if (wide)
        PutBE64(footer.data() + 4, chainStart);
    else
        PutBE32(footer.data() + 4, uint32_t(chainStart));
    Append(file, footer);
    Save(path, file);
}

void WriteCloneCd(const std::filesystem::path& base, const TestDisc& disc, bool withSubchannel)
{
    const TestLayout layout = PlanLayout(disc);
    std::string ccd = "[CloneCD]\r\nVersion=3\r\n";
    std::string entries;
    int entryCount = 0;
    auto addEntry = [&](int session, int point, uint8_t control, int32_t lba, int pmin, int psec, int pframe) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "[Entry %d]\r\nSession=%d\r\nPoint=0x%02x\r\nADR=0x01\r\nControl=0x%02x\r\nTrackNo=0\r\n"
                      "AMin=0\r\nASec=0\r\nAFrame=0\r\nALBA=-150\r\nZero=0\r\nPMin=%d\r\nPSec=%d\r\nPFrame=%d\r\n"
                      "PLBA=%d\r\n",
                      entryCount++, session, point, control, pmin, psec, pframe, lba);
        entries += text;
    };
    std::string trackSections;
    for (int session = 1; session <= SessionCount(disc); ++session) {
        const std::vector<size_t> tracks = TracksOfSession(disc, session);
        const TestTrack& first = disc.tracks[tracks.front()];
        const TestTrack& last = disc.tracks[tracks.back()];
        const bool xa = first.kind == TestTrackKind::Mode2Form1;
        addEntry(session, 0xA0, Control(first), 0, int(tracks.front() + 1), xa ? 0x20 : 0, 0);
        addEntry(session, 0xA1, Control(last), 0, int(tracks.back() + 1), 0, 0);
        uint8_t m, s, f;
        ToMsf(layout.leadOuts[size_t(session) - 1], m, s, f);
        addEntry(session, 0xA2, Control(last), layout.leadOuts[size_t(session) - 1], m, s, f);
        for (size_t i : tracks) {
            ToMsf(layout.starts[i], m, s, f);
            addEntry(session, int(i + 1), Control(disc.tracks[i]), layout.starts[i], m, s, f);
            const int mode = disc.tracks[i].kind == TestTrackKind::Audio ? 0
                             : disc.tracks[i].kind == TestTrackKind::Mode1 ? 1
                                                                          : 2;
            char text[128];
            if (i == 0)
                std::snprintf(text, sizeof text, "[TRACK %zu]\r\nMODE=%d\r\nINDEX 1=%d\r\n", i + 1, mode,
                              layout.starts[i]);
            else
                std::snprintf(text, sizeof text, "[TRACK %zu]\r\nMODE=%d\r\nINDEX 0=%d\r\nINDEX 1=%d\r\n", i + 1,
                              mode, layout.starts[i] - kPregap, layout.starts[i]);
            trackSections += text;
        }
    }
    const std::vector<uint8_t> packs = disc.HasCdText() ? CdTextPacks(disc) : std::vector<uint8_t>{};
    ccd += "[Disc]\r\nTocEntries=" + std::to_string(entryCount) + "\r\nSessions=" +
           std::to_string(SessionCount(disc)) + "\r\nDataTracksScrambled=0\r\nCDTextLength=" +
           std::to_string(packs.size()) + "\r\n";
    if (!packs.empty()) {
        ccd += "[CDText]\r\nEntries=" + std::to_string(packs.size() / 18) + "\r\n";
        for (size_t at = 0; at < packs.size(); at += 18) {
            ccd += "Entry " + std::to_string(at / 18) + "=";
            for (size_t i = 0; i < 16; ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, i ? " %02x" : "%02x", packs[at + i]);
                ccd += hex;
            }
            ccd += "\r\n";
        }
    }
    for (int session = 1; session <= SessionCount(disc); ++session)
        ccd += "[Session " + std::to_string(session) + "]\r\nPreGapMode=1\r\nPreGapSubC=0\r\n";
    ccd += entries + trackSections;
    Save(base.string() + ".ccd", std::vector<uint8_t>(ccd.begin(), ccd.end()));

    // The image holds every sector from 0 to the last lead-out at
    // 2352 x its address; the gaps between sessions stay holes.
    std::ofstream img(base.string() + ".img", std::ios::binary | std::ios::trunc);
    std::ofstream sub;
    if (withSubchannel)
        sub.open(base.string() + ".sub", std::ios::binary | std::ios::trunc);
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        for (int32_t lba = std::max(0, layout.starts[i] - kPregap); lba < layout.ends[i]; ++lba) {
            const std::vector<uint8_t> raw = RawSector(disc, i, lba);
            img.seekp(std::streamoff(lba) * 2352);
            img.write(reinterpret_cast<const char*>(raw.data()), 2352);
            if (withSubchannel) {
                const std::vector<uint8_t> q(96, 0x00);
                sub.seekp(std::streamoff(lba) * 96);
                sub.write(reinterpret_cast<const char*>(q.data()), 96);
            }
        }
    }
}

void WriteAlcohol(const std::filesystem::path& base, const TestDisc& disc, bool withSubchannel)
{
    const TestLayout layout = PlanLayout(disc);
    const int sessions = SessionCount(disc);
    const uint32_t sectorSize = withSubchannel ? 2448 : 2352;

    // Sector data: every track's pregap (but the first, before sector 0)
    // and its sectors, in order.
    std::vector<uint8_t> mdf;
    std::vector<uint64_t> startOffsets;
    for (size_t i = 0; i < disc.tracks.size(); ++i) {
        for (int32_t lba = std::max(0, layout.starts[i] - kPregap); lba < layout.ends[i]; ++lba) {
            if (lba == layout.starts[i])
                startOffsets.push_back(mdf.size());
            Append(mdf, StoredSector(disc, i, lba, sectorSize));
        }
    }
    Save(base.string() + ".mdf", mdf);

    constexpr size_t kHeader = 88, kSession = 24, kTrack = 80, kExtra = 8, kFooter = 16;
    const size_t blocks = disc.tracks.size() + 3 * size_t(sessions);
    const size_t trackBlocksAt = kHeader + kSession * size_t(sessions);
    const size_t extrasAt = trackBlocksAt + kTrack * blocks;
    const size_t footerAt = extrasAt + kExtra * disc.tracks.size();
    const size_t nameAt = footerAt + kFooter;
    std::vector<uint8_t> mds(nameAt + 6, 0);
    std::copy_n("MEDIA DESCRIPTOR", 16, mds.begin());
    mds[16] = 1;
    mds[17] = 3;
    PutLE16(&mds[18], 0x00); // CD-ROM
    PutLE16(&mds[20], uint32_t(sessions));
    PutLE32(&mds[80], uint32_t(kHeader));

    size_t block = trackBlocksAt;
    for (int session = 1; session <= sessions; ++session) {
        const std::vector<size_t> tracks = TracksOfSession(disc, session);
        uint8_t* s = &mds[kHeader + kSession * size_t(session - 1)];
        PutLE32(s, uint32_t(layout.starts[tracks.front()] - kPregap));
        PutLE32(s + 4, uint32_t(layout.leadOuts[size_t(session) - 1]));
        PutLE16(s + 8, uint32_t(session));
        s[10] = uint8_t(tracks.size() + 3);
        s[11] = 3;
        PutLE16(s + 12, uint32_t(tracks.front() + 1));
        PutLE16(s + 14, uint32_t(tracks.back() + 1));
        PutLE32(s + 20, uint32_t(block));

        auto writeBlock = [&](uint8_t mode, uint8_t control, uint8_t point, int32_t lba, uint8_t pmin, uint8_t psec,
                              uint8_t pframe) {
            uint8_t* b = &mds[block];
            b[0] = mode;
            b[1] = withSubchannel ? 0x08 : 0x00;
            b[2] = uint8_t(0x10 | control);
            b[4] = point;
            b[9] = pmin;
            b[10] = psec;
            b[11] = pframe;
            PutLE32(b + 36, uint32_t(lba));
            block += kTrack;
            return b;
        };
        const TestTrack& first = disc.tracks[tracks.front()];
        writeBlock(0, Control(first), 0xA0, 0, uint8_t(tracks.front() + 1),
                   first.kind == TestTrackKind::Mode2Form1 ? 0x20 : 0, 0);
        writeBlock(0, Control(disc.tracks[tracks.back()]), 0xA1, 0, uint8_t(tracks.back() + 1), 0, 0);
        uint8_t m, sec, f;
        ToMsf(layout.leadOuts[size_t(session) - 1], m, sec, f);
        writeBlock(0, Control(disc.tracks[tracks.back()]), 0xA2, 0, m, sec, f);
        for (size_t i : tracks) {
            const TestTrack& t = disc.tracks[i];
            const uint8_t mode = t.kind == TestTrackKind::Audio ? 0xA9 : t.kind == TestTrackKind::Mode1 ? 0xAA : 0xAC;
            ToMsf(layout.starts[i], m, sec, f);
            uint8_t* b = writeBlock(mode, Control(t), uint8_t(i + 1), layout.starts[i], m, sec, f);
            PutLE32(b + 12, uint32_t(extrasAt + kExtra * i));
            PutLE16(b + 16, sectorSize);
            PutLE64(b + 40, startOffsets[i]);
            PutLE32(b + 48, 1);
            PutLE32(b + 52, uint32_t(footerAt));
            PutLE32(&mds[extrasAt + kExtra * i], uint32_t(kPregap));
            PutLE32(&mds[extrasAt + kExtra * i + 4], uint32_t(t.Sectors()));
        }
    }
    PutLE32(&mds[footerAt], uint32_t(nameAt));
    std::copy_n("*.mdf", 5, mds.begin() + ptrdiff_t(nameAt));
    Save(base.string() + ".mds", mds);
}

void WriteAlcoholDvd(const std::filesystem::path& base, const std::vector<uint8_t>& data)
{
    Save(base.string() + ".mdf", data);
    constexpr size_t kHeader = 88, kSession = 24, kTrack = 80, kFooter = 16;
    const size_t trackAt = kHeader + kSession, footerAt = trackAt + kTrack, nameAt = footerAt + kFooter;
    std::vector<uint8_t> mds(nameAt + 6, 0);
    std::copy_n("MEDIA DESCRIPTOR", 16, mds.begin());
    mds[16] = 1;
    mds[17] = 5;
    PutLE16(&mds[18], 0x10); // DVD-ROM
    PutLE16(&mds[20], 1);
    PutLE32(&mds[80], uint32_t(kHeader));
    uint8_t* s = &mds[kHeader];
    PutLE32(s + 4, uint32_t(data.size() / 2048));
    PutLE16(s + 8, 1);
    s[10] = 1;
    PutLE16(s + 12, 1);
    PutLE16(s + 14, 1);
    PutLE32(s + 20, uint32_t(trackAt));
    uint8_t* b = &mds[trackAt];
    b[0] = 0x02;
    b[2] = 0x14;
    b[4] = 1;
    PutLE16(b + 16, 2048);
    PutLE32(b + 48, 1);
    PutLE32(b + 52, uint32_t(footerAt));
    PutLE32(&mds[footerAt], uint32_t(nameAt));
    std::copy_n("*.mdf", 5, mds.begin() + ptrdiff_t(nameAt));
    Save(base.string() + ".mds", mds);
}

} // namespace testing_support
