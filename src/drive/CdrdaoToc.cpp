// cdrdao TOC files: the statements real sheets use. Positions are MSF or,
// for audio, sample counts (588 samples a sector); a FILE's start counts
// from the file's beginning, and its length defaults to the rest of it.
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/SheetLayout.h"
#include "drive/SheetText.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr int64_t kSamplesPerSector = 588;
constexpr uint32_t kBytesPerSample = 4;
constexpr uint32_t kSubchannelBytes = 96;

constexpr ModeName kModes[] = {
    {"AUDIO", TrackMode::Audio, SectorStorage::Raw2352, 2352},
    {"MODE1", TrackMode::Mode1, SectorStorage::User2048, 2048},
    {"MODE1_RAW", TrackMode::Mode1, SectorStorage::Raw2352, 2352},
    {"MODE2", TrackMode::Mode2Formless, SectorStorage::Mode2_2336, 2336},
    {"MODE2_FORM1", TrackMode::Mode2, SectorStorage::User2048, 2048},
    {"MODE2_FORM2", TrackMode::Mode2, SectorStorage::Form2_2324, 2324},
    {"MODE2_FORM_MIX", TrackMode::Mode2, SectorStorage::Mode2_2336, 2336},
    {"MODE2_RAW", TrackMode::Mode2, SectorStorage::Raw2352, 2352},
};

const std::map<std::string, uint8_t> kTextItems = {
    {"TITLE", CdTextPack::kTitle},       {"PERFORMER", CdTextPack::kPerformer},
    {"SONGWRITER", CdTextPack::kSongwriter}, {"COMPOSER", CdTextPack::kComposer},
    {"ARRANGER", CdTextPack::kArranger}, {"MESSAGE", CdTextPack::kMessage},
    {"DISC_ID", CdTextPack::kDiscId},    {"UPC_EAN", CdTextPack::kUpcIsrc},
    {"ISRC", CdTextPack::kUpcIsrc},
};

bool IsDigits(const std::string& text, size_t length)
{
    return text.size() == length &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

class TocParser {
public:
    TocParser(std::string path, std::vector<SheetText::Token> tokens)
        : path_(std::move(path)), tokens_(std::move(tokens))
    {
    }

    std::optional<DiscImage> Parse()
    {
        while (!AtEnd()) {
            const std::string word = Next();
            if (word == "CD_DA" || word == "CD_ROM" || word == "CD_ROM_XA" || word == "CD_I")
                continue;
            if (word == "CATALOG") {
                if (AtEnd() || !IsDigits(Peek(), 13))
                    return std::nullopt;
                sheet_.catalog = Next();
            } else if (word == "CD_TEXT") {
                if (!ParseCdText(0))
                    return std::nullopt;
            } else if (word == "TRACK") {
                if (!ParseTrack())
                    return std::nullopt;
            } else {
                return std::nullopt;
            }
        }
        if (sheet_.tracks.empty())
            return std::nullopt;
        return LayOutSheet(std::move(sheet_));
    }

private:
    bool AtEnd() const { return at_ >= tokens_.size(); }
    const std::string& Peek() const { return tokens_[at_].text; }
    bool PeekQuoted() const { return !AtEnd() && tokens_[at_].quoted; }
    std::string Next() { return AtEnd() ? std::string() : tokens_[at_++].text; }
    bool Accept(const char* word)
    {
        if (AtEnd() || tokens_[at_].quoted || Peek() != word)
            return false;
        ++at_;
        return true;
    }

    // A position or length: MSF, or a sample count where samples are allowed.
    std::optional<int64_t> Frames(bool samples, int64_t* sampleCount = nullptr)
    {
        if (AtEnd() || PeekQuoted())
            return std::nullopt;
        if (const auto msf = SheetText::ParseMsf(Peek())) {
            ++at_;
            if (sampleCount)
                *sampleCount = *msf * kSamplesPerSector;
            return *msf;
        }
        const auto count = samples ? SheetText::ParseCount(Peek()) : std::nullopt;
        if (!count)
            return std::nullopt;
        ++at_;
        if (sampleCount)
            *sampleCount = *count;
        return *count / kSamplesPerSector;
    }
    bool StartsPosition() const
    {
        return !AtEnd() && !PeekQuoted() && (Peek().find(':') != std::string::npos || std::isdigit(uint8_t(Peek()[0])));
    }

    // { LANGUAGE n { ITEM "text" ... } ... } and LANGUAGE_MAP { ... }.
    bool ParseCdText(int track)
    {
        if (!Accept("{"))
            return false;
        while (!Accept("}")) {
            if (AtEnd())
                return false;
            const std::string word = Next();
            if (word == "LANGUAGE_MAP") {
                if (!SkipBlock())
                    return false;
            } else if (word == "LANGUAGE") {
                const auto language = SheetText::ParseCount(Next());
                if (!language || !ParseLanguage(track, *language == 0))
                    return false;
            } else {
                return false;
            }
        }
        return true;
    }

    bool ParseLanguage(int track, bool keep)
    {
        if (!Accept("{"))
            return false;
        while (!Accept("}")) {
            if (AtEnd())
                return false;
            const std::string item = Next();
            if (PeekQuoted()) {
                const std::string text = Next();
                const auto type = kTextItems.find(item);
                if (keep && type != kTextItems.end())
                    sheet_.cdText[{type->second, track}] = SheetText::ToLatin1(text);
            } else if (!SkipBlock()) { // binary items: GENRE { 0, 5, ... } and the like
                return false;
            }
        }
        return true;
    }

    bool SkipBlock()
    {
        if (!Accept("{"))
            return false;
        for (int depth = 1; depth > 0;) {
            if (AtEnd())
                return false;
            const std::string word = Next();
            depth += word == "{" ? 1 : (word == "}" ? -1 : 0);
        }
        return true;
    }

    int FileIndex(const std::string& name)
    {
        const std::string resolved = SheetText::ResolveDataFile(path_, name);
        if (resolved.empty())
            return -1;
        for (size_t i = 0; i < sheet_.files.size(); ++i)
            if (sheet_.files[i] == resolved)
                return int(i);
        if (sheet_.files.size() >= 99)
            return -1;
        sheet_.files.push_back(resolved);
        return int(sheet_.files.size()) - 1;
    }

    bool ParseTrack()
    {
        const std::string modeName = Next();
        const auto mode = std::find_if(std::begin(kModes), std::end(kModes),
                                       [&](const ModeName& m) { return modeName == m.name; });
        if (mode == std::end(kModes) || sheet_.tracks.size() >= 99)
            return false;
        uint32_t stride = mode->stride;
        if (Accept("RW") || Accept("RW_RAW"))
            stride += kSubchannelBytes;
        SheetTrack track;
        track.number = int(sheet_.tracks.size()) + 1;
        track.mode = mode->mode;
        std::optional<int64_t> start;
        while (!AtEnd() && !(Peek() == "TRACK" && !PeekQuoted())) {
            const std::string word = Next();
            if (word == "NO") {
                const std::string flag = Next();
                if (flag != "COPY" && flag != "PRE_EMPHASIS")
                    return false;
                track.control &= uint8_t(flag == "COPY" ? ~0x02 : ~0x01);
            } else if (word == "COPY") {
                track.control |= 0x02;
            } else if (word == "PRE_EMPHASIS") {
                track.control |= 0x01;
            } else if (word == "FOUR_CHANNEL_AUDIO") {
                track.control |= 0x08;
            } else if (word == "TWO_CHANNEL_AUDIO") {
                track.control &= uint8_t(~0x08);
            } else if (word == "ISRC") {
                const std::string isrc = Next();
                if (isrc.size() != 12 ||
                    !std::all_of(isrc.begin(), isrc.end(), [](unsigned char c) { return std::isalnum(c); }))
                    return false;
                track.isrc = isrc;
            } else if (word == "CD_TEXT") {
                if (!ParseCdText(track.number))
                    return false;
            } else if (word == "PREGAP") {
                const auto length = Frames(false);
                if (!length || track.Length() != 0)
                    return false;
                track.pieces.push_back(SheetPiece{int32_t(*length)});
                start = *length;
            } else if (word == "SILENCE" || word == "ZERO") {
                if (word == "ZERO") {
                    // An optional data mode and sub-channel mode of the zeros.
                    while (!AtEnd() && !PeekQuoted() && !StartsPosition() && Peek() != "TRACK")
                        ++at_;
                }
                const auto length = Frames(true);
                if (!length)
                    return false;
                track.pieces.push_back(SheetPiece{int32_t(*length)});
            } else if (word == "FILE" || word == "AUDIOFILE" || word == "DATAFILE") {
                if (!AddFilePiece(track, *mode, stride, word == "DATAFILE"))
                    return false;
            } else if (word == "START") {
                if (StartsPosition()) {
                    const auto at = Frames(false);
                    if (!at)
                        return false;
                    start = *at;
                } else {
                    start = track.Length();
                }
            } else if (word == "INDEX") {
                const auto at = Frames(false);
                if (!at || track.indexes.size() >= 98)
                    return false;
                track.indexes.push_back(int32_t(*at));
            } else {
                return false; // FIFO and unknown statements
            }
            if (track.Length() > kMaxSheetSectors)
                return false;
        }
        track.pregap = int32_t(start.value_or(0));
        sheet_.tracks.push_back(std::move(track));
        return true;
    }

    // FILE/AUDIOFILE "name" [SWAP] [#offset] start [length]
    // DATAFILE "name" [#offset] [length]
    bool AddFilePiece(SheetTrack& track, const ModeName& mode, uint32_t stride, bool dataFile)
    {
        if (!PeekQuoted())
            return false;
        const int file = FileIndex(Next());
        if (file < 0)
            return false;
        const bool audio = mode.mode == TrackMode::Audio;
        bool swap = false;
        uint64_t byteOffset = 0;
        for (;;) {
            if (Accept("SWAP")) {
                swap = true;
            } else if (!AtEnd() && !PeekQuoted() && Peek().size() > 1 && Peek()[0] == '#') {
                const auto offset = SheetText::ParseCount(Next().substr(1));
                if (!offset)
                    return false;
                byteOffset = uint64_t(*offset);
            } else {
                break;
            }
        }
        const SheetText::DataExtent data =
            audio ? SheetText::AudioData(sheet_.files[size_t(file)])
                  : SheetText::DataExtent{0, ImageFile(sheet_.files[size_t(file)]).Size()};
        uint64_t offset = data.start + byteOffset;
        if (!dataFile) {
            int64_t samples = 0;
            const auto start = Frames(audio, &samples);
            if (!start)
                return false;
            offset += audio ? uint64_t(samples) * kBytesPerSample : uint64_t(*start) * stride;
        }
        const uint64_t end = data.start + data.size;
        if (offset > end)
            return false;
        int64_t count = 0;
        if (StartsPosition()) {
            const bool bytes = dataFile && Peek().find(':') == std::string::npos;
            const auto length = bytes ? SheetText::ParseCount(Next()) : Frames(audio);
            if (!length)
                return false;
            count = bytes ? *length / stride : *length;
        }
        if (count == 0)
            count = int64_t((end - offset) / stride);
        if (count <= 0 || count > kMaxSheetSectors || offset + uint64_t(count) * stride > end)
            return false; // the sheet reaches past the end of the file
        track.pieces.push_back(
            SheetPiece{int32_t(count), mode.storage, file, offset, stride, swap && audio});
        return true;
    }

    std::string path_;
    std::vector<SheetText::Token> tokens_;
    size_t at_ = 0;
    SheetDisc sheet_;
};

} // namespace

std::optional<DiscImage> ReadCdrdaoToc(const std::string& path)
{
    const std::optional<std::string> text = SheetText::Load(path);
    if (!text)
        return std::nullopt;
    return TocParser(path, SheetText::Tokenize(*text, true)).Parse();
}
