// CloneCD images: a text sheet (.ccd) holding the disc's raw table of
// contents entry by entry, the sectors (.img, 2352 bytes each, at 2352 times
// their address) and optionally their subchannels (.sub, 96 bytes each).
// The sheet may be opened, or the .img beside it.
#include "common/ByteOrder.h"
#include "common/InputLimits.h"
#include "drive/CdText.h"
#include "drive/ImageFile.h"
#include "drive/ImageFormats.h"
#include "drive/ImageLayout.h"
#include "drive/ImagePaths.h"
#include "drive/TocModel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace {

using Section = std::map<std::string, std::string>;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
}

// A decimal or 0x-prefixed hexadecimal number, possibly negative.
std::optional<int64_t> Number(const std::string& text)
{
    std::string digits = Trim(text);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative)
        digits.erase(0, 1);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.erase(0, 2);
        base = 16;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value > INT32_MAX)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int64_t> Field(const Section& section, const std::string& key)
{
    const auto it = section.find(key);
    return it == section.end() ? std::nullopt : Number(it->second);
}

struct Sheet {
    Section disc;
    std::map<int, Section> entries;
    std::map<int, Section> tracks;
    Section cdText;
};

// The sheet opens with its [CloneCD] section (perhaps after a byte-order mark).
bool IsSheet(const std::string& head) { return Lower(head).find("[clonecd]") != std::string::npos; }

Sheet ParseSheet(const std::string& text)
{
    Sheet sheet;
    Section* current = nullptr;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::string name = Lower(Trim(line.substr(1, line.find(']') - 1)));
            current = nullptr;
            int number = 0;
            auto numbered = [&](const char* prefix) {
                const size_t length = std::char_traits<char>::length(prefix);
                if (name.compare(0, length, prefix) != 0)
                    return false;
                const std::optional<int64_t> n = Number(name.substr(length));
                if (!n || *n < 0 || *n >= InputLimits::kMaxSheetEntries)
                    return false;
                number = int(*n);
                return true;
            };
            if (name == "disc")
                current = &sheet.disc;
            else if (name == "cdtext")
                current = &sheet.cdText;
            else if (numbered("entry "))
                current = &sheet.entries[number];
            else if (numbered("track "))
                current = &sheet.tracks[number];
            continue;
        }
        const size_t equals = line.find('=');
        if (current && equals != std::string::npos)
            (*current)[Lower(Trim(line.substr(0, equals)))] = Trim(line.substr(equals + 1));
    }
    return sheet;
}

// "Entry N=80 00 00 ..." lines: 16 bytes a pack (CloneCD leaves out the
// CRC, which is added here), or 18.
std::vector<uint8_t> CdTextPacks(const Section& section)
{
    std::map<int, std::vector<uint8_t>> packs;
    for (const auto& [key, value] : section) {
        if (key.compare(0, 6, "entry ") != 0)
            continue;
        const std::optional<int64_t> index = Number(key.substr(6));
        if (!index || *index < 0 || *index >= 8 * 256)
            continue;
        std::vector<uint8_t> bytes;
        size_t at = 0;
        while (at < value.size() && bytes.size() < CdTextPack::kSize) {
            const size_t next = value.find_first_of(" \t", at);
            const std::string token = value.substr(at, next == std::string::npos ? std::string::npos : next - at);
            at = next == std::string::npos ? value.size() : next + 1;
            if (token.empty())
                continue;
            unsigned byte = 0;
            const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), byte, 16);
            if (error != std::errc() || end != token.data() + token.size() || byte > 0xFF)
                break;
            bytes.push_back(uint8_t(byte));
        }
        if (bytes.size() == 16) {
            bytes.resize(CdTextPack::kSize);
            PutBE16(&bytes[16], CdTextPackCrc(bytes.data()));
        }
        if (bytes.size() == CdTextPack::kSize)
            packs[int(*index)] = bytes;
    }
    std::vector<uint8_t> out;
    for (const auto& [index, pack] : packs)
        out.insert(out.end(), pack.begin(), pack.end());
    return out;
}

int32_t EntryAddress(const Section& entry)
{
    MsfAddress msf;
    msf.M = uint8_t(Field(entry, "pmin").value_or(0));
    msf.S = uint8_t(Field(entry, "psec").value_or(0));
    msf.F = uint8_t(Field(entry, "pframe").value_or(0));
    return msf.ToLba();
}

std::optional<DiscImage> Describe(const Sheet& sheet, const std::string& imgPath, uint64_t imgSize)
{
    DiscImage disc;
    disc.files.push_back(imgPath);
    std::map<int, int32_t> leadOuts;
    std::map<int, uint8_t> discTypes;
    for (const auto& [index, entry] : sheet.entries) {
        const std::optional<int64_t> session = Field(entry, "session");
        const std::optional<int64_t> point = Field(entry, "point");
        const int64_t adr = Field(entry, "adr").value_or(1) & 0x0F;
        if (!session || !point || *session < 1 || *session > 99 || adr != 1)
            continue;
        const uint8_t control = uint8_t(Field(entry, "control").value_or(0) & 0x0F);
        if (*point == 0xA0)
            discTypes[int(*session)] = uint8_t(Field(entry, "psec").value_or(0));
        else if (*point == 0xA2)
            leadOuts[int(*session)] = EntryAddress(entry);
        else if (*point >= 1 && *point <= 99 &&
                 std::none_of(disc.tracks.begin(), disc.tracks.end(),
                              [&](const ImageTrack& t) { return t.number == *point; })) {
            ImageTrack track;
            track.number = int(*point);
            track.session = int(*session);
            track.control = control;
            track.start = track.pregapStart = EntryAddress(entry);
            const auto described = sheet.tracks.find(track.number);
            const Section none;
            const Section& details = described == sheet.tracks.end() ? none : described->second;
            const int64_t mode = Field(details, "mode").value_or((control & 0x04) ? 1 : 0);
            track.mode = mode == 0 ? TrackMode::Audio : mode == 1 ? TrackMode::Mode1 : TrackMode::Mode2;
            if (const std::optional<int64_t> index0 = Field(details, "index 0"); index0 && *index0 < track.start)
                track.pregapStart = int32_t(*index0);
            for (int n = 2; n <= 99; ++n)
                if (const std::optional<int64_t> index = Field(details, "index " + std::to_string(n)))
                    track.furtherIndexes.push_back(int32_t(*index));
            const auto isrc = details.find("isrc");
            if (isrc != details.end() && isrc->second.size() == 12)
                track.isrc = isrc->second;
            disc.tracks.push_back(track);
        }
    }
    std::sort(disc.tracks.begin(), disc.tracks.end(),
              [](const ImageTrack& a, const ImageTrack& b) { return a.number < b.number; });
    if (disc.tracks.empty())
        return std::nullopt;
    // Each session needs its own lead-out; sessions are numbered from 1 on.
    for (int s = 1; s <= disc.tracks.back().session; ++s) {
        const auto leadOut = leadOuts.find(s);
        if (leadOut == leadOuts.end())
            return std::nullopt;
        disc.sessions.push_back({s, discTypes[s], leadOut->second});
    }
    // A pregap reaches no further back than the previous track's start.
    for (size_t i = 1; i < disc.tracks.size(); ++i)
        disc.tracks[i].pregapStart = std::max(disc.tracks[i].pregapStart, disc.tracks[i - 1].start + 1);
    CloseTrackExtents(disc);

    for (ImageTrack& track : disc.tracks) {
        std::erase_if(track.furtherIndexes, [&](int32_t lba) { return lba <= track.start || lba >= track.end; });
        std::sort(track.furtherIndexes.begin(), track.furtherIndexes.end());
        const int32_t first = std::max(track.pregapStart, 0);
        if (first < track.end)
            disc.runs.push_back(ClipRun({first, track.end - first, SectorStorage::Raw2352, 0,
                                         uint64_t(first) * 2352, 2352, false},
                                        imgSize));
    }
    const auto catalog = sheet.disc.find("catalog");
    if (catalog != sheet.disc.end() && catalog->second.size() == 13)
        disc.catalog = catalog->second;
    disc.cdTextPacks = CdTextPacks(sheet.cdText);
    return disc;
}

std::optional<std::string> ReadSheet(const std::string& path)
{
    ImageFile file(path);
    if (!file.IsOpen() || file.Size() == 0 || file.Size() > InputLimits::kMaxSheetBytes)
        return std::nullopt;
    std::string text(size_t(file.Size()), '\0');
    const size_t head = std::min<size_t>(text.size(), 64);
    if (!file.Read(0, reinterpret_cast<uint8_t*>(text.data()), head) || !IsSheet(text.substr(0, head)) ||
        !file.Read(0, reinterpret_cast<uint8_t*>(text.data()), text.size()))
        return std::nullopt;
    return text;
}

} // namespace

std::optional<DiscImage> ReadCloneCdImage(const std::string& path)
{
    std::optional<std::string> text = ReadSheet(path);
    std::string imgPath;
    if (text) {
        imgPath = SiblingWithExtension(path, "img");
    } else {
        // The sectors, whatever their name, beside their sheet.
        const std::string sheetPath = SiblingWithExtension(path, "ccd");
        if (sheetPath.empty() || !(text = ReadSheet(sheetPath)))
            return std::nullopt;
        imgPath = path;
    }
    if (imgPath.empty())
        return std::nullopt;
    ImageFile img(imgPath);
    if (!img.IsOpen())
        return std::nullopt;
    return Describe(ParseSheet(*text), imgPath, img.Size());
}
