#include "drive/ImageTarget.h"

#include "common/ByteOrder.h"
#include "drive/MmcCommands.h"
#include "drive/SectorSynth.h"

#include <algorithm>
#include <cstring>

namespace {

ScsiResult Fail(const SenseData_tag& sense)
{
    ScsiResult r;
    r.status = DriveStatus::CheckCondition;
    r.sense = sense;
    r.sense.word = 0x70;
    return r;
}

// Copies a reply into the command's buffer, cut to the allocation length.
ScsiResult Answer(const ScsiCommand& c, const std::vector<uint8_t>& reply)
{
    ScsiResult r;
    const uint32_t n = std::min<uint32_t>(c.dataLength, uint32_t(reply.size()));
    if (n)
        std::memcpy(c.data, reply.data(), n);
    r.transferred = n;
    return r;
}

void PutMsf(uint8_t* p, int32_t lba)
{
    int32_t address = lba + 150;
    if (address < 0)
        address += 450000;
    p[0] = uint8_t(address / 4500);
    p[1] = uint8_t((address / 75) % 60);
    p[2] = uint8_t(address % 75);
}

uint8_t TrackControl(const ImageTrack& t) { return uint8_t((t.control & 0x0F) | (t.mode != TrackMode::Audio ? 0x04 : 0)); }

} // namespace

ImageTarget::ImageTarget(DiscImage image) { Load(std::move(image)); }

bool ImageTarget::Load(DiscImage image)
{
    Unload();
    std::vector<std::unique_ptr<ImageFile>> files;
    for (const std::string& path : image.files) {
        auto file = std::make_unique<ImageFile>(path);
        if (!file->IsOpen())
            return false;
        files.push_back(std::move(file));
    }
    files_ = std::move(files);
    image_ = std::move(image);
    return true;
}

void ImageTarget::Unload()
{
    image_.reset();
    files_.clear();
}

ScsiResult ImageTarget::Execute(const ScsiCommand& c)
{
    if (c.cdbLength == 0 || (c.dataLength && !c.data))
        return Fail(Sense::InvalidFieldInCdb);
    const uint8_t opcode = c.cdb[0];
    // Replies shorter than the buffer leave zeros behind them. Reads fill
    // whole sectors, and the caller zeroed its buffer for a failed one.
    if (c.data && c.dataLength && opcode != Mmc::Opcode::Read10 && opcode != Mmc::Opcode::ReadCd)
        std::memset(c.data, 0, c.dataLength);
    if (opcode == Mmc::Opcode::Inquiry)
        return Inquiry(c);
    if (opcode == Mmc::Opcode::GetConfiguration)
        return GetConfiguration(c);
    if (opcode == Mmc::Opcode::ModeSense10)
        return ModeSense10(c);
    if (opcode == Mmc::Opcode::PreventAllowMediumRemoval || opcode == Mmc::Opcode::StartStopUnit)
        return ScsiResult{};
    if (!image_)
        return Fail(Sense::NotReadyNoMedium);
    switch (opcode) {
    case Mmc::Opcode::TestUnitReady:
        return ScsiResult{};
    case Mmc::Opcode::ReadTocPmaAtip:
        return ReadToc(c);
    case Mmc::Opcode::ReadDiscInformation:
        return ReadDiscInformation(c);
    case Mmc::Opcode::ReadTrackInformation:
        return ReadTrackInformation(c);
    case Mmc::Opcode::Read10:
    case Mmc::Opcode::ReadCd: {
        // A failed read transfers nothing, as with a drive.
        ScsiResult result = opcode == Mmc::Opcode::Read10 ? Read10(c) : ReadCd(c);
        if (result.status != DriveStatus::Good && c.data)
            std::memset(c.data, 0, c.dataLength);
        return result;
    }
    default:
        return Fail(Sense::InvalidOpcode);
    }
}

ScsiResult ImageTarget::Inquiry(const ScsiCommand& c)
{
    std::vector<uint8_t> reply(96, 0);
    reply[0] = 0x05; // CD/DVD device
    reply[1] = 0x80; // removable
    reply[2] = 0x05; // SPC-3
    reply[3] = 0x02;
    reply[4] = 91;
    std::memcpy(&reply[8], "MORVIK  ", 8);
    std::memcpy(&reply[16], "Image File      ", 16);
    std::memcpy(&reply[32], "1.0 ", 4);
    return Answer(c, reply);
}

std::vector<uint8_t> ImageTarget::FormattedToc(bool msf) const
{
    const DiscImage& disc = *image_;
    std::vector<uint8_t> reply(4, 0);
    auto addEntry = [&](uint8_t control, uint8_t number, int32_t lba) {
        uint8_t e[8] = {0, uint8_t(0x10 | control), number, 0, 0, 0, 0, 0};
        if (msf)
            PutMsf(&e[5], lba);
        else
            PutBE32(&e[4], uint32_t(lba));
        reply.insert(reply.end(), e, e + 8);
    };
    for (const ImageTrack& t : disc.tracks)
        addEntry(TrackControl(t), uint8_t(t.number), t.start);
    addEntry(TrackControl(disc.tracks.back()), 0xAA, disc.LeadOut());
    PutBE16(&reply[0], uint32_t(reply.size() - 2));
    reply[2] = uint8_t(disc.tracks.front().number);
    reply[3] = uint8_t(disc.tracks.back().number);
    return reply;
}

std::vector<uint8_t> ImageTarget::RawToc() const
{
    const DiscImage& disc = *image_;
    std::vector<uint8_t> reply(4, 0);
    auto addEntry = [&](uint8_t session, uint8_t control, uint8_t point, uint8_t pmin, uint8_t psec,
                        uint8_t pframe) {
        const uint8_t e[11] = {session, uint8_t(0x10 | control), 0, point, 0, 0, 0, 0, pmin, psec, pframe};
        reply.insert(reply.end(), e, e + 11);
    };
    for (const ImageSession& s : disc.sessions) {
        const ImageTrack* first = nullptr;
        const ImageTrack* last = nullptr;
        for (const ImageTrack& t : disc.tracks)
            if (t.session == s.number) {
                first = first ? first : &t;
                last = &t;
            }
        const uint8_t session = uint8_t(s.number);
        addEntry(session, TrackControl(*first), 0xA0, uint8_t(first->number), s.discType, 0);
        addEntry(session, TrackControl(*last), 0xA1, uint8_t(last->number), 0, 0);
        uint8_t leadOut[3];
        PutMsf(leadOut, s.leadOutStart);
        addEntry(session, TrackControl(*last), 0xA2, leadOut[0], leadOut[1], leadOut[2]);
        for (const ImageTrack& t : disc.tracks) {
            if (t.session != s.number)
                continue;
            uint8_t start[3];
            PutMsf(start, t.start);
            addEntry(session, TrackControl(t), uint8_t(t.number), start[0], start[1], start[2]);
        }
    }
    PutBE16(&reply[0], uint32_t(reply.size() - 2));
    reply[2] = 1;
    reply[3] = uint8_t(disc.sessions.size());
    return reply;
}

ScsiResult ImageTarget::ReadToc(const ScsiCommand& c)
{
    const uint8_t format = c.cdb[2] & 0x0F;
    const bool msf = (c.cdb[1] & 0x02) != 0;
    if (format == Mmc::TocFormat::Formatted)
        return Answer(c, FormattedToc(msf));
    if (image_->dvd)
        return Fail(Sense::InvalidFieldInCdb);
    if (format == Mmc::TocFormat::Raw)
        return Answer(c, RawToc());
    if (format == Mmc::TocFormat::CdText) {
        if (image_->cdTextPacks.empty())
            return Fail(Sense::InvalidFieldInCdb);
        std::vector<uint8_t> reply(4, 0);
        reply.insert(reply.end(), image_->cdTextPacks.begin(), image_->cdTextPacks.end());
        PutBE16(&reply[0], uint32_t(std::min<size_t>(reply.size() - 2, 0xFFFF)));
        return Answer(c, reply);
    }
    return Fail(Sense::InvalidFieldInCdb);
}

ScsiResult ImageTarget::ReadDiscInformation(const ScsiCommand& c)
{
    const DiscImage& disc = *image_;
    std::vector<uint8_t> reply(34, 0);
    PutBE16(&reply[0], 32);
    reply[2] = 0x0E; // last session complete, disc finalised
    reply[3] = uint8_t(disc.tracks.front().number);
    reply[4] = uint8_t(disc.sessions.size());
    const int lastSession = disc.sessions.back().number;
    const ImageTrack* firstInLast = nullptr;
    for (const ImageTrack& t : disc.tracks)
        if (t.session == lastSession && !firstInLast)
            firstInLast = &t;
    reply[5] = uint8_t(firstInLast->number);
    reply[6] = uint8_t(disc.tracks.back().number);
    reply[7] = 0x20; // unrestricted use
    reply[8] = disc.dvd ? 0x00 : disc.sessions.back().discType;
    PutBE32(&reply[16], 0xFFFFFFFF);
    PutBE32(&reply[20], 0xFFFFFFFF);
    return Answer(c, reply);
}

ScsiResult ImageTarget::ReadTrackInformation(const ScsiCommand& c)
{
    const DiscImage& disc = *image_;
    const uint8_t addressType = c.cdb[1] & 0x03;
    const uint32_t number = GetBE32(&c.cdb[2]);
    const ImageTrack* track = nullptr;
    if (addressType == 1) {
        for (const ImageTrack& t : disc.tracks)
            if (uint32_t(t.number) == number)
                track = &t;
    } else if (addressType == 0) {
        track = disc.TrackAt(int32_t(number));
    }
    if (!track)
        return Fail(Sense::InvalidFieldInCdb);

    // The track runs up to the next track's start in its session, or to the
    // session's lead-out: the same extent the table of contents implies.
    int32_t end = disc.sessions[track->session - 1].leadOutStart;
    const auto next = std::find_if(disc.tracks.begin(), disc.tracks.end(),
                                   [&](const ImageTrack& t) { return t.number > track->number; });
    if (next != disc.tracks.end() && next->session == track->session)
        end = next->start;

    std::vector<uint8_t> reply(36, 0);
    PutBE16(&reply[0], 34);
    reply[2] = uint8_t(track->number);
    reply[3] = uint8_t(track->session);
    reply[5] = TrackControl(*track);
    reply[6] = track->mode == TrackMode::Audio ? 0x0F : (track->mode == TrackMode::Mode1 ? 0x01 : 0x02);
    PutBE32(&reply[8], uint32_t(track->start));
    PutBE32(&reply[24], uint32_t(end - track->start));
    PutBE32(&reply[28], uint32_t(end - 1));
    return Answer(c, reply);
}

ScsiResult ImageTarget::GetConfiguration(const ScsiCommand& c)
{
    const uint16_t profile = !image_ ? 0 : (image_->dvd ? 0x0010 : 0x0008);
    std::vector<uint8_t> reply(8, 0);
    PutBE16(&reply[6], profile);
    const uint8_t requestType = c.cdb[1] & 0x03;
    const uint16_t startingFeature = GetBE16(&c.cdb[2]);
    auto addFeature = [&](uint16_t code, uint8_t flags, std::vector<uint8_t> data) {
        const bool wanted = requestType == 2 ? code == startingFeature : code >= startingFeature;
        if (!wanted)
            return;
        uint8_t head[4];
        PutBE16(head, code);
        head[2] = flags;
        head[3] = uint8_t(data.size());
        reply.insert(reply.end(), head, head + 4);
        reply.insert(reply.end(), data.begin(), data.end());
    };
    const bool cd = image_ && !image_->dvd;
    const bool dvd = image_ && image_->dvd;
    // Profile list: DVD-ROM and CD-ROM, the loaded one current.
    addFeature(0x0000, 0x03, {0x00, 0x10, uint8_t(dvd ? 1 : 0), 0, 0x00, 0x08, uint8_t(cd ? 1 : 0), 0});
    addFeature(0x0001, 0x0B, {0, 0, 0, 0x08, 0x01, 0, 0, 0}); // core: ATAPI, DBE
    addFeature(0x0003, 0x03, {0x29, 0, 0, 0});                 // removable medium, tray, eject
    addFeature(0x001E, uint8_t(0x08 | 0x03 | (cd ? 0x01 : 0)), {0x03, 0, 0, 0}); // CD read with CD-Text
    addFeature(0x001F, uint8_t(0x03 | (dvd ? 0x01 : 0)), {});  // DVD read
    PutBE32(&reply[0], uint32_t(reply.size() - 4));
    return Answer(c, reply);
}

ScsiResult ImageTarget::ModeSense10(const ScsiCommand& c)
{
    if ((c.cdb[2] & 0x3F) != 0x2A)
        return Fail(Sense::InvalidFieldInCdb);
    std::vector<uint8_t> reply(8 + 28, 0);
    PutBE16(&reply[0], uint32_t(reply.size() - 2));
    uint8_t* page = &reply[8];
    page[0] = 0x2A;
    page[1] = 26;
    page[2] = 0x3B; // reads what an image can hold: CD-R/RW, DVD-ROM, DVD-R, DVD-RAM
    page[3] = 0x00; // writes nothing
    page[4] = 0x71; // audio play, Mode 2 Form 1 and 2, multi-session
    page[5] = 0x63; // CD-DA commands, accurate stream, ISRC, UPC
    page[6] = 0x29; // lock, eject, tray loading
    return Answer(c, reply);
}

bool ImageTarget::ReadStored(const SectorRun& run, int32_t lba, uint8_t* out, uint32_t length)
{
    const uint64_t offset = run.offset + uint64_t(lba - run.firstLba) * run.stride;
    return files_[size_t(run.fileIndex)]->Read(offset, out, length);
}

bool ImageTarget::ReadRawSector(int32_t lba, uint8_t* out, SenseData_tag& sense)
{
    const DiscImage& disc = *image_;
    const ImageTrack* track = disc.TrackAt(lba);
    if (!track) {
        sense = (lba >= disc.LeadOut() || lba < -150) ? Sense::LbaOutOfRange : Sense::UnrecoveredReadError;
        return false;
    }
    const SectorRun* run = disc.RunAt(lba);
    if (!run) {
        sense = Sense::UnrecoveredReadError;
        return false;
    }
    std::memset(out, 0, Mmc::kRawSectorSize);
    switch (run->storage) {
    case SectorStorage::Raw2352:
        if (!ReadStored(*run, lba, out, Mmc::kRawSectorSize))
            break;
        if (run->swapAudioBytes && track->mode == TrackMode::Audio)
            for (uint32_t i = 0; i + 1 < Mmc::kRawSectorSize; i += 2)
                std::swap(out[i], out[i + 1]);
        return true;
    case SectorStorage::User2048:
        if (!ReadStored(*run, lba, out + (track->mode == TrackMode::Mode1 ? 16 : 24), 2048))
            break;
        if (track->mode == TrackMode::Mode1)
            SectorSynth::CompleteMode1(out, lba);
        else
            SectorSynth::CompleteMode2(out, lba);
        return true;
    case SectorStorage::Mode2_2336:
        if (!ReadStored(*run, lba, out + 16, 2336))
            break;
        SectorSynth::WriteHeader(out, lba, 2);
        return true;
    case SectorStorage::Form2_2324:
        if (!ReadStored(*run, lba, out + 24, 2324))
            break;
        out[18] = out[22] = 0x20; // sub-header: Form 2
        SectorSynth::CompleteMode2(out, lba);
        return true;
    case SectorStorage::Absent:
        // Pregaps and silence: zeros for audio, an empty sector for data.
        if (track->mode == TrackMode::Mode1)
            SectorSynth::CompleteMode1(out, lba);
        else if (track->mode != TrackMode::Audio)
            SectorSynth::CompleteMode2(out, lba);
        return true;
    }
    sense = Sense::UnrecoveredReadError;
    return false;
}

// The user data of one sector, located by its header as a drive does:
// 2048 bytes for Mode 1 and Form 1, 2324 for Form 2, 2336 for formless
// Mode 2, 2352 for audio.
bool ImageTarget::ReadUserData(int32_t lba, uint8_t* out, uint32_t& length, SenseData_tag& sense)
{
    const ImageTrack* track = image_->TrackAt(lba);
    const SectorRun* run = image_->RunAt(lba);
    if (track && run && run->storage == SectorStorage::User2048) {
        length = 2048;
        if (ReadStored(*run, lba, out, 2048))
            return true;
        sense = Sense::UnrecoveredReadError;
        return false;
    }
    uint8_t raw[Mmc::kRawSectorSize];
    if (!ReadRawSector(lba, raw, sense))
        return false;
    if (track->mode == TrackMode::Audio) {
        length = Mmc::kRawSectorSize;
        std::memcpy(out, raw, length);
        return true;
    }
    const uint8_t mode = raw[15];
    if (mode == 2 && track->mode == TrackMode::Mode2Formless) {
        length = 2336;
        std::memcpy(out, raw + 16, length);
    } else if (mode == 2) {
        const bool form2 = (raw[18] & 0x20) != 0;
        length = form2 ? 2324 : 2048;
        std::memcpy(out, raw + 24, length);
    } else {
        length = 2048;
        std::memcpy(out, raw + 16, length);
    }
    return true;
}

ScsiResult ImageTarget::Read10(const ScsiCommand& c)
{
    const int32_t lba = int32_t(GetBE32(&c.cdb[2]));
    const uint32_t count = GetBE16(&c.cdb[7]);
    if (uint64_t(count) * 2048 > c.dataLength)
        return Fail(Sense::InvalidFieldInCdb);
    ScsiResult result;
    uint8_t sector[Mmc::kRawSectorSize];
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t at = lba + int32_t(i);
        uint8_t* out = c.data + size_t(i) * 2048;
        if (at < 0 || at >= image_->LeadOut())
            return Fail(Sense::LbaOutOfRange);
        const ImageTrack* track = image_->TrackAt(at);
        if (track && track->mode == TrackMode::Audio)
            return Fail(Sense::IncompatibleFormat);
        // Stored user data goes straight to the caller: the common case of
        // an .iso read one sector at a time.
        const SectorRun* run = image_->RunAt(at);
        if (track && run && run->storage == SectorStorage::User2048) {
            if (!ReadStored(*run, at, out, 2048))
                return Fail(Sense::UnrecoveredReadError);
        } else {
            uint32_t length = 0;
            SenseData_tag sense;
            if (!ReadUserData(at, sector, length, sense))
                return Fail(sense);
            if (length != 2048)
                return Fail(Sense::IncompatibleFormat); // Form 2 sectors need READ CD
            std::memcpy(out, sector, 2048);
        }
        result.transferred += 2048;
    }
    return result;
}

ScsiResult ImageTarget::ReadCd(const ScsiCommand& c)
{
    if (image_->dvd)
        return Fail(Sense::IncompatibleFormat);
    const int32_t lba = int32_t(GetBE32(&c.cdb[2]));
    const uint32_t count = (uint32_t(c.cdb[6]) << 16) | (uint32_t(c.cdb[7]) << 8) | c.cdb[8];
    const uint8_t fields = c.cdb[9];
    const bool raw = (fields & 0xF8) == Mmc::ReadCdFields::FullRaw;
    if (!raw && fields != Mmc::ReadCdFields::UserData)
        return Fail(Sense::InvalidFieldInCdb);
    ScsiResult result;
    uint8_t sector[Mmc::kRawSectorSize];
    uint32_t offset = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t at = lba + int32_t(i);
        if (at < -150 || at >= image_->LeadOut())
            return Fail(Sense::LbaOutOfRange);
        SenseData_tag sense;
        uint32_t length = Mmc::kRawSectorSize;
        const bool ok = raw ? ReadRawSector(at, sector, sense) : ReadUserData(at, sector, length, sense);
        if (!ok)
            return Fail(sense);
        if (uint64_t(offset) + length > c.dataLength)
            return Fail(Sense::InvalidFieldInCdb);
        std::memcpy(c.data + offset, sector, length);
        offset += length;
        result.transferred = offset;
    }
    return result;
}
