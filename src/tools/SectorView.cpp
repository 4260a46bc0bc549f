#include "tools/SectorView.h"

#include "drive/CDevCmdROM.h"
#include "drive/MmcCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace {
constexpr uint32_t kBytesPerLine = 16;
constexpr size_t kDiscTypeOffset = 8; // in the READ DISC INFORMATION data

char Printable(uint8_t byte) { return byte >= 0x1F && byte <= 0x7F ? char(byte) : ' '; }
} // namespace

SectorView::AllModeBox SectorView::AllModeOnBind(CDevCmdROM* drive, int sectorMode, AllModeBox box)
{
    if (sectorMode == 2) {
        box.checked = true;
        box.enabled = false;
    }
    if (drive) {
        DISC_INFO info{};
        if (drive->ReadDiscInfo(info) == 0 && info.bytes[kDiscTypeOffset] != 0xFF)
            box.enabled = true;
    }
    return box;
}

SectorView::Result SectorView::ShowSector(CDevCmdROM* drive, int32_t sector, bool allMode)
{
    Result result;
    if (!drive || sector < 0 || drive->TestUnitReady() != 0)
        return result;
    buffer_.fill(0);
    result.cdMedium = MediumType::IsCd(drive->GetMediumType());
    uint32_t shown = Mmc::kCookedSectorSize;
    uint32_t status;
    if (!result.cdMedium) {
        status = drive->ReadCD_10(buffer_.data(), Mmc::kCookedSectorSize, 1, sector);
    } else if (allMode) {
        status = drive->ReadCD_All(buffer_.data(), kBufferSize, 1, sector);
        shown = kBufferSize;
    } else {
        status = drive->ReadCD_Data(buffer_.data(), kBufferSize, 1, sector);
        if (status != 0) {
            buffer_.fill(0);
            status = drive->ReadCD_10(buffer_.data(), Mmc::kCookedSectorSize, 1, sector);
        }
    }
    if (status != 0) {
        lines_.clear();
        result.outcome = Outcome::ReadFailed;
        return result;
    }
    lines_ = DumpLines(buffer_.data(), shown);
    result.outcome = Outcome::Shown;
    return result;
}

bool SectorView::SaveSector(const std::string& path) const
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), file) == buffer_.size();
    return std::fclose(file) == 0 && written;
}

int32_t SectorView::ParseSectorNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    if (negative)
        return int32_t(-value);
    return int32_t(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

int32_t SectorView::ScrollSectorNumber(int32_t number, bool lineUp)
{
    if (lineUp)
        return number == std::numeric_limits<int32_t>::max() ? number : number + 1;
    return number == 0 || number == std::numeric_limits<int32_t>::min() ? number : number - 1;
}

std::string SectorView::HeaderLine()
{
    std::string line = "    |   ";
    for (uint32_t column = 0; column < kBytesPerLine; ++column) {
        line += "0123456789ABCDEF"[column];
        line += column + 1 < kBytesPerLine ? "  " : "  | ";
    }
    return line;
}

std::string SectorView::SeparatorLine() { return std::string(74, '-'); }

std::string SectorView::DumpLine(const uint8_t* bytes16, uint32_t offset)
{
    char head[16];
    std::snprintf(head, sizeof head, "%4X|  ", offset);
    std::string line = head;
    for (uint32_t i = 0; i < kBytesPerLine; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", bytes16[i]);
        line += hex;
    }
    line += " |";
    for (uint32_t i = 0; i < kBytesPerLine; ++i)
        line += Printable(bytes16[i]);
    return line;
}

std::vector<std::string> SectorView::DumpLines(const uint8_t* data, uint32_t length)
{
    std::vector<std::string> lines = {HeaderLine(), SeparatorLine()};
    for (uint32_t offset = 0; offset + kBytesPerLine <= length; offset += kBytesPerLine)
        lines.push_back(DumpLine(data + offset, offset));
    return lines;
}
