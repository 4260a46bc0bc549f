// One sector of the current disc as the sector viewer shows it: which read
// command the medium calls for, the hex dump's lines, and saving the sector.
// The window keeps the edit box, the "all mode" box and the list box; this
// class keeps the sector buffer and the lines the list box holds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CDevCmdROM;

class SectorView {
public:
    static constexpr uint32_t kBufferSize = 2352;

    // The "all mode" check box.
    struct AllModeBox {
        bool checked = true;
        bool enabled = true;
    };

    enum class Outcome {
        Unchanged, // negative sector or drive not ready: the old dump stays
        ReadFailed, // the list box is emptied
        Shown,     // Lines() holds the new dump
    };
    struct Result {
        Outcome outcome = Outcome::Unchanged;
        // Set unless Unchanged: "all mode" is enabled on CD media and
        // disabled on others.
        bool cdMedium = false;
    };

    // What binding a drive does to the "all mode" box: checked and disabled
    // for sector mode 2; enabled again when the drive's disc information can
    // be read and its disc type is not 0xFF. drive may be null.
    static AllModeBox AllModeOnBind(CDevCmdROM* drive, int sectorMode, AllModeBox box);

    // Reads sector and rebuilds the dump. allMode: the box is checked.
    // CD media: raw 2352 bytes when allMode, else the user data (READ CD,
    // then READ(10)); other media: READ(10), 2048 bytes.
    Result ShowSector(CDevCmdROM* drive, int32_t sector, bool allMode);

    // The list box's lines: header, separator and one line per 16 bytes;
    // empty after a failed read.
    const std::vector<std::string>& Lines() const { return lines_; }
    // The last sector read, zeros where the read transferred nothing.
    const std::array<uint8_t, kBufferSize>& Buffer() const { return buffer_; }

    // Replaces path with the whole 2352-byte buffer; false when the file
    // cannot be written.
    bool SaveSector(const std::string& path) const;

    // The edit box's text as a number: leading blanks, an optional sign and
    // the digits that follow; 0 when there are none (out of range: clamped).
    static int32_t ParseSectorNumber(const std::string& text);
    // The scroll bar's arrows: up adds 1, down subtracts 1 unless at 0.
    static int32_t ScrollSectorNumber(int32_t number, bool lineUp);

    static std::string HeaderLine();
    static std::string SeparatorLine();
    // The line for the 16 bytes at offset of the dumped buffer.
    static std::string DumpLine(const uint8_t* bytes16, uint32_t offset);
    // Header, separator and the lines for length bytes (a multiple of 16).
    static std::vector<std::string> DumpLines(const uint8_t* data, uint32_t length);

private:
    std::array<uint8_t, kBufferSize> buffer_{};
    std::vector<std::string> lines_;
};
