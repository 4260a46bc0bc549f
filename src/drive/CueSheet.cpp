// CUE sheets: FILE, TRACK, INDEX, PREGAP/POSTGAP, FLAGS, ISRC, CATALOG,
// REM SESSION, CD-Text lines and CDTEXTFILE. INDEX times count sectors from
// the start of the current FILE; file data lies on the disc back to back.
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/SheetLayout.h"
#include "drive/SheetText.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

struct CueFile {
    SheetText::DataExtent data;
    bool swapAudio = false; // MOTOROLA: big-endian samples
};

struct CueIndex {
    int number;
    int file;
    int32_t frame;
};

struct CueTrack {
    SheetTrack sheet;
    SectorStorage storage = SectorStorage::Raw2352;
    uint32_t stride = 2352;
    int32_t pregap = 0;  // PREGAP: generated, not in the file
    std::vector<CueIndex> indexes;
};

constexpr ModeName kModes[] = {
    {"AUDIO", TrackMode::Audio, SectorStorage::Raw2352, 2352},
    {"CDG", TrackMode::Audio, SectorStorage::Raw2352, 2448},
    {"MODE1/2048", TrackMode::Mode1, SectorStorage::User2048, 2048},
    {"MODE1/2352", TrackMode::Mode1, SectorStorage::Raw2352, 2352},
    {"MODE2/2048", TrackMode::Mode2, SectorStorage::User2048, 2048},
    {"MODE2/2324", TrackMode::Mode2, SectorStorage::Form2_2324, 2324},
    {"MODE2/2336", TrackMode::Mode2, SectorStorage::Mode2_2336, 2336},
    {"MODE2/2352", TrackMode::Mode2, SectorStorage::Raw2352, 2352},
    {"CDI/2336", TrackMode::Mode2, SectorStorage::Mode2_2336, 2336},
    {"CDI/2352", TrackMode::Mode2, SectorStorage::Raw2352, 2352},
};

const std::map<std::string, uint8_t> kTextKeywords = {
    {"TITLE", CdTextPack::kTitle},         {"PERFORMER", CdTextPack::kPerformer},
    {"SONGWRITER", CdTextPack::kSongwriter}, {"COMPOSER", CdTextPack::kComposer},
    {"ARRANGER", CdTextPack::kArranger},   {"MESSAGE", CdTextPack::kMessage},
    {"DISC_ID", CdTextPack::kDiscId},
};

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool IsCatalog(const std::string& text)
{
    return text.size() == 13 && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool IsIsrc(const std::string& text)
{
    return text.size() == 12 && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isalnum(c); });
}

// Words first..last-1 as one text: names and titles some writers leave
// unquoted.
std::string Joined(const std::vector<SheetText::Token>& words, size_t first, size_t last)
{
    std::string text;
    for (size_t i = first; i < last; ++i)
        text += (i > first ? " " : "") + words[i].text;
    return text;
}

class CueParser {
public:
    explicit CueParser(std::string path) : path_(std::move(path)) {}

    std::optional<DiscImage> Parse(const std::string& text)
    {
        size_t begin = 0;
        while (begin < text.size()) {
            size_t end = text.find('\n', begin);
            end = end == std::string::npos ? text.size() : end;
            if (!ParseLine(SheetText::Tokenize(text.substr(begin, end - begin), false)))
                return std::nullopt;
            begin = end + 1;
        }
        if (tracks_.empty() || sheet_.files.empty())
            return std::nullopt;
        if (!LayOutFileData())
            return std::nullopt;
        for (CueTrack& t : tracks_)
            sheet_.tracks.push_back(std::move(t.sheet));
        return LayOutSheet(std::move(sheet_));
    }

private:
    bool ParseLine(const std::vector<SheetText::Token>& words)
    {
        if (words.empty())
            return true;
        const std::string keyword = Upper(words[0].text);
        const size_t n = words.size();
        if (keyword == "REM") {
            if (n >= 3 && Upper(words[1].text) == "SESSION") {
                const auto number = SheetText::ParseCount(words[2].text);
                if (!number || *number < 1 || *number > 99)
                    return false;
                session_ = int(*number);
            }
            return true;
        }
        if (keyword == "CATALOG") {
            if (n != 2 || !IsCatalog(words[1].text))
                return false;
            sheet_.catalog = words[1].text;
            return true;
        }
        if (keyword == "CDTEXTFILE")
            return n == 2 && (LoadCdTextFile(words[1].text), true);
        if (keyword == "FILE")
            return n >= 3 && AddFile(Joined(words, 1, n - 1), Upper(words[n - 1].text));
        if (keyword == "TRACK")
            return n == 3 && AddTrack(words[1].text, Upper(words[2].text));
        if (auto text = kTextKeywords.find(keyword); text != kTextKeywords.end()) {
            const int track = tracks_.empty() ? 0 : tracks_.back().sheet.number;
            sheet_.cdText[{text->second, track}] = SheetText::ToLatin1(Joined(words, 1, n));
            return true;
        }
        // The remaining commands belong to a track.
        if (tracks_.empty())
            return keyword != "INDEX" && keyword != "FLAGS" && keyword != "ISRC" && keyword != "PREGAP" &&
                   keyword != "POSTGAP";
        CueTrack& track = tracks_.back();
        if (keyword == "INDEX") {
            const auto number = n == 3 ? SheetText::ParseCount(words[1].text) : std::nullopt;
            const auto frame = n == 3 ? SheetText::ParseMsf(words[2].text) : std::nullopt;
            if (!number || !frame || *number > 99)
                return false;
            if (!track.indexes.empty() && int(*number) != track.indexes.back().number + 1)
                return false;
            if (track.indexes.empty() && *number > 1)
                return false;
            track.indexes.push_back({int(*number), int(sheet_.files.size()) - 1, *frame});
            return true;
        }
        if (keyword == "PREGAP" || keyword == "POSTGAP") {
            const auto length = n == 2 ? SheetText::ParseMsf(words[1].text) : std::nullopt;
            if (!length)
                return false;
            (keyword == "PREGAP" ? track.pregap : track.sheet.postgap) = *length;
            return true;
        }
        if (keyword == "FLAGS") {
            for (size_t i = 1; i < n; ++i) {
                const std::string flag = Upper(words[i].text);
                if (flag == "DCP")
                    track.sheet.control |= 0x02;
                else if (flag == "4CH")
                    track.sheet.control |= 0x08;
                else if (flag == "PRE")
                    track.sheet.control |= 0x01;
                else if (flag != "SCMS" && flag != "DATA")
                    return false;
            }
            return true;
        }
        if (keyword == "ISRC") {
            if (n != 2 || !IsIsrc(words[1].text))
                return false;
            track.sheet.isrc = Upper(words[1].text);
            return true;
        }
        return true; // other commands (SONGWRITER variants, vendor REMs) carry nothing we show
    }

    bool AddFile(const std::string& name, const std::string& type)
    {
        if (type != "BINARY" && type != "MOTOROLA" && type != "WAVE")
            return false; // compressed audio (MP3, AIFF) is no image
        const std::string resolved = SheetText::ResolveDataFile(path_, name);
        if (resolved.empty() || sheet_.files.size() >= 99)
            return false;
        CueFile file;
        file.data = type == "WAVE" ? SheetText::AudioData(resolved) : SheetText::DataExtent{0, ImageFile(resolved).Size()};
        file.swapAudio = type == "MOTOROLA";
        sheet_.files.push_back(resolved);
        files_.push_back(file);
        return true;
    }

    bool AddTrack(const std::string& numberText, const std::string& modeText)
    {
        const auto number = SheetText::ParseCount(numberText);
        if (sheet_.files.empty() || !number || *number < 1 || *number > 99)
            return false;
        if (!tracks_.empty() && (*number <= tracks_.back().sheet.number || tracks_.back().indexes.empty()))
            return false;
        const auto mode = std::find_if(std::begin(kModes), std::end(kModes),
                                       [&](const ModeName& m) { return modeText == m.name; });
        if (mode == std::end(kModes))
            return false;
        CueTrack track;
        track.sheet.number = int(*number);
        track.sheet.session = session_;
        track.sheet.mode = mode->mode;
        track.storage = mode->storage;
        track.stride = mode->stride;
        tracks_.push_back(std::move(track));
        return true;
    }

    void LoadCdTextFile(const std::string& name)
    {
        const std::string resolved = SheetText::ResolveDataFile(path_, name);
        if (!resolved.empty())
            sheet_.cdTextPacks = SheetText::LoadCdTextFile(resolved);
    }

    // Cuts the files into tracks. A track's data runs from its first index
    // (from the start of its file when no earlier track reached into that
    // file) to where the next track's data begins, across whole files.
    bool LayOutFileData()
    {
        struct Cursor {
            int32_t frame = 0;
            uint64_t byte = 0;
        };
        std::vector<Cursor> cursors(files_.size());
        for (size_t f = 0; f < files_.size(); ++f)
            cursors[f].byte = files_[f].data.start;
        auto fileEnd = [&](int f) { return files_[size_t(f)].data.start + files_[size_t(f)].data.size; };

        std::vector<CueIndex> starts;
        int lastFileUsed = -1;
        for (CueTrack& t : tracks_) {
            if (t.indexes.empty() || t.indexes.back().number < 1)
                return false; // no INDEX 01
            CueIndex start = t.indexes.front();
            if (start.file != lastFileUsed)
                start.frame = 0;
            lastFileUsed = t.indexes.back().file;
            starts.push_back(start);
        }
        for (size_t k = 0; k < tracks_.size(); ++k) {
            CueTrack& t = tracks_[k];
            const CueIndex from = starts[k];
            const bool last = k + 1 == tracks_.size();
            const int toFile = last ? int(files_.size()) - 1 : starts[k + 1].file;
            if (toFile < from.file || (toFile == from.file && !last && starts[k + 1].frame < from.frame))
                return false;
            if (t.pregap > 0)
                t.sheet.pieces.push_back(SheetPiece{t.pregap});
            std::vector<std::pair<int, int32_t>> pieceStarts; // (file, frame) of each data piece
            for (int f = from.file; f <= toFile; ++f) {
                Cursor& c = cursors[size_t(f)];
                if (f == from.file && from.frame != c.frame)
                    return false; // data before it went to no track, or was used twice
                int64_t count;
                if (f == toFile && !last) {
                    count = int64_t(starts[k + 1].frame) - c.frame;
                    if (c.byte + uint64_t(std::max<int64_t>(count, 0)) * t.stride > fileEnd(f))
                        return false; // index past the end of the file
                } else {
                    count = int64_t((fileEnd(f) - std::min(c.byte, fileEnd(f))) / t.stride);
                }
                if (count < 0 || count > kMaxSheetSectors)
                    return false;
                pieceStarts.emplace_back(f, c.frame);
                SheetPiece piece{int32_t(count), t.storage, f, c.byte, t.stride,
                                 files_[size_t(f)].swapAudio && t.sheet.mode == TrackMode::Audio};
                t.sheet.pieces.push_back(piece);
                c.frame += int32_t(count);
                c.byte += uint64_t(count) * t.stride;
            }
            if (t.sheet.postgap > 0)
                t.sheet.pieces.push_back(SheetPiece{t.sheet.postgap});
            // Index positions as offsets into the track.
            auto offsetOf = [&](const CueIndex& index) -> std::optional<int32_t> {
                int32_t before = t.pregap;
                const size_t firstData = t.pregap > 0 ? 1 : 0;
                for (size_t i = 0; i < pieceStarts.size(); ++i) {
                    const SheetPiece& piece = t.sheet.pieces[firstData + i];
                    if (pieceStarts[i].first == index.file && index.frame >= pieceStarts[i].second &&
                        index.frame < pieceStarts[i].second + piece.count)
                        return before + (index.frame - pieceStarts[i].second);
                    before += piece.count;
                }
                return std::nullopt;
            };
            std::optional<int32_t> previous;
            std::optional<int32_t> indexOne;
            for (const CueIndex& index : t.indexes) {
                const auto offset = offsetOf(index);
                if (!offset || (previous && *offset <= *previous))
                    return false;
                previous = offset;
                if (index.number == 1)
                    indexOne = offset;
                else if (index.number > 1)
                    t.sheet.indexes.push_back(*offset - *indexOne);
            }
            t.sheet.pregap = *indexOne;
        }
        return true;
    }

    std::string path_;
    SheetDisc sheet_;
    std::vector<CueFile> files_;
    std::vector<CueTrack> tracks_;
    int session_ = 1;
};

} // namespace

std::optional<DiscImage> ReadCueSheet(const std::string& path)
{
    const std::optional<std::string> text = SheetText::Load(path);
    if (!text)
        return std::nullopt;
    return CueParser(path).Parse(*text);
}
