#include "drive/SheetText.h"

#include "common/InputLimits.h"
#include "drive/ImageFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace SheetText {

std::optional<std::string> Load(const std::string& path)
{
    ImageFile file(path);
    if (!file.IsOpen() || file.Size() == 0 || file.Size() > InputLimits::kMaxSheetBytes)
        return std::nullopt;
    std::string text(size_t(file.Size()), '\0');
    if (!file.Read(0, reinterpret_cast<uint8_t*>(text.data()), text.size()))
        return std::nullopt;
    if (text.find('\0') != std::string::npos)
        return std::nullopt;
    // A UTF-8 byte order mark some editors write.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    return text;
}

std::vector<Token> Tokenize(const std::string& text, bool slashComments)
{
    std::vector<Token> tokens;
    int line = 1;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (slashComments && c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            i = text.find('\n', i);
            i = i == std::string::npos ? text.size() : i;
        } else if (c == '"') {
            Token token{std::string(), true, line};
            for (++i; i < text.size() && text[i] != '"' && text[i] != '\n'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
                    ++i;
                token.text += text[i];
            }
            if (i < text.size() && text[i] == '"')
                ++i;
            tokens.push_back(std::move(token));
        } else if (slashComments && (c == '{' || c == '}' || c == ',')) {
            tokens.push_back({std::string(1, c), false, line});
            ++i;
        } else {
            Token token{std::string(), false, line};
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '"' &&
                   !(slashComments && (text[i] == '{' || text[i] == '}' || text[i] == ',')) &&
                   !(slashComments && text.compare(i, 2, "//") == 0))
                token.text += text[i++];
            tokens.push_back(std::move(token));
        }
    }
    return tokens;
}

std::optional<int64_t> ParseCount(const std::string& text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoll(text);
}

std::optional<int32_t> ParseMsf(const std::string& text)
{
    const size_t first = text.find(':');
    const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    const auto m = ParseCount(text.substr(0, first));
    const auto s = ParseCount(text.substr(first + 1, second - first - 1));
    const auto f = ParseCount(text.substr(second + 1));
    if (!m || !s || !f || *m > 999 || *s >= 60 || *f >= 75)
        return std::nullopt;
    return int32_t((*m * 60 + *s) * 75 + *f);
}

namespace {

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Sheets and their side files are never the data a sheet means.
bool IsSheetName(const fs::path& path)
{
    const std::string extension = Lower(path.extension().string());
    return extension == ".cue" || extension == ".toc" || extension == ".cdt";
}

} // namespace

std::string ResolveDataFile(const std::string& sheetPath, const std::string& name)
{
    const fs::path folder = fs::path(sheetPath).parent_path();
    // Sheets written on Windows separate folders with backslashes.
    std::string portable = name;
    std::replace(portable.begin(), portable.end(), '\\', '/');
    if (portable.empty())
        return {};
    const fs::path given = folder / portable;
    if (IsFile(given))
        return given.string();
    const std::string wanted = Lower(fs::path(portable).filename().string());
    const std::string sheetStem = Lower(fs::path(sheetPath).stem().string());
    std::error_code error;
    std::vector<fs::path> sameStem;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path candidate = it->path();
        if (!IsFile(candidate))
            continue;
        const std::string candidateName = Lower(candidate.filename().string());
        if (candidateName == wanted)
            return candidate.string();
        if (Lower(candidate.stem().string()) == sheetStem && !IsSheetName(candidate))
            sameStem.push_back(candidate);
    }
    if (sameStem.size() != 1)
        return {}; // none, or no telling which
    return sameStem.front().string();
}

std::string ToLatin1(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size() && (uint8_t(text[i + 1]) & 0xC0) == 0x80) {
            const unsigned code = ((c & 0x1Fu) << 6) | (uint8_t(text[i + 1]) & 0x3Fu);
            out += code <= 0xFF ? char(code) : '?';
            ++i;
        } else if ((c & 0xF0) == 0xE0 || (c & 0xF8) == 0xF0) {
            // Beyond Latin-1: one stand-in for the whole character.
            size_t more = (c & 0xF0) == 0xE0 ? 2 : 3;
            while (more-- > 0 && i + 1 < text.size() && (uint8_t(text[i + 1]) & 0xC0) == 0x80)
                ++i;
            out += '?';
        } else {
            out += char(c); // not UTF-8: taken as Latin-1
        }
    }
    return out;
}

} // namespace SheetText

#include "common/ByteOrder.h"
#include "drive/CdText.h"

#include <cstring>

namespace SheetText {

DataExtent AudioData(const std::string& path)
{
    ImageFile file(path);
    DataExtent whole{0, file.Size()};
    uint8_t head[12];
    if (!file.Read(0, head, sizeof head) || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return whole;
    // Walk the chunks to "data"; a chunk's size is padded to even.
    uint64_t at = 12;
    for (int chunks = 0; chunks < 64; ++chunks) {
        uint8_t chunk[8];
        if (!file.Read(at, chunk, sizeof chunk))
            break;
        const uint64_t size = GetLE32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0)
            return {at + 8, std::min<uint64_t>(size, file.Size() - (at + 8))};
        at += 8 + size + (size & 1);
    }
    return whole;
}

std::vector<uint8_t> LoadCdTextFile(const std::string& path)
{
    constexpr uint64_t kMaxPacks = 8 * 256;
    ImageFile file(path);
    if (!file.IsOpen() || file.Size() > 4 + kMaxPacks * CdTextPack::kSize + 1)
        return {};
    std::vector<uint8_t> bytes(size_t(file.Size()));
    if (!file.Read(0, bytes.data(), bytes.size()))
        return {};
    size_t start = 0;
    if (bytes.size() >= 4 && bytes[0] < 0x80 && GetBE16(bytes.data()) + 2u <= bytes.size() &&
        (GetBE16(bytes.data()) - 2u) % CdTextPack::kSize == 0)
        start = 4;
    const size_t packs = (bytes.size() - start) / CdTextPack::kSize;
    std::vector<uint8_t> out(bytes.begin() + long(start), bytes.begin() + long(start + packs * CdTextPack::kSize));
    for (size_t at = 0; at < out.size(); at += CdTextPack::kSize)
        if (out[at] < 0x80 || out[at] > 0x8F)
            return {};
    return out;
}

} // namespace SheetText
