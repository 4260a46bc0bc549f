#include "support/DiscImages.h"

#include "drive/CDevCmdROM.h"
#include "explorer/MemoryControls.h"
#include "support/TestSupport.h"
#include "tools/TocTable.h"

namespace testing_support {

std::filesystem::path MakeIso(const std::filesystem::path& folder, const std::string& label)
{
    const std::filesystem::path content = folder / (label + ".txt");
    const std::filesystem::path iso = folder / (label + ".iso");
    WriteFile(content, "volume " + label + "\n");
    const CommandResult r =
        RunProgram({"genisoimage", "-quiet", "-V", label, "-o", iso.string(), content.string()});
    return r.exitCode == 0 ? iso : std::filesystem::path();
}

std::string RawMode1Sectors(const std::filesystem::path& iso)
{
    CDevCmdROM drive;
    if (!drive.SetImageFile(iso.string()))
        return {};
    const int32_t sectors = int32_t(std::filesystem::file_size(iso) / 2048);
    std::string raw(size_t(sectors) * 2352, '\0');
    for (int32_t lba = 0; lba < sectors; ++lba)
        if (drive.ReadCD_All(reinterpret_cast<uint8_t*>(&raw[size_t(lba) * 2352]), 2352, 1, lba) != 0)
            return {};
    return raw;
}

std::string AudioSectors(int sectors, int frequency)
{
    TempDir dir;
    const std::filesystem::path out = dir / "tone.raw";
    const double seconds = sectors / 75.0;
    const CommandResult r =
        RunProgram({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", "-e", "signed", "-t", "raw", out.string(),
                    "synth", std::to_string(seconds), "sine", std::to_string(frequency)});
    if (r.exitCode != 0)
        return {};
    std::string samples = ReadFile(out);
    samples.resize(size_t(sectors) * 2352, '\0');
    return samples;
}

Rows ListRows(const ListControl& list)
{
    Rows rows;
    for (int r = 0; r < list.GetRowCount(); ++r) {
        rows.emplace_back();
        for (int c = 0; c < list.GetColumnCount(); ++c)
            rows.back().push_back(list.GetItemText(r, c));
    }
    return rows;
}

Rows TocRows(CDevCmdROM& drive)
{
    MemoryList list;
    TocTable::FillToc(drive, list);
    return ListRows(list);
}

std::string RawSector(CDevCmdROM& drive, int32_t lba)
{
    std::string raw(2352, '\0');
    if (drive.ReadCD_All(reinterpret_cast<uint8_t*>(raw.data()), 2352, 1, lba) != 0)
        return {};
    return raw;
}

} // namespace testing_support
