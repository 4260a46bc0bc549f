// What the CUE and cdrdao TOC readers share: loading a sheet's text safely,
// splitting it into words, reading positions, and finding the data files a
// sheet names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SheetText {

// The whole file when it is small and looks like text (no NUL bytes).
std::optional<std::string> Load(const std::string& path);

struct Token {
    std::string text;
    bool quoted = false;
    int line = 0;
};

// Words, quoted strings and the braces and colons of TOC blocks. "//"
// starts a comment when slashComments is set. Quotes may hold \" and \\.
std::vector<Token> Tokenize(const std::string& text, bool slashComments);

// "MM:SS:FF" with SS < 60 and FF < 75 (MM up to 999) as a frame count.
std::optional<int32_t> ParseMsf(const std::string& text);
// A plain decimal number of at most 9 digits.
std::optional<int64_t> ParseCount(const std::string& text);

// The file a sheet means by name: the name as given, relative to the
// sheet's folder; then its last component matched case-insensitively in
// that folder; then the file beside the sheet with the sheet's own base
// name. Empty when none exists.
std::string ResolveDataFile(const std::string& sheetPath, const std::string& name);

// UTF-8 (or Latin-1 already) sheet text to Latin-1, CD-Text's character set.
std::string ToLatin1(const std::string& text);

} // namespace SheetText

namespace SheetText {

// Where the samples of an audio file lie: after the RIFF header of a WAVE
// file, else the whole file.
struct DataExtent {
    uint64_t start = 0;
    uint64_t size = 0;
};
DataExtent AudioData(const std::string& path);

// The 18-byte packs of a CD-Text file (.cdt), with or without the 4-byte
// header READ TOC puts before them; empty when the file holds none.
std::vector<uint8_t> LoadCdTextFile(const std::string& path);

} // namespace SheetText
