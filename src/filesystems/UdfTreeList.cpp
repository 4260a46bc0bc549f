// The explorer's side of the UDF reader: the folder tree of a track and the
// list of one folder.
#include "filesystems/CAnaly_UDF.h"

#include "common/InputLimits.h"

namespace {
constexpr int kColumnWidth = 100;
} // namespace

int CAnaly_UDF::FillTree(TreeControl& tree, NodeHandle trackNode)
{
    if (!drive_)
        return 1;
    tree.SetItemData(trackNode, rootLocation_);
    AddFolders(tree, trackNode, rootLocation_);
    return 0;
}

void CAnaly_UDF::AddFolders(TreeControl& tree, NodeHandle parent, uint64_t location)
{
    std::set<uint64_t> expanded = {location};
    AddFolderLevel(tree, parent, location, 1, expanded);
}

void CAnaly_UDF::AddFolderLevel(TreeControl& tree, NodeHandle parent, uint64_t location, int depth,
                                std::set<uint64_t>& expanded)
{
    std::vector<UdfDirEntry> entries;
    WalkDirectory(location, entries);
    for (const UdfDirEntry& entry : entries) {
        if (!entry.isFolder)
            continue;
        const NodeHandle node =
            tree.InsertNode(parent, entry.name, ExplorerImage::Folder, ExplorerImage::OpenFolder,
                            entry.location);
        // A folder already in the tree (its own ancestor, or linked twice)
        // is shown but not walked again.
        if (depth < InputLimits::kMaxFolderDepth && expanded.insert(entry.location).second)
            AddFolderLevel(tree, node, entry.location, depth + 1, expanded);
    }
}

void CAnaly_UDF::FillList(ListControl& list, uint64_t location)
{
    list.DeleteAllRows();
    while (list.GetColumnCount() > 0)
        list.DeleteColumn(0);
    int column = 0;
    for (const char* header : {"Name", "TIME", "TYPE", "SIZE", "POS"})
        list.InsertColumn(column++, header, kColumnWidth);

    std::vector<UdfDirEntry> entries;
    WalkDirectory(location, entries);
    uint64_t nextFolder = kFirstFolderRowData;
    uint64_t nextFile = kFirstFileRowData;
    for (const UdfDirEntry& entry : entries) {
        const int image = entry.isFolder ? ExplorerImage::Folder : ExplorerImage::File;
        const int row = list.InsertRow(entry.name, image,
                                       entry.isFolder ? nextFolder++ : nextFile++);
        std::string time;
        std::string size;
        GetTimeAndSize(entry.location, time, size);
        list.SetItemText(row, 1, time);
        list.SetItemText(row, 2, entry.isFolder ? "Folder" : "File");
        if (!entry.isFolder)
            list.SetItemText(row, 3, size);
        list.SetItemText(row, 4, std::to_string(entry.location));
    }
}
