#include "drive/SheetLayout.h"

#include "common/InputLimits.h"

#include <algorithm>

namespace {

// Between sessions: the lead-out (90 s after the first session, 30 s after
// later ones), the next lead-in (60 s) and the first track's pregap (2 s).
constexpr int32_t kFirstLeadOut = 6750;
constexpr int32_t kLaterLeadOut = 2250;
constexpr int32_t kLeadIn = 4500;
constexpr int32_t kSessionPregap = 150;

uint8_t DiscTypeOf(const std::vector<SheetTrack>& tracks, int session)
{
    for (const SheetTrack& t : tracks)
        if (t.session == session && (t.mode == TrackMode::Mode2 || t.mode == TrackMode::Mode2Formless))
            return 0x20;
    return 0x00;
}

} // namespace

int32_t SheetTrack::Length() const
{
    int64_t length = 0;
    for (const SheetPiece& p : pieces)
        length += p.count;
    return int32_t(std::min<int64_t>(length, INT32_MAX));
}

std::optional<DiscImage> LayOutSheet(SheetDisc sheet)
{
    if (sheet.tracks.empty() || sheet.tracks.size() > 99)
        return std::nullopt;
    DiscImage disc;
    disc.files = std::move(sheet.files);
    disc.catalog = std::move(sheet.catalog);
    int64_t position = 0;
    int session = 0;
    for (SheetTrack& t : sheet.tracks) {
        if (t.session != session) {
            if (t.session != session + 1 || (session == 0 && t.session != 1))
                return std::nullopt;
            if (session > 0) {
                disc.sessions.back().leadOutStart = int32_t(position);
                position += (session == 1 ? kFirstLeadOut : kLaterLeadOut) + kLeadIn;
                // The first track of a later session always has its 2 s pregap.
                if (t.pregap < kSessionPregap) {
                    t.pieces.insert(t.pieces.begin(), SheetPiece{kSessionPregap - t.pregap});
                    t.pregap = kSessionPregap;
                }
            }
            session = t.session;
            disc.sessions.push_back({session, DiscTypeOf(sheet.tracks, session), 0});
        }
        int64_t length = 0;
        for (const SheetPiece& p : t.pieces) {
            if (p.count < 0)
                return std::nullopt;
            length += p.count;
        }
        if (t.pregap < 0 || t.postgap < 0 || t.pregap + t.postgap >= length || position + length > InputLimits::kMaxSheetSectors)
            return std::nullopt;
        ImageTrack track;
        track.number = t.number;
        track.session = t.session;
        track.mode = t.mode;
        track.control = uint8_t((t.control & 0x0B) | (t.mode == TrackMode::Audio ? 0x00 : 0x04));
        track.pregapStart = int32_t(position);
        track.start = int32_t(position + t.pregap);
        track.end = int32_t(position + length);
        track.isrc = t.isrc;
        int32_t previousIndex = 0;
        for (int32_t offset : t.indexes) {
            if (offset <= previousIndex || track.start + int64_t(offset) >= track.end)
                return std::nullopt;
            track.furtherIndexes.push_back(track.start + offset);
            previousIndex = offset;
        }
        for (const SheetPiece& p : t.pieces) {
            if (p.count > 0)
                disc.runs.push_back({int32_t(position), p.count, p.storage, p.fileIndex, p.offset, p.stride,
                                     p.swapAudioBytes});
            position += p.count;
        }
        disc.tracks.push_back(std::move(track));
    }
    disc.sessions.back().leadOutStart = int32_t(position);

    if (!sheet.cdTextPacks.empty()) {
        disc.cdTextPacks = std::move(sheet.cdTextPacks);
    } else if (!sheet.cdText.empty()) {
        if (!disc.catalog.empty())
            sheet.cdText.emplace(std::make_pair(CdTextPack::kUpcIsrc, 0), disc.catalog);
        for (const ImageTrack& t : disc.tracks)
            if (!t.isrc.empty())
                sheet.cdText.emplace(std::make_pair(CdTextPack::kUpcIsrc, t.number), t.isrc);
        disc.cdTextPacks =
            EncodeCdTextPacks(sheet.cdText, disc.tracks.front().number, disc.tracks.back().number);
    }
    return disc;
}
