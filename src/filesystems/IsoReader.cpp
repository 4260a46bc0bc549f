#include "filesystems/IsoReader.h"

#include "common/InputLimits.h"

#include "common/ByteOrder.h"
#include "drive/CDevCmdROM.h"
#include "filesystems/IsoDirectory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kDescriptorSlots = 10;
constexpr int kFirstDescriptor = 16;

// The descriptor's type byte and "CD001" before the sector's first zero byte.
bool IsDescriptorOfType(const uint8_t* sector, uint8_t type)
{
    const uint8_t pattern[6] = {type, 'C', 'D', '0', '0', '1'};
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(sector, 0, kIsoSectorSize));
    if (!end)
        end = sector + kIsoSectorSize;
    return std::search(sector, end, pattern, pattern + sizeof pattern) != end;
}

bool HasJolietEscape(const uint8_t* sector) { return sector[88] || sector[89] || sector[90]; }

std::string FormatRecorded(const uint8_t* recorded)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", recorded[0] + 1900, recorded[1], recorded[2], recorded[3],
                  recorded[4], recorded[5]);
    return text;
}

class FolderTreeBuilder {
public:
    FolderTreeBuilder(TreeControl& tree, CDevCmdROM& drive, const IsoReadMode& mode)
        : tree_(tree), drive_(drive), mode_(mode)
    {
    }

    void Add(NodeHandle parent, uint32_t folderLba, uint32_t folderLength, int depth)
    {
        expanded_.insert(folderLba);
        IsoFolderWalk walk{mode_.sectorMode, folderLength, mode_.endLba};
        WalkIsoFolder(drive_, folderLba, walk, [&](const IsoDirEntry& entry) {
            if (!entry.IsFolder())
                return true;
            const NodeHandle node = tree_.InsertNode(parent, IsoEntryName(entry, mode_.joliet),
                                                     ExplorerImage::Folder, ExplorerImage::OpenFolder,
                                                     entry.Lba());
            // A folder walked before (an ancestor: a cycle; or another record
            // of the same extent) keeps its node but is not walked again.
            if (depth + 1 < InputLimits::kMaxFolderDepth && !expanded_.count(entry.Lba()))
                Add(node, entry.Lba(), entry.extents.front().length, depth + 1);
            return true;
        });
    }

private:
    TreeControl& tree_;
    CDevCmdROM& drive_;
    const IsoReadMode& mode_;
    std::set<uint32_t> expanded_;
};

} // namespace

uint32_t IsoVolumeDescriptor::RootLba() const { return GetLE32(bytes + 158); }
uint32_t IsoVolumeDescriptor::RootLength() const { return GetLE32(bytes + 166); }

std::optional<IsoVolumeDescriptor> FindIsoVolumeDescriptor(CDevCmdROM& drive, int32_t trackStart)
{
    std::vector<uint8_t> sectors(kDescriptorSlots * kIsoSectorSize, 0);
    for (int i = 0; i < kDescriptorSlots; ++i) {
        uint8_t* sector = &sectors[i * kIsoSectorSize];
        // DVD drives refuse READ CD: read those discs cooked.
        if (drive.ReadCD_Data(sector, kIsoSectorSize, 1, trackStart + kFirstDescriptor + i) != 0) {
            std::memset(sector, 0, kIsoSectorSize);
            drive.ReadCD_10(sector, kIsoSectorSize, 1, trackStart + kFirstDescriptor + i);
        }
    }

    auto find = [&](uint8_t type) -> const uint8_t* {
        for (int i = 0; i < kDescriptorSlots; ++i)
            if (IsDescriptorOfType(&sectors[i * kIsoSectorSize], type))
                return &sectors[i * kIsoSectorSize];
        return nullptr;
    };
    IsoVolumeDescriptor found;
    const uint8_t* chosen = find(2);
    found.joliet = chosen && HasJolietEscape(chosen);
    if (!found.joliet)
        chosen = find(1);
    if (!chosen)
        return std::nullopt;
    std::memcpy(found.bytes, chosen, kIsoSectorSize);
    return found;
}

void AddIsoFolderTree(TreeControl& tree, CDevCmdROM& drive, const IsoReadMode& mode, NodeHandle parent,
                      uint32_t folderLba, uint32_t folderLength)
{
    FolderTreeBuilder(tree, drive, mode).Add(parent, folderLba, folderLength, 0);
}

void InsertIsoColumns(ListControl& list)
{
    static const char* const kHeaders[] = {"NAME", "TIME", "TYPE", "SIZE", "POS", "len"};
    for (int c = 0; c < 6; ++c)
        list.InsertColumn(c, kHeaders[c], c == 5 ? 0 : 100);
}

void ListIsoFolderRows(ListControl& list, CDevCmdROM& drive, const IsoReadMode& mode, uint32_t folderLba)
{
    list.DeleteAllRows();
    while (list.GetColumnCount() > 0)
        list.DeleteColumn(0);
    InsertIsoColumns(list);

    uint64_t nextFolder = kFirstFolderRowData;
    uint64_t nextFile = kFirstFileRowData;
    const IsoFolderWalk walk{mode.sectorMode, std::nullopt, mode.endLba};
    WalkIsoFolder(drive, folderLba, walk, [&](const IsoDirEntry& entry) {
        const bool folder = entry.IsFolder();
        const int image = folder ? ExplorerImage::Folder : ExplorerImage::File;
        const int row = list.InsertRow(IsoEntryName(entry, mode.joliet), image,
                                       folder ? nextFolder++ : nextFile++);
        list.SetItemText(row, 1, FormatRecorded(entry.recorded));
        list.SetItemText(row, 2, folder ? "Folder" : "File");
        if (!folder)
            list.SetItemText(row, 3, std::to_string(entry.Size()));
        list.SetItemText(row, 4, std::to_string(entry.Lba()));
        return true;
    });
}
